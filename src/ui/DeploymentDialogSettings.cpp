#include "instrument/HardwareConfigView.h"
#include "ui/AdvancedSettingsDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/HardwareConfigDialog.h"
#include "ui/InstrumentExchange.h"
#include "ui/WavesSettingsDialog.h"

namespace qpx::ui {

// The settings windows work on the planner's copies; only OK hands values back, and the
// estimates are recomputed after either button, as the planner always has.
void DeploymentDialog::openAdvancedSettings() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    AdvancedSettingsDialog dialog(this, planner_.advancedSettings(), messages_);
    std::optional<planning::AdvancedBlock> accepted;
    if (ExecModal(dialog, dialogHook_) == QDialog::Accepted) {
        accepted = dialog.acceptedBlock();
    }
    planner_.advancedSettingsClosed(accepted);
    showEstimates();
}

void DeploymentDialog::openWavesSettings() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    WavesSettingsDialog dialog(this, planner_.wavesSettings(), messages_);
    // The passed values' duration message comes first, once the window shows, then whatever
    // drives the window.
    const DialogHook onShown = [&dialog, this](QDialog& shown) {
        dialog.showOpeningMessage();
        if (dialogHook_) {
            dialogHook_(shown);
        }
    };
    std::optional<planning::WaveBlock> accepted;
    if (ExecModal(dialog, onShown) == QDialog::Accepted) {
        accepted = dialog.acceptedBlock();
    }
    planner_.wavesSettingsClosed(accepted);
    showEstimates();
}

void DeploymentDialog::openHardwareConfiguration() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    HardwareConfigDialog dialog(this, instrument::MakeHardwareConfigView(
                                          planner_.systemConfiguration(), planner_.wavesOption()));
    ExecModal(dialog, dialogHook_);
}

} // namespace qpx::ui
