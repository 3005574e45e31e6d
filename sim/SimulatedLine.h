#pragma once

#include "link/Link.h"
#include "link/MessageSink.h"
#include "link/Port.h"
#include "link/VirtualClock.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"
#include "sim/SimulatedPortDevice.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace qpx::sim {

// A simulated instrument on the end of a cable, in one object: the virtual clock, the
// instrument, and an open link::Port over it. What tests and the demo start from.
class SimulatedLine {
public:
    explicit SimulatedLine(Scenario scenario = QpxScenario());
    SimulatedLine(const SimulatedLine&) = delete;
    SimulatedLine& operator=(const SimulatedLine&) = delete;

    link::VirtualClock& clock() { return clock_; }
    Instrument& instrument() { return instrument_; }
    link::Port& port() { return *port_; }
    const LineRecord& record() const { return record_; }

    // A fresh port on the same instrument, as after closing the old one and opening it again.
    link::Port& reopen();

    // The exchange context for the link functions over this line.
    link::Link link(link::MessageSink& messages,
                    std::optional<std::filesystem::path> logDirectory = std::nullopt);

private:
    link::VirtualClock clock_;
    Instrument instrument_;
    LineRecord record_;
    std::unique_ptr<link::Port> port_;
};

} // namespace qpx::sim
