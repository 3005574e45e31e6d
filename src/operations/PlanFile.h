#pragma once

#include "model/UserSetup.h"
#include "operations/SettingArgument.h"
#include "planning/Checked.h"
#include "planning/DeploymentPlanner.h"
#include "planning/SystemInformation.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A deployment plan kept as a file: the settings table's settings, one "key = value" a line with
// the command line's keys, under a header that says what the plan was made for. Reading only
// checks the form; opening enters every value through the planner's own events, so every check
// and message is the planner's. The file itself is read and written by the front ends (through
// the platform's bounded read and replacing write); here it is text.
namespace qpx::operations {

inline constexpr std::string_view kPlanFileExtension = ".qpxplan";
// Larger files are refused unread; so are longer lines.
inline constexpr std::size_t kPlanFileMaxBytes = 64 * 1024;
inline constexpr std::size_t kPlanLineMaxBytes = 1024;

// Who made a plan, for its header; empty texts give no line.
struct PlanOrigin {
    std::string instrument; // the serial number of the instrument it was planned on
    std::string made;       // local time with its UTC offset: "2026/12/09 10:15:00 +01:00"
};

// What the header says the plan was made for.
struct PlanHeader {
    model::UnitSystem units = model::kMetricUnits; // of every length and temperature in the file
    std::optional<int> frequencyKhz;
    std::optional<bool> pulseCoherent;
    std::optional<int> recorderMegabytes;   // planning mode
    std::optional<int> wavesOption;         // planning mode: a model::WavesOption
    std::optional<std::string> plannedDays; // the deployment review's planned duration
    std::string instrument;
    std::string made;
};

struct PlanSetting {
    int line = 0; // 1-based line number in the file
    SettingArgument setting;
};

// A plan as read: the header and the settings in the order the file gives them.
struct PlanDocument {
    PlanHeader header;
    std::vector<PlanSetting> settings;
};

// Why a plan was refused: the line (0 for the file as a whole), the reason, and the setting whose
// value was refused, so a window can put the focus on its box.
struct PlanError {
    int line = 0;
    std::string reason;
    std::optional<SettingId> setting;
};

// "harbour.qpxplan, line 7: <reason>", or "harbour.qpxplan: <reason>" for the whole file.
std::string PlanErrorText(std::string_view fileName, const PlanError& error);

// The plan file's text for the planner's present values: every keyed setting in the table's order
// under a comment naming its group, each value as the planner shows it (list settings by their
// command-line word). Refused only when a value holds what the file could not give back: a
// control character (a line break) or bytes that are not UTF-8. The origin is written with such
// bytes as '?'.
struct PlanText {
    std::string text;
    std::optional<PlanError> error;
};
PlanText FormatPlan(const planning::DeploymentPlanner& planner, const PlanOrigin& origin);

// The value a plan file gives the setting for the planner as it stands.
std::string PlanValueText(const planning::DeploymentPlanner& planner, const SettingRow& row);

// Reads the text of a plan file: UTF-8, at most kPlanFileMaxBytes, lines of at most
// kPlanLineMaxBytes, each blank, a '#' comment or "key = value" with a known key given once.
// Values are taken without the blanks around them; a value in double quotes is taken exactly as
// it stands between them.
struct PlanRead {
    std::optional<PlanDocument> plan;
    PlanError error; // when there is no plan
};
PlanRead ReadPlan(std::string_view text);

// What opening a plan did.
struct PlanOpened {
    std::optional<PlanError> error; // the plan was refused; the planner is as it was
    // The plan was made for another frequency or for a PC-QPX when this system is not one (or the
    // reverse).
    std::vector<std::string> warnings;
    // Settings the planner shows disabled and the plan would change, skipped; the waves dialog's
    // notes.
    std::vector<std::string> notes;

    bool ok() const { return !error.has_value(); }
};

// Enters the plan's settings into the planner in the table's order, each as typing it into its
// box or choosing its list entry would, after converting lengths and the temperature from the
// plan's unit system. All or nothing: the first refused setting refuses the plan and leaves the
// planner as it was. A value the planner already shows is left as it stands, so an untouched
// length keeps the exact metres behind it.
PlanOpened OpenPlan(planning::DeploymentPlanner& planner, const PlanDocument& plan);

// The planning-mode choice the header describes, each missing key taken from `defaults`. A
// frequency that is none of the list's keeps the default.
planning::SystemChoice PlanningChoice(const PlanHeader& header,
                                      const planning::SystemChoice& defaults);

// The command lines the upload would send now, in sending order, after "&Deploy"'s checks on a
// copy of the planner: against `downloaded` in connected mode; in planning mode every command of
// the table, as to an instrument holding other values. Or the check's refusal.
planning::Checked<std::vector<std::string>>
PlannedCommandLines(const planning::DeploymentPlanner& planner, const model::UserSetup& downloaded);

// The command file: a header comment naming the instrument and the time, then one command a line.
std::string FormatCommandFile(const std::vector<std::string>& lines, const PlanOrigin& origin);

} // namespace qpx::operations
