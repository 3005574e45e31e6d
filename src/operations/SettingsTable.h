#pragma once

#include "model/UserSetup.h"
#include "operations/ChangeDetection.h"
#include "operations/ChangeFlags.h"
#include "planning/DeploymentPlanner.h"
#include "planning/DeploymentValues.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Every planner setting in one place: how an accepted plan's value is compared with and stored in
// the downloaded UserSetup, the command that carries it to the instrument, its command-line key
// and words, and which of the planner's enabling queries say whether its box can be typed into.
// Change detection, the upload, the command-line parser and its application walk these rows, so
// a new setting is one new row.
namespace qpx::operations {

// The settings in the order qpxctl lists them; RecorderEnabled has no command-line key.
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
    RecorderEnabled,
};

// The settings with a command-line key: every row but the last.
inline constexpr std::size_t kKeyedSettingCount = 24;
inline constexpr std::size_t kSettingRowCount = 25;

// One reason a box cannot be typed into. `byPlanningMode` gates are the boxes planning mode
// disables; they are refused with the planning-mode text there and with `refusal` otherwise.
struct SettingGate {
    bool (*enabled)(const planning::DeploymentPlanner&) = nullptr;
    std::string_view refusal;
    bool byPlanningMode = false;
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
    // Compares the plan's value with the downloaded field, storing and marking a difference.
    void (*detect)(const planning::AcceptedPlan&, const model::UserSetup& downloaded,
                   ChangeDetection&) = nullptr;
    // The command text for the stored value; nothing when the value has no command word.
    std::optional<std::string> (*command)(const ChangeDetection&) = nullptr;
    std::array<SettingGate, 2> gates{};
};

std::span<const SettingRow> SettingsTable();
const SettingRow& SettingRowOf(SettingId id);

// The rows SettingsCommands sends, in item order (the instrument takes them as numbered).
std::span<const SettingRow* const> CommandRows();

} // namespace qpx::operations
