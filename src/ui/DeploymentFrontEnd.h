#pragma once

#include "link/Clock.h"
#include "link/MessageSink.h"
#include "operations/ConnectedSetup.h"
#include "planning/DeploymentPlanner.h"
#include "ui/DialogHook.h"

#include <QPointer>
#include <QWidget>

namespace qpx::ui {

// The windows of the connected sequence: the planner on the run's one DeploymentPlanner, then
// the deployment display. Both are modal; the planner is owned by `parent`, the display by no
// window.
class DeploymentFrontEnd : public operations::ConnectedSetupFrontEnd {
public:
    DeploymentFrontEnd(QWidget* parent, planning::DeploymentPlanner& planner, link::Clock& clock,
                       link::MessageSink& messages);

    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& inputs,
                                                     link::Link& link) override;
    void runDisplay(operations::DeploymentDisplay& display) override;

    void setHooks(PlannerHooks hooks) { hooks_ = std::move(hooks); }

private:
    QPointer<QWidget> parent_;
    planning::DeploymentPlanner& planner_;
    link::Clock& clock_;
    link::MessageSink& messages_;
    PlannerHooks hooks_;
};

} // namespace qpx::ui
