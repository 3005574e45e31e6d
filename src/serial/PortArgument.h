#pragma once

#include "serial/PortList.h"

#include <string>
#include <string_view>

namespace qpx::serial {

// A --port argument resolved to the device to open.
struct PortArgument {
    std::string device; // the path or name to open; empty on error
    int index = -1;     // 0 ... 7 when given as COM1 ... COM8, else -1
    std::string error;  // why the argument cannot be used; empty when it can

    bool ok() const { return error.empty(); }
};

// Takes "COM1" ... "COM8" (any letter case), looked up in `ports`, or a device path, taken as it
// is (opening it tells whether it is a serial device).
PortArgument ParsePortArgument(std::string_view text, const PortList& ports);

} // namespace qpx::serial
