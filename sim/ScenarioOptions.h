#pragma once

#include "sim/Scenario.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim {

// Everything qpx-sim is told on its command line: the instrument it plays and how it serves it.
struct SimOptions {
    Scenario scenario;
    std::optional<std::string> linkPath;       // a symbolic link to the device
    std::optional<std::string> transcriptPath; // every command line received
    bool exitMidFrame = false;                 // dies half way through the next structure frame
    std::optional<std::string> exitAt;         // dies when this command line arrives
    std::vector<std::string> exec;             // program to run against the device, and its args
    bool help = false;
};

struct SimOptionsResult {
    bool ok = false;
    std::string message; // what was wrong, for a usage error
    SimOptions options;
};

// Reads the arguments (without the program name) in order. "--scenario FILE" applies the file's
// settings where it stands, so later options override it; "--exec" takes the rest.
SimOptionsResult ParseSimOptions(const std::vector<std::string>& arguments);

// The same settings as a scenario file's entries give them ("baud = 2400"), for tests and for
// ParseSimOptions.
SimOptionsResult ParseScenarioSettings(std::string_view fileText);

// The text of --help.
std::string SimUsage();

} // namespace qpx::sim
