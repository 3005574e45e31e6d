#include "cli/Commands.h"
#include "cli/ReportSections.h"
#include "model/TextFormat.h"
#include "planning/PlanDeployment.h"
#include "planning/SystemInformation.h"

#include <algorithm>

namespace qpx::cli {
namespace {

// The System Information dialog's lists hold the only choices a plan can start from.
std::optional<int> FrequencyIndex(int kilohertz) {
    const std::string entry = model::FormatText("%d kHz", kilohertz);
    const auto& entries = planning::kFrequencyEntries;
    const auto found = std::find(entries.begin(), entries.end(), entry);
    if (found == entries.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - entries.begin());
}

bool OfferedRecorderSize(int megabytes) {
    for (int index = 0; index < static_cast<int>(planning::kRecorderSizeEntries.size()); ++index) {
        if (planning::RecorderSizeMegabytes(index) == megabytes) {
            return true;
        }
    }
    return false;
}

} // namespace

int RunPlan(CliEnvironment& env, const PlanOptions& options) {
    const auto frequency = FrequencyIndex(options.frequencyKhz);
    if (!frequency) {
        env.err << "--frequency takes 3000, 1500, 750, 500, 250, 1000 or 5000 (kHz).\n";
        return kExitUsage;
    }
    if (!OfferedRecorderSize(options.recorderMegabytes)) {
        env.err << "--recorder-mb takes 5, 10, 20, 32, 40, 85, 192, 340, 660 or 880.\n";
        return kExitUsage;
    }
    const auto settings = ParseSettings(options.settings, env.err);
    if (!settings) {
        return kExitUsage;
    }

    planning::SystemChoice choice;
    choice.frequencyIndex = *frequency;
    choice.recorderSizeMegabytes = options.recorderMegabytes;
    choice.wavesOption = options.wavesOption;
    planning::DeploymentPlanner planner;
    planner.open(planning::PlanDeployment(options.output.unitSystem, choice),
                 env.clock.localTime());
    if (const int code = ApplySettings(planner, *settings, env.err); code != kExitSuccess) {
        return code;
    }

    Report report;
    auto& system = report.section("system", std::string(planning::kSystemInformationTitle));
    system.add("frequency", std::string(planning::kFrequencyListLabel) + ":",
               std::string(planning::kFrequencyEntries[static_cast<std::size_t>(*frequency)]));
    system.add("recorder-size", std::string(planning::kRecorderSizeListLabel),
               model::FormatText("%d MB", options.recorderMegabytes));
    system.add("waves-option", std::string(planning::kWavesOptionListLabel),
               std::string(planning::kWavesOptionEntries[static_cast<std::size_t>(
                   std::clamp(options.wavesOption, 0, 2))]));
    // The boxes as typed: a "&Deploy" that passes shows English lengths in metres as it closes.
    AddPlannerSections(report, planner);
    // "&Deploy" is disabled in planning mode; its checks still tell whether the plan would pass.
    const auto deploy = planner.deploy();
    std::optional<std::string> refusal;
    if (deploy.message) {
        refusal = deploy.message->text;
    }
    AddDeployCheckSection(report, refusal);
    PrintReport(env, report, options.output.json);
    if (refusal) {
        env.err << *refusal << '\n' << std::flush;
        return kExitRefused;
    }
    return kExitSuccess;
}

} // namespace qpx::cli
