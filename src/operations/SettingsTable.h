#pragma once

#include "link/Clock.h"
#include "model/UserSetup.h"
#include "operations/ChangeDetection.h"
#include "operations/ChangeFlags.h"
#include "planning/AdvancedSettings.h"
#include "planning/DeploymentPlanner.h"
#include "planning/DeploymentValues.h"
#include "planning/DialogMessage.h"
#include "planning/WavesSettings.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Every planner setting in one place: how an accepted plan's value is compared with and stored in
// the downloaded UserSetup, the command that carries it to the instrument, its command-line key
// and words, the planner or sub-dialog event that takes a typed value, and which of the
// planner's enabling queries say whether its box can be typed into.
// Change detection, the upload, the command-line parser and its application walk these rows, so
// a new setting is one new row.
namespace qpx::operations {

// The settings in the order the planner shows them; RecorderEnabled has no command-line key.
enum class SettingId {
    FileName,
    Start,
    Comment1,
    Comment2,
    Comment3,
    AveragingInterval,
    ProfilingInterval,
    CoordinateSystem,
    Cells,
    CellSize,
    Blanking,
    OutputMode,
    RecorderEnabled,
    BatteryType,
    BatteryPacks,
    TemperatureMode,
    Temperature,
    Salinity,
    BurstMode,
    BurstInterval,
    ProfilesPerBurst,
    WaveEvery,
    WaveRate,
    WaveLength,
    WaveType,
};

inline constexpr std::size_t kSettingRowCount = 25;

// Where the planner shows a setting: its window or one of its two sub-dialogs.
enum class SettingSection { Deployment, Advanced, Waves };

// How the planner shows a setting now: its label (some name their unit) and the text of its box,
// or of the list entry chosen.
struct SettingShown {
    SettingSection section = SettingSection::Deployment;
    std::string (*label)(const planning::DeploymentPlanner&) = nullptr;
    std::string (*text)(const planning::DeploymentPlanner&) = nullptr;
    std::string_view name{}; // the setting's name in reports where it has no command-line key
    // A list setting's chosen entry, by list index (the index of its command-line word); -1 for
    // none. Unset for other settings.
    int (*selection)(const planning::DeploymentPlanner&) = nullptr;
};

// A list entry as text, without the leading spaces some lists pad with; empty for no entry.
std::string EntryText(std::string_view entry);

// One reason a box cannot be typed into. `byPlanningMode` gates are the boxes planning mode
// disables; they are refused with the planning-mode text there and with `refusal` otherwise.
struct SettingGate {
    bool (*enabled)(const planning::DeploymentPlanner&) = nullptr;
    std::string_view refusal;
    bool byPlanningMode = false;
};

// A value as given for a setting: a box's text, a list entry's index or a start time.
struct SettingValue {
    std::string text{};
    int choice = 0;
    link::CalendarTime start{};
};

using EntryMessage = std::optional<planning::DialogMessage>;

// How a value reaches the planner: through one of the planner's own events, whose live check may
// refuse it, or through an event of one of its two sub-dialogs, opened for the value and closed
// with OK. Exactly one event is set on a keyed row.
struct SettingEntry {
    EntryMessage (*planner)(planning::DeploymentPlanner&, const SettingValue&) = nullptr;
    // Its message refuses the value.
    EntryMessage (*advanced)(planning::AdvancedSettings&, const SettingValue&) = nullptr;
    // Its message is a note: the dialog keeps the value and goes on.
    EntryMessage (*waves)(planning::WavesSettings&, const SettingValue&) = nullptr;
    // A list the system shortens (no compass, no directional waves): an index at or past its
    // current end is refused with `beyondList`.
    std::size_t (*listSize)(const planning::DeploymentPlanner&) = nullptr;
    std::string_view beyondList{};
};

struct SettingRow {
    SettingId id;
    std::string_view key; // command-line key; empty when the command line cannot set it
    std::optional<ChangeItem> item;
    // The upload's step name, unpadded; empty when SettingsCommands does not send the setting
    // (the name, start and comments go out by steps of their own).
    std::string_view stepName;
    // The command-line words of a list setting, by list index.
    std::span<const std::string_view> words;
    SettingEntry entry;
    SettingShown shown;
    // Compares the plan's value with the downloaded field, storing and marking a difference.
    void (*detect)(const planning::AcceptedPlan&, const model::UserSetup& downloaded,
                   ChangeDetection&) = nullptr;
    // The command text for the stored value; nothing when the value has no command word.
    std::optional<std::string> (*command)(const ChangeDetection&) = nullptr;
    std::array<SettingGate, 2> gates{};
};

std::span<const SettingRow> SettingsTable();
// The name reports give the setting: its command-line key, or its shown name.
std::string_view ReportName(const SettingRow& row);
// The rows with a command-line key, in table order.
std::span<const SettingRow* const> KeyedRows();
const SettingRow& SettingRowOf(SettingId id);

// The rows SettingsCommands sends, in item order (the instrument takes them as numbered).
std::span<const SettingRow* const> CommandRows();

} // namespace qpx::operations
