#include "sim/ScenarioOptions.h"

#include "model/TextFormat.h"
#include "sim/InstrumentStructures.h"
#include "sim/ScenarioFile.h"
#include "sim/StructureFields.h"

#include <functional>

namespace qpx::sim {
namespace {

// What the options build up; the structure overrides wait until the frequency index and the
// waves option are known, whatever the order they came in.
struct Builder {
    SimOptions options;
    std::vector<FieldOverride> overrides;
    Scenario& scenario() { return options.scenario; }
};

// Empty: done; otherwise what is wrong with the value.
using Apply = std::function<std::string(Builder&, std::string_view)>;

struct Option {
    std::string_view name; // without the leading "--"
    bool takesValue;
    std::string_view valueName;
    std::string_view help;
    Apply apply;
};

std::optional<int> ParseBounded(std::string_view text, long long low, long long high) {
    const std::optional<long long> value = model::ParseInteger(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::string RangeMessage(long long low, long long high) {
    return "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high);
}

// A number option that lands in an int of the scenario.
Apply Integer(long long low, long long high, std::function<int&(Builder&)> target) {
    return [=](Builder& b, std::string_view value) -> std::string {
        const std::optional<int> number = ParseBounded(value, low, high);
        if (!number) {
            return RangeMessage(low, high);
        }
        target(b) = *number;
        return {};
    };
}

// Switches are given bare on the command line; a scenario file may also say yes or no.
std::optional<bool> ParseSwitch(std::string_view value) {
    for (const std::string_view on : {"", "1", "yes", "true", "on"}) {
        if (value == on) {
            return true;
        }
    }
    for (const std::string_view off : {"0", "no", "false", "off"}) {
        if (value == off) {
            return false;
        }
    }
    return std::nullopt;
}

Apply Switch(std::function<void(Builder&, bool)> set) {
    return [set](Builder& b, std::string_view value) -> std::string {
        const std::optional<bool> on = ParseSwitch(value);
        if (!on) {
            return "expected yes or no";
        }
        set(b, *on);
        return {};
    };
}

// "COMMAND[:TIMES]". A command that itself ends in ":NN" (a time of day) needs the count
// written out, ":-1" for every time.
std::optional<FaultTrigger> ParseTrigger(std::string_view text) {
    FaultTrigger trigger;
    trigger.command = std::string(text);
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        if (const std::optional<int> times = ParseBounded(text.substr(colon + 1), -1, 1'000'000)) {
            trigger.command = std::string(text.substr(0, colon));
            trigger.times = *times;
        }
    }
    if (trigger.command.empty()) {
        return std::nullopt;
    }
    return trigger;
}

Apply Trigger(std::function<void(Builder&, FaultTrigger)> set) {
    return [set](Builder& b, std::string_view value) -> std::string {
        std::optional<FaultTrigger> trigger = ParseTrigger(value);
        if (!trigger) {
            return "expected COMMAND[:TIMES]";
        }
        set(b, std::move(*trigger));
        return {};
    };
}

struct DateTime {
    int year, month, day, hour, minute, second;
};

// "YYYY/MM/DD HH:MM:SS", each number within its calendar range.
std::optional<DateTime> ParseDateTime(std::string_view text) {
    std::vector<int> numbers;
    const std::string_view separators = "/ :";
    std::size_t expected = 0;
    while (numbers.size() < 6) {
        const std::size_t end = numbers.size() == 5 ? text.size() : text.find(separators[expected]);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<int> number = ParseBounded(text.substr(0, end), 0, 9999);
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        text.remove_prefix(end < text.size() ? end + 1 : end);
        // Two '/' between the date's numbers, one blank, then two ':'.
        expected = numbers.size() < 2 ? 0 : numbers.size() == 2 ? 1 : 2;
    }
    const DateTime t{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]};
    if (t.year < 1980 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 ||
        t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    return t;
}

std::string SetRecorderFile(Builder& b, std::string_view value) {
    const std::size_t first = value.find(',');
    const std::size_t second = first == std::string_view::npos ? first : value.find(',', first + 1);
    if (second == std::string_view::npos) {
        return "expected \"NAME,SIZE,YYYY/MM/DD HH:MM:SS\"";
    }
    const std::string_view name = value.substr(0, first);
    const std::optional<long long> size =
        model::ParseInteger(value.substr(first + 1, second - first - 1));
    const std::optional<DateTime> time = ParseDateTime(value.substr(second + 1));
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
    const std::optional<DateTime> time = ParseDateTime(value);
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

Apply Bytes(std::function<std::uint32_t&(Builder&)> target) {
    return [target](Builder& b, std::string_view value) -> std::string {
        const std::optional<long long> bytes = model::ParseInteger(value);
        if (!bytes || *bytes < 0 || *bytes > 0xFFFFFFFFLL) {
            return "expected a number of bytes below 4 GiB";
        }
        target(b) = static_cast<std::uint32_t>(*bytes);
        return {};
    };
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

FrameFault& Frame(Builder& b) {
    if (!b.scenario().frameFault) {
        b.scenario().frameFault = FrameFault{};
    }
    return *b.scenario().frameFault;
}

BlockFault& Block(Builder& b) {
    if (!b.scenario().blockFault) {
        b.scenario().blockFault = BlockFault{};
    }
    return *b.scenario().blockFault;
}

SilenceFault& Silence(Builder& b) {
    if (!b.scenario().silence) {
        b.scenario().silence = SilenceFault{};
    }
    return *b.scenario().silence;
}

// "A[SEP B]" as two numbers; B keeps `second` when not given.
std::string PairOfNumbers(std::string_view value, char separator, int low, int high, int& first,
                          int& second) {
    const std::size_t cut = value.find(separator);
    const std::optional<int> a = ParseBounded(value.substr(0, cut), low, high);
    std::optional<int> b = second;
    if (cut != std::string_view::npos) {
        b = ParseBounded(value.substr(cut + 1), 0, high);
    }
    if (!a || !b) {
        return std::string("expected a number, optionally followed by ") + separator +
               " and a number";
    }
    first = *a;
    second = *b;
    return {};
}

const std::vector<Option>& Options() {
    constexpr int kMaxMs = 3'600'000;
    static const std::vector<Option> options{
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
        {"silent", false, "", "answers nothing at all",
         Switch([](Builder& b, bool on) { b.scenario().silent = on; })},
        {"wrong-echo", true, "COMMAND[:TIMES]", "the CR of that command is echoed wrong",
         Trigger([](Builder& b, FaultTrigger t) { b.scenario().wrongEcho = EchoFault{t}; })},
        {"garbage-before", true, "COMMAND[:TIMES]", "stray bytes before that command's reply",
         Trigger([](Builder& b, FaultTrigger t) {
             b.scenario().garbageBeforeReply = GarbageFault{};
             b.scenario().garbageBeforeReply->when = std::move(t);
         })},
        {"replace-reply", true, "COMMAND[:TIMES]", "that command is answered \"ERROR\"",
         Trigger([](Builder& b, FaultTrigger t) {
             b.scenario().replacedReply = ReplyFault{};
             b.scenario().replacedReply->when = std::move(t);
         })},
        {"frame-on", true, "COMMAND[:TIMES]",
         "which \"Get ...\" lines the frame faults spoil (default: every one)",
         Trigger([](Builder& b, FaultTrigger t) { Frame(b).when = std::move(t); })},
        {"frame-checksum-delta", true, "N", "added to each frame's checksum",
         Integer(-65535, 65535, [](Builder& b) -> int& { return Frame(b).checksumDelta; })},
        {"frame-length-delta", true, "N", "added to each frame's length field",
         Integer(-65535, 65535, [](Builder& b) -> int& { return Frame(b).lengthDelta; })},
        {"frame-missing", false, "", "\"OK\", then no frame",
         Switch([](Builder& b, bool on) { Frame(b).missing = on; })},
        {"frame-drop-after", true, "N", "the line goes dead after N bytes of the next frame",
         Integer(0, 100'000, [](Builder& b) -> int& { return Frame(b).dropLineAfter; })},
        {"block-bad-checksum", true, "K[@BLOCK]",
         "the first K sends of a \"bdir\" block (default the header, 0) carry a bad checksum",
         [](Builder& b, std::string_view v) {
             BlockFault& fault = Block(b);
             return PairOfNumbers(v, '@', 0, 1'000'000, fault.badChecksumTimes,
                                  fault.badChecksumBlock);
         }},
        {"block-used-space-missing", false, "", "no used-space block after the end block",
         Switch([](Builder& b, bool on) { Block(b).usedSpaceMissing = on; })},
        {"block-extra-files", true, "N", "N dummy file blocks after the card's files",
         Integer(0, 1'000'000, [](Builder& b) -> int& { return Block(b).extraFileBlocks; })},
        {"block-drop", true, "BLOCK[:BYTES]",
         "the line goes dead after BYTES (default 2) of that block",
         [](Builder& b, std::string_view v) {
             BlockFault& fault = Block(b);
             return PairOfNumbers(v, ':', 0, 1'000'000, fault.dropLineInBlock, fault.dropLineAfter);
         }},
        {"silence-after-lines", true, "N", "silent for good after answering N command lines",
         Integer(0, 1'000'000, [](Builder& b) -> int& { return Silence(b).afterLines; })},
        {"silence-at", true, "COMMAND", "silent for good when that command line arrives",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a command";
             }
             Silence(b).atCommand = std::string(v);
             return {};
         }},
        {"exit-mid-frame", false, "",
         "the process dies after half of the next structure frame, closing the line",
         Switch([](Builder& b, bool on) { b.options.exitMidFrame = on; })},
        {"exit-at", true, "COMMAND", "the process dies when that command line arrives",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a command";
             }
             b.options.exitAt = std::string(v);
             return {};
         }},
        {"link", true, "PATH", "also make a symbolic link PATH to the device (removed on exit)",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a path";
             }
             b.options.linkPath = std::string(v);
             return {};
         }},
        {"transcript", true, "FILE", "write every command line received to FILE",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a path";
             }
             b.options.transcriptPath = std::string(v);
             return {};
         }},
    };
    return options;
}

