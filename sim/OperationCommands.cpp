#include "sim/OperationCommands.h"

#include "link/CalendarMath.h"
#include "model/TextFormat.h"
#include "sim/Instrument.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qpx::sim {
namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kError = "ERROR";
constexpr std::size_t kCommentLength = 59;
constexpr std::size_t kNameLength = 8;

model::UserSetup& User(CommandContext& context) {
    return context.instrument.structures().userSetup;
}

void Answer(CommandContext& context, bool accepted) {
    context.reply.line(accepted ? kOk : kError);
}

std::optional<long long> WholeIn(std::string_view text, long long low, long long high) {
    const std::optional<long long> value = model::ParseInteger(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return value;
}

// A decimal value in hundredths (or tenths) of its unit, rounded as the instrument's parser
// does, within [low, high] in that scaled unit.
std::optional<long long> ScaledIn(std::string_view text, double scale, long long low,
                                  long long high) {
    const std::optional<double> value = model::ParseDouble(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    const double scaled = std::round(*value * scale);
    if (scaled < static_cast<double>(low) || scaled > static_cast<double>(high)) {
        return std::nullopt;
    }
    return static_cast<long long>(scaled);
}

// The keyword's index in `words`, ignoring letter case.
std::optional<int> KeywordIn(std::string_view text, std::initializer_list<std::string_view> words) {
    int index = 0;
    for (const std::string_view word : words) {
        if (EqualsIgnoringCase(text, word)) {
            return index;
        }
        ++index;
    }
    return std::nullopt;
}

template <typename Field>
CommandHandler WholeSetting(Field model::UserSetup::*field, long long low, long long high) {
    return [field, low, high](CommandContext& context) {
        const std::optional<long long> value = WholeIn(context.arguments, low, high);
        if (value) {
            User(context).*field = static_cast<Field>(*value);
        }
        Answer(context, value.has_value());
    };
}

template <typename Field>
CommandHandler ScaledSetting(Field model::UserSetup::*field, double scale, long long low,
                             long long high) {
    return [field, scale, low, high](CommandContext& context) {
        const std::optional<long long> value = ScaledIn(context.arguments, scale, low, high);
        if (value) {
            User(context).*field = static_cast<Field>(*value);
        }
        Answer(context, value.has_value());
    };
}

template <typename Field>
CommandHandler KeywordSetting(Field model::UserSetup::*field,
                              std::initializer_list<std::string_view> words) {
    std::vector<std::string> kept(words.begin(), words.end());
    return [field, kept](CommandContext& context) {
        std::optional<int> index;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (EqualsIgnoringCase(context.arguments, kept[i])) {
                index = static_cast<int>(i);
            }
        }
        if (index) {
            User(context).*field = static_cast<Field>(*index);
        }
        Answer(context, index.has_value());
    };
}

CommandHandler PulseSetting(std::uint32_t model::OperationConfiguration::*field) {
    // Sent to the instrument as 16 bits of centimetres.
    return [field](CommandContext& context) {
        const std::optional<long long> value = ScaledIn(context.arguments, 100.0, 0, 65535);
        if (value) {
            context.instrument.structures().operationConfiguration.*field =
                static_cast<std::uint32_t>(*value);
        }
        Answer(context, value.has_value());
    };
}

template <std::size_t N>
void StoreText(std::array<char, N>& field, std::string_view text, std::size_t limit) {
    field.fill('\0');
    const std::size_t count = std::min({text.size(), limit, N - 1});
    std::copy_n(text.begin(), count, field.begin());
}

void DeploymentName(CommandContext& context) {
    const std::string_view name = context.arguments;
    const bool accepted = !name.empty() && name.size() <= kNameLength;
    if (accepted) {
        StoreText(User(context).deploymentName, name, kNameLength);
    }
    Answer(context, accepted);
}

// "a<sep>b<sep>c" with three whole numbers.
std::optional<std::array<int, 3>> ThreeNumbers(std::string_view text, char separator) {
    std::array<int, 3> out{};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? text.find(separator) : text.size();
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<long long> value = WholeIn(text.substr(0, end), 0, 9999);
        if (!value) {
            return std::nullopt;
        }
        out[i] = static_cast<int>(*value);
        text.remove_prefix(i < 2 ? end + 1 : end);
    }
    return out;
}

