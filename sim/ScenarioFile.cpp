#include "sim/ScenarioFile.h"

#include <fstream>
#include <sstream>

namespace qpx::sim {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Cuts the line at a '#' that is not inside double quotes.
std::string_view WithoutComment(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == '#' && !quoted) {
            return line.substr(0, i);
        }
    }
    return line;
}

std::string LineMessage(int lineNumber, std::string_view what) {
    return "line " + std::to_string(lineNumber) + ": " + std::string(what);
}

} // namespace

ScenarioFileResult ParseScenarioText(std::string_view text) {
    ScenarioFileResult result;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end < text.size() ? end + 1 : end);
        ++lineNumber;

        const std::string_view line = Trimmed(WithoutComment(raw));
        if (line.empty()) {
            continue;
        }
        const std::size_t equals = line.find('=');
        ScenarioEntry entry;
        entry.lineNumber = lineNumber;
        entry.key = std::string(Trimmed(line.substr(0, std::min(equals, line.size()))));
        if (equals != std::string_view::npos) {
            std::string_view value = Trimmed(line.substr(equals + 1));
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                value = value.substr(1, value.size() - 2);
            }
            entry.value = std::string(value);
        }
        if (entry.key.empty() || entry.key.find_first_of(" \t\"") != std::string::npos) {
            result.message = LineMessage(lineNumber, "expected \"key = value\"");
            return result;
        }
        result.entries.push_back(std::move(entry));
    }
    result.ok = true;
    return result;
}

ScenarioFileResult ReadScenarioFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ScenarioFileResult result;
        result.message = "cannot read the scenario file " + path;
        return result;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    ScenarioFileResult result = ParseScenarioText(contents.str());
    if (!result.ok) {
        result.message = path + ", " + result.message;
    }
    return result;
}

} // namespace qpx::sim
