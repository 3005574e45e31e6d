#include "ui/DeploymentDialog.h"

namespace qpx::ui {

// Until their windows exist the planner goes on as after a Cancel there (the estimates are
// recomputed as they would be).
void DeploymentDialog::openAdvancedSettings() {
    notAvailable("Advanced Settings");
    planner_.advancedSettingsClosed(std::nullopt);
    showEstimates();
}

void DeploymentDialog::openWavesSettings() {
    notAvailable("Waves Settings");
    planner_.wavesSettingsClosed(std::nullopt);
    showEstimates();
}

void DeploymentDialog::openHardwareConfiguration() {
    notAvailable("QPX Hardware Configuration");
}

} // namespace qpx::ui
