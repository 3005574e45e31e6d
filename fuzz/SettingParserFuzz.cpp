#include "cli/SettingApplication.h"
#include "cli/SettingArgument.h"
#include "fuzz/Harnesses.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/ModelMessages.h"
#include "model/TextFormat.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"
#include "serial/PortArgument.h"
#include "serial/PortList.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::fuzz {
namespace {

// Why qpxctl turns down an argument before it reaches the planner.
constexpr std::string_view kParseErrors[]{
    "\"%s\" is not a setting: use NAME=VALUE.",
    "Unknown setting \"%s\"; the settings are %s.",
    "%s takes one of %s, not \"%s\".",
    "start takes \"YYYY/MM/DD HH:MM:SS\", not \"%s\".",
};

// Refusals of the tool itself when a setting cannot be typed in at all; the rest are the
// planner's and sub-dialogs' own messages.
constexpr std::string_view kToolRefusals[]{
    "The water temperature is measured: set temperature-mode=user to type one.",
    "Burst mode is disabled: set burst-mode=enabled first.",
    "This system has no waves option: there are no waves settings.",
    "Wave recording is off: set wave-every to a number of profiles first.",
    "PUV Series needs the directional waves option.",
    "%s cannot be changed in planning mode: the instrument keeps its own.",
    "A PC-QPX always profiles in beam coordinates.",
    "ENU coordinates need a compass, and this system has none.",
};

constexpr std::string_view kPortErrors[]{
    "No port given: use COM1 to COM8 or a device path.",
    "Unknown port \"%s\": use COM1 to COM8 or a device path.",
    "COM%d has no serial device behind it.",
};

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "COM" and digits only, in any letter case: the form that names a port number.
bool NamesPortNumber(std::string_view text) {
    return text.size() > 3 && SameLetters(text.substr(0, 3), "com") &&
           std::all_of(text.begin() + 3, text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void CheckCalendar(const link::CalendarTime& t) {
    Require(t.year >= 1000 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
                t.day <= 31 && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
                t.second >= 0 && t.second <= 59,
            "a start time outside the calendar");
    // What the tool shows of a start time reads back as the same time.
    const std::string shown = model::FormatText("%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month,
                                                t.day, t.hour, t.minute, t.second);
    Require(cli::ParseCalendarText(shown) == t, "a start time that does not read back");
}

void CheckPlannerTexts(const planning::DeploymentPlanner& planner) {
    for (const std::string* text :
         {&planner.rangeText(), &planner.capacityText(), &planner.powerDrawText(),
          &planner.powerText(), &planner.freeSpaceText()}) {
        Require(!ShowsNonNumber(*text), "the planner shows inf or nan after a setting");
    }
}

bool IsToolMessage(std::string_view text) {
    return MatchesAnyFormat(text, kToolRefusals) || MatchesAnyFormat(text, ModelMessages());
}

// The setting written back as NAME=VALUE parses to the same setting.
void CheckReparse(const cli::SettingArgument& setting) {
    const std::string again = std::string(cli::SettingKey(setting.name)) + "=" + setting.value;
    const cli::SettingParse reparsed = cli::ParseSettingArgument(again);
    Require(reparsed.setting && reparsed.setting->name == setting.name &&
                reparsed.setting->value == setting.value &&
                reparsed.setting->choice == setting.choice &&
                reparsed.setting->start == setting.start,
            "a setting that does not parse again as itself");
    const auto choices = cli::SettingChoices(setting.name);
    if (!choices.empty()) {
        const auto word = choices[static_cast<std::size_t>(*setting.choice)];
        const auto byWord = cli::ParseSettingArgument(std::string(cli::SettingKey(setting.name)) +
                                                      "=" + std::string(word));
        Require(byWord.setting && byWord.setting->choice == setting.choice,
                "a list entry that does not name itself");
    }
}

void CheckSetting(planning::DeploymentPlanner& planner, const std::string& text) {
    if (const auto start = cli::ParseCalendarText(text)) {
        CheckCalendar(*start);
    }
    const cli::SettingParse parse = cli::ParseSettingArgument(text);
    Require(parse.setting.has_value() == parse.error.empty(),
            "a setting with an error, or neither");
    if (!parse.setting) {
        Require(MatchesAnyFormat(parse.error, kParseErrors),
                "a parse error that is not one of the tool's own");
        Require(!ShowsNonNumber(parse.error) || ShowsNonNumber(text),
                "a parse error shows inf or nan");
        return;
    }
    const cli::SettingArgument& setting = *parse.setting;
    const auto equals = text.find('=');
    Require(equals != std::string::npos, "a setting without '='");
    Require(SameLetters(text.substr(0, equals), cli::SettingKey(setting.name)),
            "a setting under another name");
    Require(setting.value == text.substr(equals + 1), "a value changed by parsing");
    const auto choices = cli::SettingChoices(setting.name);
    if (!choices.empty()) {
        Require(setting.choice && *setting.choice >= 0 &&
                    static_cast<std::size_t>(*setting.choice) < choices.size(),
                "a list setting without one of its entries");
    } else {
        Require(!setting.choice, "an entry index for a setting without a list");
    }
    Require(setting.start.has_value() == (setting.name == cli::SettingName::Start),
            "a start time on a setting that is not start, or none on start");
    if (setting.start) {
        CheckCalendar(*setting.start);
    }
    CheckReparse(setting);

    const cli::SettingOutcome outcome = cli::ApplySetting(planner, setting);
    Require(outcome.accepted == outcome.message.empty(),
            "a setting both refused and accepted, or refused without a reason");
    if (!outcome.accepted) {
        Require(IsToolMessage(outcome.message), "a refusal that is not one of the tool's own");
        Require(!ShowsNonNumber(outcome.message) || ShowsNonNumber(setting.value),
                "a refusal shows inf or nan");
    } else if (setting.start) {
        Require(planner.startTime() == *setting.start, "an accepted start time not taken");
    }
    for (const std::string& note : outcome.notes) {
        Require(MatchesAnyFormat(note, ModelMessages()),
                "a note that is not one of the tool's own");
    }
    CheckPlannerTexts(planner);
}

// The --port argument against the ports the list gives: only COM1 to COM8 with a device behind
// them, or a device path taken as it is.
void CheckPort(const serial::PortList& ports, const std::string& text) {
    const serial::PortArgument port = serial::ParsePortArgument(text, ports);
    if (!port.ok()) {
        Require(port.device.empty() && port.index == -1, "a refused port with a device");
        Require(MatchesAnyFormat(port.error, kPortErrors),
                "a port error that is not one of the tool's own");
        return;
    }
    Require(!port.device.empty(), "a port without a device");
    if (port.index == -1) {
        Require(!NamesPortNumber(text) && port.device == text,
                "a device path that is not the argument, or a COM name taken as a path");
        return;
    }
    Require(port.index >= 0 && port.index < serial::kPortCount,
            "a COM number outside COM1 to COM8");
    Require(NamesPortNumber(text), "a COM number from an argument that names none");
    Require(port.device == ports.device(port.index), "a COM number opening another device");
    const std::string name = serial::PortName(port.index);
    Require(serial::ParsePortArgument(name, ports).index == port.index,
            "a port name that does not name its own number");
}

} // namespace

// The first byte sets the planner up (frequency, units, waves option, planning mode) and, with
// its top bit, makes the first piece a DEPLOYQPX_PORTS value. Every further NUL-separated piece
// is one qpxctl argument: parsed and applied as a NAME=VALUE setting, and resolved as a --port.
int SettingParserFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<std::string> pieces;
    for (std::size_t at = 1; at < size;) {
        std::string text;
        while (at < size && data[at] != 0) {
            text.push_back(static_cast<char>(data[at++]));
        }
        ++at;
        pieces.push_back(std::move(text));
    }

    serial::PortList ports(
        {"/dev/ttyUSB0", "/dev/ttyS0", "", "/dev/pts/7", "COM5", "", "", "/dev/ttyACM1"});
    std::size_t first = 0;
    if ((data[0] & 0x80) != 0 && !pieces.empty()) {
        ports = serial::PortList::FromEnvironmentValue(pieces[0]);
        for (int i = -1; i <= serial::kPortCount; ++i) {
            Require(ports.device(i).find(serial::kPortListSeparator) == std::string::npos,
                    "a listed device holding the separator");
            Require(ports.label(i).starts_with(serial::PortName(i)), "a label of another port");
        }
        Require(ports.device(-1).empty() && ports.device(serial::kPortCount).empty(),
                "a device behind a number outside COM1 to COM8");
        first = 1;
    }

    planning::PlannerInputs inputs;
    const int frequency = data[0] % 8;
    inputs.system = planning::MakeDefaultSystemConfiguration(frequency);
    inputs.user = planning::MakeDefaultUserSetup(frequency);
    inputs.operation = planning::MakeDefaultOperationConfiguration(frequency);
    inputs.unitSystem = (data[0] >> 3) & 1;
    inputs.wavesOption = (data[0] >> 4) % 3;
    inputs.planning = (data[0] & 0x40) != 0;
    inputs.planningRecorderBytes = 64ll * 1048576;
    inputs.recorder = {64ll * 1048576, 0};
    planning::DeploymentPlanner planner;
    planner.open(inputs, {2001, 7, 4, 9, 0, 0});

    for (std::size_t i = first; i < pieces.size(); ++i) {
        CheckSetting(planner, pieces[i]);
        CheckPort(ports, pieces[i]);
    }
    return 0;
}

} // namespace qpx::fuzz