const Option* FindOption(std::string_view name) {
    for (const Option& option : Options()) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

std::string ApplyOption(Builder& b, const Option& option, std::string_view value) {
    const std::string problem = option.apply(b, value);
    if (problem.empty()) {
        return problem;
    }
    return "--" + std::string(option.name) + " " + std::string(value) + ": " + problem;
}

std::string ApplyEntries(Builder& b, const std::vector<ScenarioEntry>& entries,
                         std::string_view source) {
    for (const ScenarioEntry& entry : entries) {
        const Option* option = FindOption(entry.key);
        const std::string where =
            std::string(source) + "line " + std::to_string(entry.lineNumber) + ": ";
        if (option == nullptr) {
            return where + "unknown setting " + entry.key;
        }
        if (option->takesValue && entry.value.empty() && option->name != "waves-reply") {
            return where + entry.key + " needs a value";
        }
        const std::string problem = option->apply(b, entry.value);
        if (!problem.empty()) {
            return where + entry.key + ": " + problem;
        }
    }
    return {};
}

// The overrides go onto the structures the scenario would start from.
std::string ApplyOverrides(Builder& b) {
    if (b.overrides.empty()) {
        return {};
    }
    Scenario& s = b.scenario();
    InstrumentStructures structures = MakeInstrumentStructures(s);
    bool conf = false;
    bool user = false;
    bool oper = false;
    for (const FieldOverride& change : b.overrides) {
        const std::string problem = ApplyFieldOverride(structures, change);
        if (!problem.empty()) {
            return problem;
        }
        conf = conf || change.structure == StructureKind::SystemConfiguration;
        user = user || change.structure == StructureKind::UserSetup;
        oper = oper || change.structure == StructureKind::OperationConfiguration;
    }
    if (conf) {
        s.systemConfiguration = structures.systemConfiguration;
    }
    if (user) {
        s.userSetup = structures.userSetup;
    }
    if (oper) {
        s.operationConfiguration = structures.operationConfiguration;
    }
    return {};
}

SimOptionsResult Finish(Builder& b, std::string problem) {
    if (problem.empty()) {
        problem = ApplyOverrides(b);
    }
    SimOptionsResult result;
    result.ok = problem.empty();
    result.message = std::move(problem);
    result.options = std::move(b.options);
    return result;
}

} // namespace

