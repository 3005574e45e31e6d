#pragma once

#include "cli/CliEnvironment.h"

namespace qpx::cli {

// The ports of a qpxctl built without the serial backend (no Qt, as in the Windows cross build):
// the port arguments are read as usual, but none can be opened, so the commands that plan
// (`plan`) run and the commands that need an instrument stop with a link failure that says why.
class NoSerialPortAccess final : public PortAccess, private link::PortOpener {
public:
    link::PortOpener& opener() override { return *this; }
    PortTarget resolve(std::string_view argument) override;
    link::OpenResult open(const PortTarget& target, int baud) override;

private:
    link::OpenResult open(int index, int baud, char parity, int dataBits, int stopBits) override;
    std::string deviceName(int index) override;
};

// "This qpxctl has no serial ports: ..." as the refused open says it.
extern const char* const kNoSerialPortsMessage;

} // namespace qpx::cli
