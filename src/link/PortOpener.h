#pragma once

#include "link/Port.h"

#include <memory>
#include <string>

namespace qpx::link {

// What a port opener hands back: the open port (status >= 0), or no port and kPortUnavailable
// (the device exists but cannot be opened now) or another negative status. `message` says why
// in words a user can act on; it is empty on success.
struct OpenResult {
    std::unique_ptr<Port> port;
    int status = kPortFailure;
    std::string message;
};

// Opens the port behind a port number (0 = COM1 ... 7 = COM8). The platform backend implements
// it; the core's connection code and the port scan only ever see this.
class PortOpener {
public:
    virtual ~PortOpener() = default;

    virtual OpenResult open(int index, int baud, char parity, int dataBits, int stopBits) = 0;
    // The device behind a port number, shown beside it; empty when there is none.
    virtual std::string deviceName(int index) = 0;
};

} // namespace qpx::link