SimOptionsResult ParseSimOptions(const std::vector<std::string>& arguments) {
    Builder b;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.substr(0, 2) != "--" || argument.size() == 2) {
            return Finish(b, "unexpected argument " + std::string(argument));
        }
        std::string_view name = argument.substr(2);
        std::optional<std::string_view> inlineValue;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "help") {
            b.options.help = true;
            continue;
        }
        if (name == "exec") {
            if (inlineValue || i + 1 >= arguments.size()) {
                return Finish(b, "--exec needs a command after it");
            }
            b.options.exec.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                  arguments.end());
            break;
        }
        const Option* option = FindOption(name);
        const bool isScenario = name == "scenario";
        if (option == nullptr && !isScenario) {
            return Finish(b, "unknown option --" + std::string(name));
        }
        std::string value;
        if (isScenario || option->takesValue) {
            if (inlineValue) {
                value = std::string(*inlineValue);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return Finish(b, "--" + std::string(name) + " needs a value");
            }
        } else if (inlineValue) {
            value = std::string(*inlineValue);
        }
        std::string problem;
        if (isScenario) {
            const ScenarioFileResult file = ReadScenarioFile(value);
            problem = file.ok ? ApplyEntries(b, file.entries, value + ", ") : file.message;
        } else {
            problem = ApplyOption(b, *option, value);
        }
        if (!problem.empty()) {
            return Finish(b, problem);
        }
    }
    return Finish(b, {});
}

