#include "cli/Commands.h"
#include "cli/ReportSections.h"
#include "model/TextFormat.h"
#include "planning/PlanDeployment.h"
#include "planning/SystemInformation.h"
#include "platform/TextFile.h"

#include <algorithm>

namespace qpx::cli {
int RunPlan(CliEnvironment& env, const PlanOptions& options) {
    const auto frequency = planning::FrequencyIndexOfKhz(options.frequencyKhz);
    if (!frequency) {
        env.err << "--frequency takes 3000, 1500, 750, 500, 250, 1000 or 5000 (kHz).\n";
        return kExitUsage;
    }
    if (!planning::OfferedRecorderSize(options.recorderMegabytes)) {
        env.err << "--recorder-mb takes 5, 10, 20, 32, 40, 85, 192, 340, 660 or 880.\n";
        return kExitUsage;
    }
    const PlanAndSettings given =
        ReadPlanAndSettings(options.settings, options.files.plan, env.err);
    if (given.exitCode != kExitSuccess) {
        return given.exitCode;
    }
    const auto& plan = given.plan;

    planning::SystemChoice choice;
    choice.frequencyIndex = *frequency;
    choice.recorderSizeMegabytes = options.recorderMegabytes;
    choice.wavesOption = options.wavesOption;
    if (plan) {
        // The header describes the system the plan was made for; what the command line says
        // explicitly is the user's later word.
        const planning::SystemChoice fromFile = operations::PlanningChoice(plan->header, choice);
        if (!options.frequencyGiven) {
            choice.frequencyIndex = fromFile.frequencyIndex;
        }
        if (!options.recorderGiven) {
            choice.recorderSizeMegabytes = fromFile.recorderSizeMegabytes;
        }
        if (!options.wavesGiven) {
            choice.wavesOption = fromFile.wavesOption;
        }
    }
    planning::DeploymentPlanner planner;
    planner.open(planning::PlanDeployment(options.output.unitSystem, choice),
                 env.clock.localTime());
    if (const int code =
            EnterPlanAndSettings(planner, plan ? &*plan : nullptr, options.files.plan.value_or(""),
                                 given.settings, env.err);
        code != kExitSuccess) {
        return code;
    }
    Report report;
    auto& system = report.section("system", std::string(planning::kSystemInformationTitle));
    system.add(
        "frequency", std::string(planning::kFrequencyListLabel) + ":",
        std::string(planning::kFrequencyEntries[static_cast<std::size_t>(choice.frequencyIndex)]));
    system.add("recorder-size", std::string(planning::kRecorderSizeListLabel),
               model::FormatText("%d MB", choice.recorderSizeMegabytes));
    system.add("waves-option", std::string(planning::kWavesOptionListLabel),
               std::string(planning::kWavesOptionEntries[static_cast<std::size_t>(
                   std::clamp(choice.wavesOption, 0, 2))]));
    // The boxes as typed: a "&Deploy" that passes shows English lengths in metres as it closes.
    AddPlannerSections(report, planner);
    // "&Deploy" is disabled in planning mode; its checks still tell whether the plan would pass.
    // Run on a copy: a "&Deploy" that passes shows English lengths in metres as it closes, and
    // the plan is saved as the boxes were typed.
    planning::DeploymentPlanner checked = planner;
    const auto deploy = checked.deploy();
    std::optional<std::string> refusal;
    if (deploy.message) {
        refusal = deploy.message->text;
    }
    AddDeployCheckSection(report, refusal);
    AddViewSections(report, planner, options.views);
    PrintPlanViews(env.out, report, planner, options.views, options.output.json);
    int code = kExitSuccess;
    if (refusal) {
        env.err << *refusal << '\n' << std::flush;
        code = kExitRefused;
    }
    // A plan the checks refuse is saved all the same: it is what the planner shows, to be mended
    // later, and opening it again runs the same checks.
    if (options.files.save) {
        const int saved =
            SavePlan(planner, {"", platform::LocalTimeStamp()}, *options.files.save, env.err);
        code = std::max(code, saved);
    }
    return code;
}

} // namespace qpx::cli
