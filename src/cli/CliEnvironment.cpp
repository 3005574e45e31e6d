#include "cli/CliEnvironment.h"

#include "model/TextFormat.h"

namespace qpx::cli {

std::string PortTarget::name() const {
    return index >= 0 ? model::FormatText("COM%d", index + 1) : device;
}

} // namespace qpx::cli
