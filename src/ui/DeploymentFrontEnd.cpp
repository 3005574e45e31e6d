#include "ui/DeploymentFrontEnd.h"

#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"

namespace qpx::ui {

DeploymentFrontEnd::DeploymentFrontEnd(QWidget* parent, planning::DeploymentPlanner& planner,
                                       link::Clock& clock, link::MessageSink& messages)
    : parent_(parent), planner_(planner), clock_(clock), messages_(messages) {}

std::optional<planning::AcceptedPlan>
DeploymentFrontEnd::runPlanner(const planning::PlannerInputs& inputs, link::Link& link) {
    DeploymentDialog dialog(parent_, planner_, messages_);
    dialog.setHelp(hooks_.help);
    dialog.setLink(&link);
    dialog.setDialogHook(hooks_.onShown);
    dialog.load(inputs, clock_.localTime());
    if (ExecModal(dialog, hooks_.onShown) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.acceptedPlan();
}

void DeploymentFrontEnd::runDisplay(operations::DeploymentDisplay& display) {
    DeploymentDisplayDialog dialog(nullptr, display);
    ExecModal(dialog, hooks_.onShown);
}

} // namespace qpx::ui