SimOptionsResult ParseScenarioSettings(std::string_view fileText) {
    Builder b;
    const ScenarioFileResult file = ParseScenarioText(fileText);
    if (!file.ok) {
        return Finish(b, file.message);
    }
    return Finish(b, ApplyEntries(b, file.entries, ""));
}

std::string SimUsage() {
    std::string text =
        "Usage: qpx-sim [options] [--exec COMMAND [ARGS...]]\n"
        "\n"
        "Plays a QPX instrument on a pseudo-terminal in real time. The device path is printed\n"
        "alone on the first line of standard output; status goes to standard error. The\n"
        "host's own baud setting does not matter on a pseudo-terminal.\n"
        "\n"
        "  --help                 this text\n"
        "  --scenario FILE        settings from FILE (\"key = value\" lines, '#' comments, the\n"
        "                         keys are the options below without \"--\"); options after\n"
        "                         it override it\n"
        "  --exec COMMAND ARGS... (last) run COMMAND with DEPLOYQPX_PORTS set to the device,\n"
        "                         so COM1 is the simulator; ends when it ends, with its exit\n"
        "                         code (128 + signal when it was killed)\n";
    for (const Option& option : Options()) {
        std::string left = "  --" + std::string(option.name);
        if (option.takesValue) {
            left += " " + std::string(option.valueName);
        }
        if (left.size() < 25) {
            left.resize(25, ' ');
        } else {
            left += "\n" + std::string(25, ' ');
        }
        text += left + std::string(option.help) + "\n";
    }
    text += "\n"
            "A pseudo-terminal cannot carry a break: the host's break never reaches the\n"
            "instrument, so a sleeping instrument here wakes on the wake-up string only (as\n"
            "with --plus-only).\n"
            "\n"
            "Transcript: one line per complete command line received, as the instrument reads\n"
            "it (without CR or LF), answers to its questions included; a wake-up by the\n"
            "'+' string is written as \"++++++++++\". Breaks are never written (see above).\n"
            "\n"
            "--exit-mid-frame and --exit-at close the device as a killed simulator or a pulled\n"
            "cable would. Without --exec the process then exits with code 1; with --exec it\n"
            "waits for the program and exits with that program's code.\n"
            "\n"
            "Field names for --user:";
    const auto names = [&text](StructureKind kind) {
        for (const std::string_view name : FieldNames(kind)) {
            text += " " + std::string(name);
        }
        text += "\n";
    };
    names(StructureKind::UserSetup);
    text += "for --conf:";
    names(StructureKind::SystemConfiguration);
    text += "for --oper:";
    names(StructureKind::OperationConfiguration);
    text += "\nExit codes: 0 after SIGINT or SIGTERM, 2 for wrong usage, 1 for other failures.\n";
    return text;
}

} // namespace qpx::sim
