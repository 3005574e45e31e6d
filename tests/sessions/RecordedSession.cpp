#include "RecordedSession.h"

#include "model/TextFormat.h"
#include "sim/ScenarioOptions.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

namespace qpx::test {
namespace {

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// One argument per line; the last line end is not an empty argument after it.
std::vector<std::string> ArgumentLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

RecordedSessionResult Refused(std::string message) {
    RecordedSessionResult result;
    result.message = std::move(message);
    return result;
}

} // namespace

RecordedSessionResult LoadRecordedSession(const std::filesystem::path& folder) {
    const std::filesystem::path scenarioPath = folder / "scenario";
    sim::SimOptionsResult parsed = sim::ParseSimOptions({"--scenario", scenarioPath.string()});
    if (!parsed.ok) {
        return Refused(scenarioPath.string() + ": " + parsed.message);
    }
    const sim::SimOptions& options = parsed.options;
    // The replay plays the instrument, not the process around it: a line fault that kills the
    // device or a second transcript would make a recording the replay cannot repeat.
    if (options.exitMidFrame || options.exitAt || options.linkPath || options.transcriptPath ||
        !options.exec.empty()) {
        return Refused(scenarioPath.string() +
                       ": only instrument settings belong in a session's scenario");
    }

    RecordedSessionResult result;
    RecordedSession& session = result.session;
    session.scenario = options.scenario;
    const std::optional<std::string> command = ReadWhole(folder / "command");
    const std::optional<std::string> transcript = ReadWhole(folder / "transcript");
    const std::optional<std::string> out = ReadWhole(folder / "stdout");
    const std::optional<std::string> err = ReadWhole(folder / "stderr");
    const std::optional<std::string> exit = ReadWhole(folder / "exit");
    if (!command || !transcript || !out || !err || !exit) {
        return Refused(folder.string() +
                       ": a session needs scenario, command, transcript, stdout, stderr and exit");
    }
    session.command = ArgumentLines(*command);
    session.transcript = *transcript;
    session.out = *out;
    session.err = *err;
    std::string_view code = *exit;
    while (!code.empty() && (code.back() == '\n' || code.back() == ' ')) {
        code.remove_suffix(1);
    }
    const std::optional<long long> number = model::ParseInteger(code);
    if (!number || *number < 0 || *number > 255) {
        return Refused((folder / "exit").string() + ": expected the exit code, 0 to 255");
    }
    session.exitCode = static_cast<int>(*number);
    result.ok = true;
    return result;
}

std::vector<std::string> SessionNames(const std::filesystem::path& root) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root, error)) {
        if (entry.is_directory() && std::filesystem::exists(entry.path() / "command")) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace qpx::test
