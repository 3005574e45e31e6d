#include "operations/PlanFile.h"

#include "model/FieldText.h"
#include "model/FieldTexts.h"
#include "model/TextFormat.h"
#include "model/Units.h"
#include "operations/SettingApplication.h"
#include "operations/UploadPreview.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>

namespace qpx::operations {
namespace {

using planning::DeploymentPlanner;

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// The group a setting stands in, named as its window or group box names it.
std::string GroupName(SettingId id) {
    const auto bare = [](std::string_view title) {
        return std::string(Trimmed(title.substr(0, title.find(':'))));
    };
    switch (id) {
    case SettingId::Comment1:
    case SettingId::Comment2:
    case SettingId::Comment3:
        return "Comments";
    case SettingId::BatteryType:
    case SettingId::BatteryPacks:
        return "Power Management";
    case SettingId::TemperatureMode:
    case SettingId::Temperature:
    case SettingId::Salinity:
        return bare(planning::AdvancedSettings::soundGroupText());
    case SettingId::BurstMode:
    case SettingId::BurstInterval:
    case SettingId::ProfilesPerBurst:
        return bare(planning::AdvancedSettings::burstGroupText());
    case SettingId::WaveEvery:
    case SettingId::WaveRate:
    case SettingId::WaveLength:
    case SettingId::WaveType:
        return bare(planning::WavesSettings::groupText());
    default:
        return "System Deployment";
    }
}

// The kHz of a frequency index, from its name ("250kHz" has no blank); nothing for an index
// without one.
std::optional<int> FrequencyKhz(int index) {
    const std::string_view name = model::FrequencyText(index);
    int khz = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), khz);
    if (error != std::errc() || end == name.data()) {
        return std::nullopt;
    }
    return khz;
}

constexpr std::array<std::string_view, 3> kWavesWords{"none", "non-directional", "directional"};

std::string StartText(const link::CalendarTime& t) {
    return model::FormatText("%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                             t.minute, t.second);
}

bool IsLength(SettingId id) {
    return id == SettingId::CellSize || id == SettingId::Blanking;
}

// A value as written: quoted when its blanks at either end, or quotes around it, would otherwise
// be lost on reading.
std::string Written(const std::string& value) {
    const bool edges = !value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                                          kBlanks.find(value.back()) != std::string_view::npos);
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return edges || quoted ? "\"" + value + "\"" : value;
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<double> Number(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A length or temperature from the plan's unit system into the planner's, as the planner would
// show the value had it come from the instrument: feet cut to hundredths, metres to whole
// centimetres, degrees Fahrenheit rounded to hundredths, Celsius to the tenths the instrument
// keeps. A value that is no number is passed on, for the planner's own check to refuse.
std::string Converted(SettingId id, const std::string& value, bool toMetric) {
    const std::optional<double> number = Number(value);
    if (!number) {
        return value;
    }
    const auto given = static_cast<float>(*number);
    float shown = 0.0f;
    if (IsLength(id)) {
        shown = toMetric
                    ? static_cast<float>(std::round(model::FeetToMetres(given) * 100.0) / 100.0)
                    : std::trunc(model::MetresToFeet(given) * 100.0f) / 100.0f;
    } else {
        shown =
            toMetric
                ? static_cast<float>(std::round(model::FahrenheitToCelsius(given) * 10.0) / 10.0)
                : static_cast<float>(std::round((given * 1.8 + 32.0) * 100.0) / 100.0);
    }
    return model::FormatGeneral(static_cast<double>(shown));
}

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool ValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned min = 0;
        unsigned code = 0;
        if (byte < 0x80) {
            ++i;
            continue;
        }
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
            min = 0x80;
            code = byte & 0x1Fu;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            min = 0x800;
            code = byte & 0x0Fu;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            min = 0x10000;
            code = byte & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t') || byte == 0x7F;
    });
}

// The text with every control byte, and every byte of a text that is no UTF-8, as '?'.
std::string Printable(std::string_view text) {
    const bool utf8 = ValidUtf8(text);
    std::string shown(text);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || (!utf8 && byte >= 0x80)) {
            c = '?';
        }
    }
    return shown;
}

PlanRead Refused(int line, std::string reason) {
    PlanRead read;
    read.error = PlanError{line, std::move(reason), std::nullopt};
    return read;
}

// The header's keys: each reads its value into the header or says why it cannot.
using HeaderReader = std::optional<std::string> (*)(std::string_view value, PlanHeader& header);

