#pragma once

#include "sim/Scenario.h"

#include <string>
#include <vector>

namespace qpx::test {

// What one qpxctl run against the simulated instrument came to.
struct SessionRun {
    std::string transcript; // the command lines the instrument received, one per line
    std::string out;
    std::string err;
    int exitCode = -1;
};

// Runs qpxctl in-process with `args` on virtual time against one instrument played from
// `scenario` as qpx-sim plays it on a pseudo-terminal: COM1 is the instrument, the same one for
// every time the port is opened, and a break does not reach it. "LogFile" goes to a temporary
// folder that is removed afterwards.
SessionRun ReplaySession(const sim::Scenario& scenario, const std::vector<std::string>& args);

} // namespace qpx::test
