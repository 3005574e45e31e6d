#pragma once

#include "cli/CliEnvironment.h"
#include "cli/SettingArgument.h"
#include "operations/ConnectedSetup.h"

#include <vector>

namespace qpx::cli {

// The planner and the deployment display without windows: the settings are typed into the
// planner in the order given, "&Deploy" is pressed, and the instrument's output after "deploy"
// is copied to standard output for the given time, with a tick every 200 ms on the clock.
class HeadlessSetupFrontEnd : public operations::ConnectedSetupFrontEnd {
public:
    HeadlessSetupFrontEnd(CliEnvironment& env, std::vector<SettingArgument> settings,
                          double watchSeconds, bool dryRun);

    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& inputs,
                                                     link::Link& link) override;
    void runDisplay(operations::DeploymentDisplay& display) override;

    // Why the planner gave no plan: kExitRefused for a refused setting or a failed "&Deploy"
    // check, kExitSuccess after a dry run.
    int plannerExitCode() const { return plannerExitCode_; }
    bool dryRunDone() const { return dryRunDone_; }

private:
    CliEnvironment& env_;
    std::vector<SettingArgument> settings_;
    double watchSeconds_;
    bool dryRun_;
    int plannerExitCode_ = kExitSuccess;
    bool dryRunDone_ = false;
};

} // namespace qpx::cli