template <std::size_t N>
std::optional<int> WordIndex(const std::array<std::string_view, N>& words, std::string_view value) {
    const std::string lower = Lower(value);
    for (std::size_t i = 0; i < N; ++i) {
        if (words[i] == lower) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

const std::map<std::string_view, HeaderReader>& HeaderReaders() {
    static const std::map<std::string_view, HeaderReader> readers{
        {"units",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             const auto index =
                 WordIndex(std::array<std::string_view, 2>{"english", "metric"}, value);
             if (!index) {
                 return "units takes metric or english, not \"" + std::string(value) + "\".";
             }
             header.units = *index == 1 ? model::kMetricUnits : model::kEnglishUnits;
             return std::nullopt;
         }},
        {"frequency",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             const auto khz = WholeNumber(value);
             if (!khz || !planning::FrequencyIndexOfKhz(*khz)) {
                 return "frequency takes 3000, 1500, 750, 500, 250, 1000 or 5000 (kHz), not \"" +
                        std::string(value) + "\".";
             }
             header.frequencyKhz = *khz;
             return std::nullopt;
         }},
        {"pulse-coherent",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             const auto index = WordIndex(std::array<std::string_view, 2>{"no", "yes"}, value);
             if (!index) {
                 return "pulse-coherent takes yes or no, not \"" + std::string(value) + "\".";
             }
             header.pulseCoherent = *index == 1;
             return std::nullopt;
         }},
        {"recorder-mb",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             const auto megabytes = WholeNumber(value);
             if (!megabytes || !planning::OfferedRecorderSize(*megabytes)) {
                 return "recorder-mb takes 5, 10, 20, 32, 40, 85, 192, 340, 660 or 880, not \"" +
                        std::string(value) + "\".";
             }
             header.recorderMegabytes = *megabytes;
             return std::nullopt;
         }},
        {"waves",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             const auto index = WordIndex(kWavesWords, value);
             if (!index) {
                 return "waves takes none, non-directional or directional, not \"" +
                        std::string(value) + "\".";
             }
             header.wavesOption = *index;
             return std::nullopt;
         }},
        {"planned-days",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             // Checked here as well as by the planner, so that a bad value names its line.
             if (const auto days = model::ParseDouble(value);
                 !days || !(*days >= DeploymentPlanner::kMinPlannedDays &&
                            *days <= DeploymentPlanner::kMaxPlannedDays)) {
                 return "planned-days takes a number of days from 0.01 to 3650, not \"" +
                        std::string(value) + "\".";
             }
             header.plannedDays = std::string(value);
             return std::nullopt;
         }},
        {"instrument",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             header.instrument = std::string(value);
             return std::nullopt;
         }},
        {"made",
         [](std::string_view value, PlanHeader& header) -> std::optional<std::string> {
             header.made = std::string(value);
             return std::nullopt;
         }},
    };
    return readers;
}

std::string FrequencyDifference(const PlanHeader& header, const DeploymentPlanner& planner) {
    const auto here = FrequencyKhz(planner.systemConfiguration().systemFrequency);
    if (!header.frequencyKhz || (here && *here == *header.frequencyKhz)) {
        return {};
    }
    return model::FormatText("The plan was made for a %d kHz system; this one is ",
                             *header.frequencyKhz) +
           (here ? model::FormatText("%d kHz", *here) : std::string("of another frequency")) +
           ". Its values are checked against this system's limits on \"&Deploy\".";
}

std::string PulseCoherentDifference(const PlanHeader& header, const DeploymentPlanner& planner) {
    if (!header.pulseCoherent || *header.pulseCoherent == planner.pulseCoherent()) {
        return {};
    }
    return *header.pulseCoherent
               ? "The plan was made for a PC-QPX; this system is not one. Its values are checked "
                 "against this system's limits on \"&Deploy\"."
               : "The plan was made for a system that is not a PC-QPX; this one is. Its values are "
                 "checked against this system's limits on \"&Deploy\".";
}

} // namespace

std::string PlanErrorText(std::string_view fileName, const PlanError& error) {
    if (error.line > 0) {
        return std::string(fileName) + model::FormatText(", line %d: ", error.line) + error.reason;
    }
    return std::string(fileName) + ": " + error.reason;
}

std::string PlanValueText(const DeploymentPlanner& planner, const SettingRow& row) {
    if (row.id == SettingId::Start) {
        return StartText(planner.startTime());
    }
    if (!row.words.empty() && row.shown.selection != nullptr) {
        const int chosen = row.shown.selection(planner);
        if (chosen < 0 || static_cast<std::size_t>(chosen) >= row.words.size()) {
            return {};
        }
        return std::string(row.words[static_cast<std::size_t>(chosen)]);
    }
    return row.shown.text(planner);
}

