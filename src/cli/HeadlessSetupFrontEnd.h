#pragma once

#include "cli/CliEnvironment.h"
#include "cli/SettingArgument.h"
#include "instrument/DeploymentRecord.h"
#include "operations/ConnectedSetup.h"
#include "operations/PlanFile.h"

#include <optional>
#include <string>
#include <vector>

namespace qpx::cli {

// What the headless planner enters and does besides the settings.
struct HeadlessPlan {
    // Entered first, the settings after it; `planPath` names it in messages.
    const operations::PlanDocument* plan = nullptr;
    std::string planPath;
    double watchSeconds = 0.0;
    bool dryRun = false;
    // With a dry run: the command file written here as well.
    std::optional<std::string> saveCommands;
    bool strict = false;
    bool checkClock = false;
    std::optional<std::string> plannedDays;
    std::string remarks;
    std::string recordFolder = ".";
};

// The planner and the deployment display without windows: the plan and then the settings are
// typed into the planner in the order given, "&Deploy" is pressed, and the instrument's output
// after "deploy" is copied to standard output for the given time, with a tick every 200 ms on the
// clock.
class HeadlessSetupFrontEnd : public operations::ConnectedSetupFrontEnd {
public:
    HeadlessSetupFrontEnd(CliEnvironment& env, std::vector<SettingArgument> settings,
                          HeadlessPlan plan);

    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& inputs,
                                                     link::Link& link) override;
    void runDisplay(operations::DeploymentDisplay& display) override;
    void uploadFinished(const operations::UploadRun& run) override;

    // Why the planner gave no plan: kExitRefused for a refused plan, setting or "&Deploy" check,
    // kExitFileFailure for a command file that could not be written, kExitSuccess after a dry
    // run.
    int plannerExitCode() const { return plannerExitCode_; }
    // The refusal's message, for a summary line.
    const std::string& refusal() const { return refusal_; }
    bool dryRunDone() const { return dryRunDone_; }
    // The record was written nowhere (every folder failed).
    bool recordLost() const { return recordLost_; }
    // The downloaded instrument's serial number; none before the download gave the planner its
    // inputs.
    const std::optional<std::string>& serialNumber() const { return serialNumber_; }

private:
    int refuse(int code, std::string message);

    CliEnvironment& env_;
    std::vector<SettingArgument> settings_;
    HeadlessPlan plan_;
    int plannerExitCode_ = kExitSuccess;
    std::string refusal_;
    bool dryRunDone_ = false;
    std::optional<std::string> serialNumber_;
    std::optional<instrument::DeploymentRecord> record_;
    bool recordLost_ = false;
};

} // namespace qpx::cli