bool ValidDate(int year, int month, int day) {
    if (year < 1980 || year > 2099 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    const int nextYear = month == 12 ? year + 1 : year;
    const int nextMonth = month == 12 ? 1 : month + 1;
    const std::int64_t length =
        link::DaysFromCivil(nextYear, nextMonth, 1) - link::DaysFromCivil(year, month, 1);
    return day <= length;
}

std::optional<std::array<int, 3>> ParseDate(std::string_view text) {
    const auto date = ThreeNumbers(text, '/');
    if (!date || !ValidDate((*date)[0], (*date)[1], (*date)[2])) {
        return std::nullopt;
    }
    return date;
}

std::optional<std::array<int, 3>> ParseTime(std::string_view text) {
    const auto time = ThreeNumbers(text, ':');
    if (!time || (*time)[0] > 23 || (*time)[1] > 59 || (*time)[2] > 59) {
        return std::nullopt;
    }
    return time;
}

void StartDate(CommandContext& context) {
    const auto date = ParseDate(context.arguments);
    if (date) {
        model::UserSetup::StartDate& start = User(context).startDate;
        start.year = static_cast<std::int16_t>((*date)[0]);
        start.month = static_cast<std::uint8_t>((*date)[1]);
        start.day = static_cast<std::uint8_t>((*date)[2]);
    }
    Answer(context, date.has_value());
}

void StartTime(CommandContext& context) {
    const auto time = ParseTime(context.arguments);
    if (time) {
        model::UserSetup::StartTime& start = User(context).startTime;
        start.hour = static_cast<std::uint8_t>((*time)[0]);
        start.minute = static_cast<std::uint8_t>((*time)[1]);
        start.second = static_cast<std::uint8_t>((*time)[2]);
        start.hundredths = 0;
    }
    Answer(context, time.has_value());
}

// Bits 2-3 of waveOptions: the rate index of 1, 2 or 4 Hz.
void WaveRate(CommandContext& context) {
    const std::optional<long long> rate = model::ParseInteger(context.arguments);
    int index = -1;
    if (rate && (*rate == 1 || *rate == 2 || *rate == 4)) {
        index = *rate == 1 ? 0 : (*rate == 2 ? 1 : 2);
        std::uint8_t& options = User(context).waveOptions;
        options =
            static_cast<std::uint8_t>((options & ~0x0Cu) | (static_cast<unsigned>(index) << 2));
    }
    Answer(context, index >= 0);
}

// Bits 4-5 of waveOptions: the wave type less one.
void WaveType(CommandContext& context) {
    const std::optional<int> type = KeywordIn(context.arguments, {"P_SERIES", "PUV_SERIES"});
    if (type) {
        std::uint8_t& options = User(context).waveOptions;
        options =
            static_cast<std::uint8_t>((options & ~0x30u) | (static_cast<unsigned>(*type) << 4));
    }
    Answer(context, type.has_value());
}

void OutputFormat(CommandContext& context) {
    Answer(context, KeywordIn(context.arguments, {"ascii", "binary"}).has_value());
}

void AutoSleep(CommandContext& context) {
    Answer(context, KeywordIn(context.arguments, {"on", "off"}).has_value());
}

void SaveSetup(CommandContext& context) {
    context.instrument.savedStructures() = context.instrument.structures();
    Answer(context, true);
}

// Three lines, each echoed; "OK" and the prompt after the third.
class CommentDialogue final : public Dialogue {
public:
    bool onLine(CommandContext& context) override {
        model::UserSetup& setup = context.instrument.structures().userSetup;
        std::array<char, 60>* fields[] = {&setup.comment1, &setup.comment2, &setup.comment3};
        StoreText(*fields[received_], context.line, kCommentLength);
        ++received_;
        if (received_ < 3) {
            return true;
        }
        context.reply.line(kOk);
        context.reply.prompt = true;
        return false;
    }

private:
    std::size_t received_ = 0;
};

void Comments(CommandContext& context) {
    context.reply.line("Enter 3 lines of comments");
    context.reply.prompt = false;
    context.instrument.beginDialogue(std::make_unique<CommentDialogue>());
}

void Date(CommandContext& context) {
    Instrument& instrument = context.instrument;
    link::CalendarTime now = instrument.clockAt(context.at);
    if (context.arguments.empty()) {
        context.reply.line(
            model::FormatText("Current date is %04d/%02d/%02d", now.year, now.month, now.day));
        return;
    }
    const auto date = ParseDate(context.arguments);
    if (date) {
        now.year = (*date)[0];
        now.month = (*date)[1];
        now.day = (*date)[2];
        instrument.setClock(now, context.at);
    }
    Answer(context, date.has_value());
}

void Time(CommandContext& context) {
    Instrument& instrument = context.instrument;
    link::CalendarTime now = instrument.clockAt(context.at);
    if (context.arguments.empty()) {
        context.reply.line(
            model::FormatText("Current time is %02d:%02d:%02d", now.hour, now.minute, now.second));
        return;
    }
    const auto time = ParseTime(context.arguments);
    if (time) {
        now.hour = (*time)[0];
        now.minute = (*time)[1];
        now.second = (*time)[2];
        instrument.setClock(now, context.at);
    }
    Answer(context, time.has_value());
}

void Deploy(CommandContext& context) {
    Instrument& instrument = context.instrument;
    const DeployBehaviour& deploy = instrument.scenario().deploy;
    context.reply.line(kOk);
    if (!deploy.banner.empty()) {
        context.reply.line(deploy.banner);
    }
    context.reply.prompt = false;
    int intervalMs = deploy.outputIntervalMs;
    if (intervalMs <= 0) {
        intervalMs = static_cast<int>(instrument.structures().userSetup.profilingInterval) * 1000;
    }
    instrument.startDeployment(context.at, intervalMs);
}

} // namespace

