#include "cli/SettingApplication.h"

#include <optional>

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
        if (dialog.temperatureReadOnly()) {
            return Refused("The water temperature is measured: set temperature-mode=user to type "
                           "one.");
        }
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
        if (!dialog.burstEditsEnabled()) {
            return Refused("Burst mode is disabled: set burst-mode=enabled first.");
        }
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
    if (!planner.wavesEnabled()) {
        return Refused("This system has no waves option: there are no waves settings.");
    }
    planning::WavesSettings dialog = planner.wavesSettings();
    SettingOutcome outcome = Accepted();
    const auto note = [&outcome](const std::optional<DialogMessage>& message) {
        if (message) {
            outcome.notes.push_back(message->text);
        }
    };
    note(dialog.openingMessage());
    if (setting.name != SettingName::WaveEvery && !dialog.detailsEnabled()) {
        return Refused("Wave recording is off: set wave-every to a number of profiles first.");
    }
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

// The boxes planning mode disables: nothing can be typed into them there.
bool DisabledInPlanning(SettingName name) {
    switch (name) {
    case SettingName::FileName:
    case SettingName::Start:
    case SettingName::Comment1:
    case SettingName::Comment2:
    case SettingName::Comment3:
    case SettingName::CoordinateSystem:
    case SettingName::OutputMode:
        return true;
    default:
        return false;
    }
}

} // namespace

SettingOutcome ApplySetting(DeploymentPlanner& planner, const SettingArgument& setting) {
    if (planner.planning() && DisabledInPlanning(setting.name)) {
        return Refused(std::string(SettingKey(setting.name)) +
                       " cannot be changed in planning mode: the instrument keeps its own.");
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
        if (!planner.coordinateEnabled()) {
            return Refused("A PC-QPX always profiles in beam coordinates.");
        }
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
    }
    return Refused("Unknown setting.");
}

} // namespace qpx::cli
