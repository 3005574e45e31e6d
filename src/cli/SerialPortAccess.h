#pragma once

#include "cli/CliEnvironment.h"
#include "serial/SerialPortOpener.h"

namespace qpx::cli {

// The real serial ports: COM1 to COM8 as the port list maps them (DEPLOYQPX_PORTS included),
// any other argument as a device path.
class SerialPortAccess : public PortAccess {
public:
    SerialPortAccess(link::Clock& clock, serial::PortList ports)
        : opener_(clock, std::move(ports)) {}

    link::PortOpener& opener() override { return opener_; }
    PortTarget resolve(std::string_view argument) override;
    link::OpenResult open(const PortTarget& target, int baud) override;

private:
    serial::SerialPortOpener opener_;
};

} // namespace qpx::cli
