#include "cli/SerialPortAccess.h"

#include "serial/PortArgument.h"

namespace qpx::cli {

PortTarget SerialPortAccess::resolve(std::string_view argument) {
    const serial::PortArgument parsed = serial::ParsePortArgument(argument, opener_.ports());
    PortTarget target;
    target.index = parsed.index;
    target.device = parsed.device;
    target.error = parsed.error;
    return target;
}

link::OpenResult SerialPortAccess::open(const PortTarget& target, int baud) {
    if (target.index >= 0) {
        return opener_.open(target.index, baud, 'N', 8, 1);
    }
    return opener_.openDevice(target.device, baud, 'N', 8, 1);
}

} // namespace qpx::cli