PlanText FormatPlan(const DeploymentPlanner& planner, const PlanOrigin& origin) {
    PlanText result;
    std::string& out = result.text;
    out += "# DeployQpx deployment plan\n";
    out += std::string("units = ") + (planner.metric() ? "metric" : "english") + "\n";
    if (const auto khz = FrequencyKhz(planner.systemConfiguration().systemFrequency)) {
        out += model::FormatText("frequency = %d\n", *khz);
    }
    out += std::string("pulse-coherent = ") + (planner.pulseCoherent() ? "yes" : "no") + "\n";
    if (planner.planning()) {
        out += model::FormatText("recorder-mb = %lld\n",
                                 static_cast<long long>(planner.planningRecorderBytes() / 1048576));
        const int waves = std::clamp(planner.wavesOption(), 0, 2);
        out += "waves = " + std::string(kWavesWords[static_cast<std::size_t>(waves)]) + "\n";
    }
    if (!planner.plannedDurationText().empty()) {
        out += "planned-days = " + planner.plannedDurationText() + "\n";
    }
    // Only says who made the plan: a byte no line can keep is shown as '?', not refused.
    for (const auto& [key, value] :
         {std::pair{"instrument", &origin.instrument}, std::pair{"made", &origin.made}}) {
        if (!value->empty()) {
            out += std::string(key) + " = " + Written(Printable(*value)) + "\n";
        }
    }
    std::string group;
    for (const SettingRow* row : KeyedRows()) {
        if (const std::string name = GroupName(row->id); name != group) {
            out += "\n# " + name + "\n";
            group = name;
        }
        const std::string value = PlanValueText(planner, *row);
        // A value the file could not give back (a comment downloaded with a control byte, or
        // bytes that are no UTF-8) is refused rather than written changed.
        if (HasControl(value) || !ValidUtf8(value)) {
            result.error = PlanError{0,
                                     std::string(row->key) +
                                         " holds a character a plan file cannot keep (a line "
                                         "break, another control character, or bytes that are "
                                         "not UTF-8): change it first.",
                                     row->id};
            return result;
        }
        if (!row->words.empty() && value.empty()) {
            // A held value with no entry in the list: nothing a plan could choose.
            out += "# " + std::string(row->key) + " = (no entry chosen)\n";
            continue;
        }
        // An empty value ends its line at the "=": no trailing blank for editors to strip.
        out += std::string(row->key) + (value.empty() ? " =\n" : " = " + Written(value) + "\n");
    }
    return result;
}

PlanRead ReadPlan(std::string_view text) {
    if (text.size() > kPlanFileMaxBytes) {
        return Refused(0, model::FormatText("the file is larger than %llu bytes; a plan is at most "
                                            "64 KB.",
                                            static_cast<unsigned long long>(kPlanFileMaxBytes)));
    }
    // Editors on Windows may begin a UTF-8 file with a byte order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    PlanDocument plan;
    std::map<std::string, int> seen; // key -> the line that gave it
    bool units = false;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.size() > kPlanLineMaxBytes) {
            return Refused(number,
                           model::FormatText("the line is longer than %llu bytes.",
                                             static_cast<unsigned long long>(kPlanLineMaxBytes)));
        }
        if (HasControl(line)) {
            return Refused(number, "the line holds a control character: this is not a text file.");
        }
        if (!ValidUtf8(line)) {
            return Refused(number, "the line is not UTF-8 text.");
        }
        const std::string_view content = Trimmed(line);
        if (content.empty() || content.front() == '#') {
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string_view::npos) {
            return Refused(number,
                           "\"" + std::string(content) + "\" is not a setting: use key = value.");
        }
        const std::string key = Lower(Trimmed(content.substr(0, equals)));
        const std::string_view value = Unquoted(Trimmed(content.substr(equals + 1)));
        if (const auto first = seen.find(key); first != seen.end()) {
            return Refused(number, model::FormatText("%s is given twice (first on line %d).",
                                                     key.c_str(), first->second));
        }
        seen.emplace(key, number);
        const auto& readers = HeaderReaders();
        if (const auto reader = readers.find(key); reader != readers.end()) {
            if (auto error = reader->second(value, plan.header)) {
                return Refused(number, std::move(*error));
            }
            units = units || key == "units";
            continue;
        }
        SettingParse parsed = ParseSettingArgument(key + "=" + std::string(value));
        if (!parsed.setting) {
            PlanRead read = Refused(number, parsed.error);
            return read;
        }
        plan.settings.push_back(PlanSetting{number, std::move(*parsed.setting)});
    }
    if (!units) {
        return Refused(0, "the file has no \"units\" line saying whether its lengths are metric or "
                          "english.");
    }
    PlanRead read;
    read.plan = std::move(plan);
    return read;
}

