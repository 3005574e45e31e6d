#pragma once

#include "link/MessageSink.h"
#include "planning/DeploymentPlanner.h"
#include "ui/DialogHook.h"

#include <QWidget>

namespace qpx::ui {

// "Plan a Deployment (No System is required)": the System Information dialog, then, after its
// OK, the planner on default structures for the instrument described, with "&Deploy" disabled.
// Nothing is sent anywhere; the planner keeps what the user left in it. `hooks.onShown` is called
// with each of the two dialogs.
void RunPlanningMode(QWidget* parent, planning::DeploymentPlanner& planner, int unitSystem,
                     link::MessageSink& messages, const PlannerHooks& hooks = {});

} // namespace qpx::ui
