#include "operations/SettingApplication.h"

#include "operations/SettingsTable.h"

#include <optional>
#include <string>

namespace qpx::operations {
namespace {

using planning::DeploymentPlanner;
using planning::DialogMessage;

SettingOutcome Accepted() {
    SettingOutcome outcome;
    outcome.accepted = true;
    return outcome;
}

SettingOutcome Refused(std::string message) {
    SettingOutcome outcome;
    outcome.message = std::move(message);
    return outcome;
}

SettingOutcome FromLiveCheck(const std::optional<DialogMessage>& message) {
    return message ? Refused(message->text) : Accepted();
}


// The advanced settings' values are judged when the dialog closes with OK, as in the window.
SettingOutcome EnterAdvanced(DeploymentPlanner& planner, const SettingEntry& entry,
                             const SettingValue& value) {
    planning::AdvancedSettings dialog = planner.advancedSettings();
    if (const std::optional<DialogMessage> message = entry.advanced(dialog, value)) {
        return Refused(message->text);
    }
    const auto ok = dialog.ok();
    if (!ok.value) {
        return Refused(ok.message ? ok.message->text : std::string());
    }
    planner.advancedSettingsClosed(ok.value);
    return Accepted();
}

// The waves dialog's messages tell, they do not refuse: they are passed on as notes.
SettingOutcome EnterWaves(DeploymentPlanner& planner, const SettingEntry& entry,
                          const SettingValue& value) {
    planning::WavesSettings dialog = planner.wavesSettings();
    SettingOutcome outcome = Accepted();
    const auto note = [&outcome](const std::optional<DialogMessage>& message) {
        if (message) {
            outcome.notes.push_back(message->text);
        }
    };
    note(dialog.openingMessage());
    note(entry.waves(dialog, value));
    const auto ok = dialog.ok();
    if (!ok.value) {
        return Refused(ok.message ? ok.message->text : std::string());
    }
    planner.wavesSettingsClosed(ok.value);
    return outcome;
}

} // namespace

std::optional<std::string> SettingGated(const DeploymentPlanner& planner, SettingName name) {
    const SettingRow& row = SettingRowOf(name);
    for (const SettingGate& gate : row.gates) {
        if (gate.enabled == nullptr || gate.enabled(planner)) {
            continue;
        }
        if (gate.byPlanningMode && planner.planning()) {
            return std::string(row.key) +
                   " cannot be changed in planning mode: the instrument keeps its own.";
        }
        return std::string(gate.refusal);
    }
    return std::nullopt;
}

SettingOutcome ApplySetting(DeploymentPlanner& planner, const SettingArgument& setting) {
    if (std::optional<std::string> refusal = SettingGated(planner, setting.name)) {
        SettingOutcome outcome = Refused(std::move(*refusal));
        outcome.gated = true;
        return outcome;
    }
    const SettingEntry& entry = SettingRowOf(setting.name).entry;
    const SettingValue value{setting.value, setting.choice.value_or(0),
                             setting.start.value_or(link::CalendarTime{})};
    if (entry.listSize != nullptr &&
        static_cast<std::size_t>(value.choice) >= entry.listSize(planner)) {
        return Refused(std::string(entry.beyondList));
    }
    if (entry.planner != nullptr) {
        return FromLiveCheck(entry.planner(planner, value));
    }
    if (entry.advanced != nullptr) {
        return EnterAdvanced(planner, entry, value);
    }
    if (entry.waves != nullptr) {
        return EnterWaves(planner, entry, value);
    }
    return Refused("Unknown setting.");
}

} // namespace qpx::operations
