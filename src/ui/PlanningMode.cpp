#include "ui/PlanningMode.h"

#include "planning/PlanDeployment.h"
#include "ui/DeploymentDialog.h"
#include "ui/SystemInformationDialog.h"

#include <QDateTime>

namespace qpx::ui {

void RunPlanningMode(QWidget* parent, planning::DeploymentPlanner& planner, int unitSystem,
                     link::MessageSink& messages, const PlannerHooks& hooks) {
    planning::SystemChoice choice;
    {
        SystemInformationDialog information(parent);
        if (ExecModal(information, hooks.onShown) != QDialog::Accepted) {
            return;
        }
        choice = information.choice();
    }
    DeploymentDialog dialog(parent, planner, messages);
    dialog.setHelp(hooks.help);
    // The date-time control starts at the computer's time; planning mode never changes it.
    dialog.load(planning::PlanDeployment(unitSystem, choice),
                CalendarFromDateTime(QDateTime::currentDateTime()));
    ExecModal(dialog, hooks.onShown);
}

} // namespace qpx::ui
