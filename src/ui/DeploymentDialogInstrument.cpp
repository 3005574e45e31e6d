#include "ui/DeploymentDialog.h"

namespace qpx::ui {

void DeploymentDialog::openPcQpxSettings() {
    notAvailable("PC-QPX Settings");
}

void DeploymentDialog::openRecorderDetails() {
    notAvailable("Recorder");
}

void DeploymentDialog::openSystemTime() {
    notAvailable("System Time");
}

} // namespace qpx::ui
