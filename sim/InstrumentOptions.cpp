#include "model/TextFormat.h"
#include "sim/OptionValues.h"
#include "sim/ScenarioDateTime.h"

#include <utility>

namespace qpx::sim::options {
namespace {

std::string SetRecorderFile(Builder& b, std::string_view value) {
    const std::size_t first = value.find(',');
    const std::size_t second = first == std::string_view::npos ? first : value.find(',', first + 1);
    if (second == std::string_view::npos) {
        return "expected \"NAME,SIZE,YYYY/MM/DD HH:MM:SS\"";
    }
    const std::string_view name = value.substr(0, first);
    const std::optional<long long> size =
        model::ParseInteger(value.substr(first + 1, second - first - 1));
    const std::optional<ScenarioDateTime> time = ParseScenarioDateTime(value.substr(second + 1));
    if (name.empty() || name.size() > 12) {
        return "the file name must have 1 to 12 characters";
    }
    if (!size || *size < 0 || *size > 0xFFFFFFFFLL) {
        return "the size must be a whole number of bytes below 4 GiB";
    }
    if (!time) {
        return "the date must be \"YYYY/MM/DD HH:MM:SS\" from 1980 on";
    }
    RecorderFile file;
    file.name = std::string(name);
    file.size = static_cast<std::uint32_t>(*size);
    file.year = time->year;
    file.month = time->month;
    file.day = time->day;
    file.hour = time->hour;
    file.minute = time->minute;
    file.second = time->second;
    b.scenario().recorderFiles.push_back(std::move(file));
    return {};
}

std::string SetClock(Builder& b, std::string_view value) {
    const std::optional<ScenarioDateTime> time = ParseScenarioDateTime(value);
    if (!time) {
        return "expected \"YYYY/MM/DD HH:MM:SS\" from 1980 on";
    }
    Scenario& s = b.scenario();
    s.clockYear = time->year;
    s.clockMonth = time->month;
    s.clockDay = time->day;
    s.clockHour = time->hour;
    s.clockMinute = time->minute;
    s.clockSecond = time->second;
    return {};
}

std::string SetSystem(Builder& b, std::string_view value) {
    static const std::vector<std::pair<std::string_view, SystemKind>> kinds{
        {"qpx", SystemKind::Qpx},
        {"merovane", SystemKind::Merovane},
        {"mrv", SystemKind::Merovane},
        {"clv", SystemKind::Clv},
        {"clv-wqs", SystemKind::ClvReportingWqs},
        {"rill", SystemKind::Rill},
        {"zeb", SystemKind::Zeb},
        {"wqs", SystemKind::Wqs}};
    for (const auto& [name, kind] : kinds) {
        if (name == value) {
            // Only the identity: the other settings stay as the options before made them.
            const Scenario identity = SystemScenario(kind);
            b.scenario().versionText = identity.versionText;
            b.scenario().systemTypeText = identity.systemTypeText;
            return {};
        }
    }
    return "expected qpx, merovane, clv, clv-wqs, rill, zeb or wqs";
}

Apply Override(StructureKind structure) {
    return [structure](Builder& b, std::string_view value) -> std::string {
        const std::size_t equals = value.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            return "expected FIELD=VALUE";
        }
        b.overrides.push_back({structure, std::string(value.substr(0, equals)),
                               std::string(value.substr(equals + 1))});
        return {};
    };
}

} // namespace

std::vector<Option> InstrumentOptions() {
    constexpr int kMaxMs = 3'600'000;
    return {
        {"baud", true, "B", "line rate the output is paced at (default 9600)",
         Integer(50, 4'000'000, [](Builder& b) -> int& { return b.scenario().baudRate; })},
        {"system", true, "KIND", "qpx, merovane, clv, clv-wqs, rill, zeb or wqs", SetSystem},
        {"version-text", true, "TEXT", "the reply to \"Ver\"",
         [](Builder& b, std::string_view v) -> std::string {
             b.scenario().versionText = std::string(v);
             return {};
         }},
        {"frequency-index", true, "N", "systemFrequency 0..7 of the default structures",
         Integer(0, 7, [](Builder& b) -> int& { return b.scenario().frequencyIndex; })},
        {"waves", true, "0|1|2", "waves option: none, non-directional, directional",
         Integer(0, 2, [](Builder& b) -> int& { return b.scenario().wavesOption; })},
        {"waves-reply", true, "TEXT", "the reply line of \"enablewaves\" (empty: none)",
         [](Builder& b, std::string_view v) -> std::string {
             b.scenario().wavesReply = std::string(v);
             return {};
         }},
        {"sleeping", false, "", "asleep at start: wakes on the \"++++++++++\" wake-up string",
         Switch([](Builder& b, bool on) { b.scenario().sleeping = on; })},
        {"plus-only", false, "", "asleep at start and deaf to a break",
         Switch([](Builder& b, bool on) {
             b.scenario().sleeping = on;
             b.scenario().wakesOnBreak = !on;
         })},
        {"user", true, "FIELD=VALUE", "sets a UserSetup field (e.g. numberOfCells=30)",
         Override(StructureKind::UserSetup)},
        {"conf", true, "FIELD=VALUE", "sets a SystemConfiguration field",
         Override(StructureKind::SystemConfiguration)},
        {"oper", true, "FIELD=VALUE", "sets an OperationConfiguration field",
         Override(StructureKind::OperationConfiguration)},
        {"recorder-file", true, "\"NAME,SIZE,YYYY/MM/DD HH:MM:SS\"",
         "a file on the memory card (repeatable)", SetRecorderFile},
        {"recorder-capacity", true, "BYTES", "memory card size",
         Bytes([](Builder& b) -> std::uint32_t& { return b.scenario().recorderCapacity; })},
        {"recorder-used", true, "BYTES", "used space on the card",
         Bytes([](Builder& b) -> std::uint32_t& { return b.scenario().recorderUsed; })},
        {"clock", true, "\"YYYY/MM/DD HH:MM:SS\"", "the instrument's clock at start", SetClock},
        {"format-asks-twice", false, "", "\"format\" asks its question a second time",
         Switch([](Builder& b, bool on) { b.scenario().format.asksTwice = on; })},
        {"format-aborted", false, "", "\"format\" ends with \"aborted\"",
         Switch([](Builder& b, bool on) { b.scenario().format.aborted = on; })},
        {"format-ms", true, "N", "how long formatting takes (default 3000)",
         Integer(0, kMaxMs, [](Builder& b) -> int& { return b.scenario().format.durationMs; })},
        {"deploy-interval-ms", true, "N",
         "time between output lines after \"deploy\" (0: the profiling interval)",
         Integer(0, kMaxMs,
                 [](Builder& b) -> int& { return b.scenario().deploy.outputIntervalMs; })},
        {"reply-delay-ms", true, "N", "quiet time before each reply",
         Integer(0, kMaxMs, [](Builder& b) -> int& { return b.scenario().pacing.replyDelayMs; })},
        {"frame-lead-in", true, "N", "0xE8 bytes in front of each frame's length",
         Integer(0, 16, [](Builder& b) -> int& { return b.scenario().frameLeadIn; })},
    };
}

} // namespace qpx::sim::options
