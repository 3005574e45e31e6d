#include "cli/NoSerialPortAccess.h"

#include "serial/PortArgument.h"

namespace qpx::cli {

const char* const kNoSerialPortsMessage =
    "This qpxctl was built without the serial backend: it plans, but cannot open a port.";

PortTarget NoSerialPortAccess::resolve(std::string_view argument) {
    const serial::PortArgument parsed =
        serial::ParsePortArgument(argument, serial::PortList::WindowsNames());
    PortTarget target;
    target.index = parsed.index;
    target.device = parsed.device;
    target.error = parsed.error;
    return target;
}

link::OpenResult NoSerialPortAccess::open(const PortTarget&, int) {
    return {nullptr, link::kPortFailure, kNoSerialPortsMessage};
}

link::OpenResult NoSerialPortAccess::open(int, int, char, int, int) {
    return {nullptr, link::kPortFailure, kNoSerialPortsMessage};
}

std::string NoSerialPortAccess::deviceName(int) {
    return {};
}

} // namespace qpx::cli
