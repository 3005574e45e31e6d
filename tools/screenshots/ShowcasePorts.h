#pragma once

#include "link/PortOpener.h"
#include "link/VirtualClock.h"
#include "sim/Scenario.h"
#include "support/SimulatedPortOpener.h"

#include <string>

namespace qpx::screenshots {

// The ports of a typical field laptop: COM1 a built-in port with nothing on it, COM2 the USB
// adapter with the instrument, COM4 a port another program holds. The device names are those a
// user would see on Linux rather than the simulator's own.
class ShowcasePorts final : public link::PortOpener {
public:
    static constexpr int kInstrumentPort = 1;
    static constexpr int kBusyPort = 3;

    ShowcasePorts(link::VirtualClock& clock, const sim::Scenario& instrument);

    link::OpenResult open(int index, int baud, char parity, int dataBits, int stopBits) override;
    std::string deviceName(int index) override;

    test::SimulatedPortOpener& simulator() { return simulator_; }

private:
    test::SimulatedPortOpener simulator_;
};

} // namespace qpx::screenshots
