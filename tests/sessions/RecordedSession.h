#pragma once

#include "sim/Scenario.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qpx::test {

// One folder of tests/data/sessions: the instrument, what qpxctl was asked, and what came of it
// when qpx-sim served it over a real pseudo-terminal.
struct RecordedSession {
    sim::Scenario scenario;           // from "scenario", read as qpx-sim --scenario reads it
    std::vector<std::string> command; // "command": the qpxctl arguments, one per line
    std::string transcript;           // the command lines qpx-sim received
    std::string out;                  // qpxctl's standard output
    std::string err;                  // and its standard error
    int exitCode = -1;
};

struct RecordedSessionResult {
    bool ok = false;
    std::string message; // which file is missing or wrong
    RecordedSession session;
};

RecordedSessionResult LoadRecordedSession(const std::filesystem::path& folder);

// The session folders under `root` (those that hold a "command" file), sorted by name.
std::vector<std::string> SessionNames(const std::filesystem::path& root);

} // namespace qpx::test
