#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim {

// One setting of a scenario file: "key = value", or a bare "key" for a switch (value empty).
struct ScenarioEntry {
    std::string key;
    std::string value;
    int lineNumber = 0;
};

struct ScenarioFileResult {
    bool ok = false;
    std::string message; // why the file was refused, with its line number
    std::vector<ScenarioEntry> entries;
};

// Reads the text of a scenario file: one setting per line, '#' starts a comment, blanks around
// keys and values are dropped. A value may be put in double quotes to keep a '#' or edge blanks.
ScenarioFileResult ParseScenarioText(std::string_view text);

ScenarioFileResult ReadScenarioFile(const std::string& path);

} // namespace qpx::sim
