#include "cli/SettingApplication.h"

#include "operations/SettingsTable.h"

#include <optional>
#include <string>

namespace qpx::cli {
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

SettingOutcome ApplyAdvanced(DeploymentPlanner& planner, const SettingArgument& setting) {
    planning::AdvancedSettings dialog = planner.advancedSettings();
    std::optional<DialogMessage> message;
    switch (setting.name) {
    case SettingName::TemperatureMode:
        dialog.temperatureModeSelected(*setting.choice);
        break;
    case SettingName::Temperature:
        dialog.temperatureTextChanged(setting.value);
        message = dialog.temperatureFocusLost();
        break;
    case SettingName::Salinity:
        dialog.salinityTextChanged(setting.value);
        message = dialog.salinityFocusLost();
        break;
    case SettingName::BurstMode:
        message = dialog.burstModeSelected(*setting.choice);
        break;
    case SettingName::BurstInterval:
    case SettingName::ProfilesPerBurst:
        if (setting.name == SettingName::BurstInterval) {
            dialog.burstIntervalTextChanged(setting.value);
        } else {
            dialog.profilesPerBurstTextChanged(setting.value);
        }
        break;
    default:
        return Refused("Not an advanced setting.");
    }
    if (message) {
        return Refused(message->text);
    }
    const auto ok = dialog.ok();
    if (!ok.block) {
        return Refused(ok.message ? ok.message->text : std::string());
    }
    planner.advancedSettingsClosed(ok.block);
    return Accepted();
}

SettingOutcome ApplyWaves(DeploymentPlanner& planner, const SettingArgument& setting) {
    planning::WavesSettings dialog = planner.wavesSettings();
    SettingOutcome outcome = Accepted();
    const auto note = [&outcome](const std::optional<DialogMessage>& message) {
        if (message) {
            outcome.notes.push_back(message->text);
        }
    };
    note(dialog.openingMessage());
    switch (setting.name) {
    case SettingName::WaveEvery:
        dialog.recordEveryTextChanged(setting.value);
        break;
    case SettingName::WaveRate:
        note(dialog.rateSelected(*setting.choice));
        break;
    case SettingName::WaveLength:
        note(dialog.lengthTextChanged(setting.value));
        break;
    case SettingName::WaveType:
        if (*setting.choice >= static_cast<int>(dialog.typeList().size())) {
            return Refused("PUV Series needs the directional waves option.");
        }
        dialog.typeSelected(*setting.choice);
        break;
    default:
        return Refused("Not a waves setting.");
    }
    const auto ok = dialog.ok();
    if (!ok.block) {
        return Refused(ok.message ? ok.message->text : std::string());
    }
    planner.wavesSettingsClosed(ok.block);
    return outcome;
}

// Why the setting's box cannot be typed into now, asked of the planner's enabling queries.
std::optional<std::string> Gated(const DeploymentPlanner& planner, SettingName name) {
    const operations::SettingRow& row = operations::SettingRowOf(name);
    for (const operations::SettingGate& gate : row.gates) {
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

} // namespace

SettingOutcome ApplySetting(DeploymentPlanner& planner, const SettingArgument& setting) {
    if (std::optional<std::string> refusal = Gated(planner, setting.name)) {
        return Refused(std::move(*refusal));
    }
    switch (setting.name) {
    case SettingName::FileName:
        planner.fileNameChanged(setting.value);
        return Accepted();
    case SettingName::Start:
        planner.setStartTime(*setting.start);
        return Accepted();
    case SettingName::Comment1:
    case SettingName::Comment2:
    case SettingName::Comment3:
        planner.commentChanged(static_cast<int>(setting.name) -
                                   static_cast<int>(SettingName::Comment1),
                               setting.value);
        return Accepted();
    case SettingName::AveragingInterval:
        return FromLiveCheck(planner.averagingIntervalChanged(setting.value));
    case SettingName::ProfilingInterval:
        return FromLiveCheck(planner.profilingIntervalChanged(setting.value));
    case SettingName::Cells:
        return FromLiveCheck(planner.cellsChanged(setting.value));
    case SettingName::CellSize:
        return FromLiveCheck(planner.cellSizeChanged(setting.value));
    case SettingName::Blanking:
        return FromLiveCheck(planner.blankingChanged(setting.value));
    case SettingName::BatteryPacks:
        return FromLiveCheck(planner.batteryPacksChanged(setting.value));
    case SettingName::CoordinateSystem:
        if (*setting.choice >= static_cast<int>(planner.coordinateList().size())) {
            return Refused("ENU coordinates need a compass, and this system has none.");
        }
        planner.coordinateSelected(*setting.choice);
        return Accepted();
    case SettingName::OutputMode:
        planner.outputModeSelected(*setting.choice);
        return Accepted();
    case SettingName::BatteryType:
        planner.batteryTypeSelected(*setting.choice);
        return Accepted();
    case SettingName::TemperatureMode:
    case SettingName::Temperature:
    case SettingName::Salinity:
    case SettingName::BurstMode:
    case SettingName::BurstInterval:
    case SettingName::ProfilesPerBurst:
        return ApplyAdvanced(planner, setting);
    case SettingName::WaveEvery:
    case SettingName::WaveRate:
    case SettingName::WaveLength:
    case SettingName::WaveType:
        return ApplyWaves(planner, setting);
    case SettingName::RecorderEnabled:
        break;
    }
    return Refused("Unknown setting.");
}

} // namespace qpx::cli
