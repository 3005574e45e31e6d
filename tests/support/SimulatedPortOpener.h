#pragma once

#include "link/PortOpener.h"
#include "link/VirtualClock.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"
#include "sim/SimulatedPortDevice.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace qpx::test {

// A port opener over simulated instruments on one virtual clock. Port numbers in `instruments`
// open onto a fresh instrument built from their scenario (at the baud rate asked for); those in
// `busy` report kPortUnavailable, all others kPortFailure.
class SimulatedPortOpener : public link::PortOpener {
public:
    explicit SimulatedPortOpener(link::VirtualClock& clock) : clock_(clock) {}

    link::OpenResult open(int index, int baud, char parity, int dataBits, int stopBits) override;
    std::string deviceName(int index) override;

    struct Request {
        int index = -1;
        int baud = 0;
        char parity = '?';
        int dataBits = 0;
        int stopBits = 0;
    };

    std::map<int, sim::Scenario> instruments;
    // When set, every device handed out goes through it first (a test puts its own line around
    // the simulator's).
    std::function<std::unique_ptr<link::PortDevice>(std::unique_ptr<link::PortDevice>)> wrapDevice;
    std::set<int> busy;
    std::vector<Request> requests; // every open() call, in order
    // One per port handed out; they outlive the ports.
    std::deque<sim::LineRecord> lines;
    // The instrument behind the last port handed out.
    sim::Instrument& lastInstrument() { return *built_.back(); }

private:
    link::VirtualClock& clock_;
    std::deque<std::unique_ptr<sim::Instrument>> built_;
};

} // namespace qpx::test