PlanOpened OpenPlan(DeploymentPlanner& planner, const PlanDocument& plan) {
    PlanOpened opened;
    for (const std::string& warning : {FrequencyDifference(plan.header, planner),
                                       PulseCoherentDifference(plan.header, planner)}) {
        if (!warning.empty()) {
            opened.warnings.push_back(warning);
        }
    }
    std::vector<const PlanSetting*> ordered;
    for (const PlanSetting& setting : plan.settings) {
        ordered.push_back(&setting);
    }
    std::stable_sort(
        ordered.begin(), ordered.end(), [](const PlanSetting* a, const PlanSetting* b) {
            return static_cast<int>(a->setting.name) < static_cast<int>(b->setting.name);
        });

    // Entered into a copy: a refusal part-way leaves the planner untouched.
    DeploymentPlanner trial = planner;
    const bool convert = model::IsMetric(plan.header.units) != trial.metric();
    for (const PlanSetting* entry : ordered) {
        SettingArgument setting = entry->setting;
        const SettingRow& row = SettingRowOf(setting.name);
        if (convert && (IsLength(setting.name) || setting.name == SettingId::Temperature)) {
            setting.value = Converted(setting.name, setting.value, trial.metric());
        }
        const std::string shown = PlanValueText(trial, row);
        const std::string given = setting.start ? StartText(*setting.start) : setting.value;
        if (shown == given) {
            continue;
        }
        const SettingOutcome outcome = ApplySetting(trial, setting);
        for (const std::string& note : outcome.notes) {
            opened.notes.push_back(model::FormatText("line %d: ", entry->line) + note);
        }
        if (outcome.accepted) {
            continue;
        }
        if (outcome.gated) {
            opened.notes.push_back(model::FormatText("line %d: %s not entered: ", entry->line,
                                                     std::string(row.key).c_str()) +
                                   outcome.message);
            continue;
        }
        opened.error =
            PlanError{entry->line,
                      std::string(row.key) + " = " + entry->setting.value + ": " + outcome.message,
                      setting.name};
        return opened;
    }
    if (plan.header.plannedDays) {
        trial.plannedDurationChanged(*plan.header.plannedDays);
    }
    planner = std::move(trial);
    return opened;
}

planning::SystemChoice PlanningChoice(const PlanHeader& header,
                                      const planning::SystemChoice& defaults) {
    planning::SystemChoice choice = defaults;
    if (header.frequencyKhz) {
        if (const auto index = planning::FrequencyIndexOfKhz(*header.frequencyKhz)) {
            choice.frequencyIndex = *index;
        }
    }
    choice.recorderSizeMegabytes =
        header.recorderMegabytes.value_or(defaults.recorderSizeMegabytes);
    choice.wavesOption = header.wavesOption.value_or(defaults.wavesOption);
    return choice;
}

planning::Checked<std::vector<std::string>>
PlannedCommandLines(const DeploymentPlanner& planner, const model::UserSetup& downloaded) {
    // "&Deploy" shows English lengths in metres as it closes: the planner on screen is left be.
    DeploymentPlanner copy = planner;
    const auto deployed = copy.deploy();
    planning::Checked<std::vector<std::string>> result;
    if (!deployed.value) {
        result.message = deployed.message;
        return result;
    }
    ChangeDetection changes =
        DetectChanges(*deployed.value, planner.planning() ? planner.userSetup() : downloaded);
    if (planner.planning()) {
        for (int item = 1; item <= kChangeItemCount; ++item) {
            changes.flags.mark(static_cast<ChangeItem>(item));
        }
    }
    result.value = UploadCommandLines(changes, deployed.value->start);
    return result;
}

std::string FormatCommandFile(const std::vector<std::string>& lines, const PlanOrigin& origin) {
    std::string out = "# DeployQpx upload commands";
    if (!origin.instrument.empty()) {
        out += " for the instrument " + Printable(origin.instrument);
    }
    if (!origin.made.empty()) {
        out += ", " + Printable(origin.made);
    }
    out += "\n";
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return out;
}

} // namespace qpx::operations
