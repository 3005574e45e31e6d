#include "sim/SimulatedLine.h"

namespace qpx::sim {

SimulatedLine::SimulatedLine(Scenario scenario) : instrument_(std::move(scenario)) {
    reopen();
}

link::Port& SimulatedLine::reopen() {
    port_.reset();
    port_ = std::make_unique<link::Port>(
        std::make_unique<SimulatedPortDevice>(instrument_, clock_, &record_), clock_);
    return *port_;
}

link::Link SimulatedLine::link(link::MessageSink& messages,
                               std::optional<std::filesystem::path> logDirectory) {
    return link::Link{*port_, messages, std::move(logDirectory)};
}

} // namespace qpx::sim