void AddOperationCommands(CommandTable& table) {
    using U = model::UserSetup;
    using O = model::OperationConfiguration;
    table.add("Deployment", DeploymentName);
    table.add("StartDate", StartDate);
    table.add("StartTime", StartTime);
    table.add("ai", WholeSetting(&U::averagingInterval, 1, 65535));
    table.add("pri", WholeSetting(&U::profilingInterval, 1, 65535));
    table.add("cs", ScaledSetting(&U::cellSize, 100.0, 1, 65535));
    table.add("nc", WholeSetting(&U::numberOfCells, 1, 128));
    table.add("bd", ScaledSetting(&U::blankingDistance, 100.0, 0, 65535));
    table.add("Cy", KeywordSetting(&U::coordinateSystem, {"BEAM", "XYZ", "ENU"}));
    table.add("om", KeywordSetting(&U::outputMode, {"Auto", "Polled"}));
    table.add("TempMode", KeywordSetting(&U::temperatureMode, {"User", "Measured"}));
    table.add("Temp", ScaledSetting(&U::defaultTemperature, 10.0, -50, 500));
    table.add("Sal", ScaledSetting(&U::salinity, 10.0, 0, 600));
    table.add("bm", KeywordSetting(&U::burstMode, {"Disabled", "Enabled"}));
    table.add("bi", WholeSetting(&U::burstInterval, 0, 65535));
    table.add("sb", WholeSetting(&U::profilesPerBurst, 0, 65535));
    table.add("wsr", WaveRate);
    table.add("wst", WaveType);
    table.add("wsl", WholeSetting(&U::waveSamples, 0, 65535));
    table.add("rws", WholeSetting(&U::waveInterval, 0, 255));
    table.add("of", OutputFormat);
    table.add("AutoSleep", AutoSleep);
    table.add("SaveSetup", SaveSetup);
    table.add("pl", PulseSetting(&O::pulseLength));
    table.add("pg", PulseSetting(&O::userPulseLag));
    table.add("rpg", PulseSetting(&O::userResLag));
    table.add("Comments", Comments);
    table.add("Date", Date);
    table.add("Time", Time);
    table.add("deploy", Deploy);
    AddRecorderCommands(table);
}

} // namespace qpx::sim
