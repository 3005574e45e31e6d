#include "ui/DeploymentFrontEnd.h"

#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/InstrumentExchange.h"

namespace qpx::ui {

DeploymentFrontEnd::DeploymentFrontEnd(QWidget* parent, planning::DeploymentPlanner& planner,
                                       link::Clock& clock, link::MessageSink& messages)
    : parent_(parent), planner_(planner), clock_(clock), messages_(messages) {}

std::optional<planning::AcceptedPlan>
DeploymentFrontEnd::runPlanner(const planning::PlannerInputs& inputs, link::Link& link) {
    // The main window was asked to close during the download: the run ends here, as a cancelled
    // planner would end it, and the window closes once the port is.
    const auto* owner = qobject_cast<const GuardedDialog*>(parent_.data());
    if (owner != nullptr && owner->endPending()) {
        return std::nullopt;
    }
    const UserTurn turn;
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
    const UserTurn turn;
    DeploymentDisplayDialog dialog(nullptr, display);
    ExecModal(dialog, hooks_.onShown);
}

} // namespace qpx::ui
