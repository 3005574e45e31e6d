#include "fuzz/Harnesses.h"
#include "fuzz/support/FuzzInput.h"
#include "operations/PlanFile.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"
#include "planning/PlanDeployment.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace qpx::fuzz {
namespace {

using operations::PlanDocument;
using operations::PlanOrigin;

// Lines as the reader numbers them: a last line without its line break still counts.
int LineCount(std::string_view text) {
    const auto breaks = std::count(text.begin(), text.end(), '\n');
    return static_cast<int>(breaks) + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void CheckRefusal(const operations::PlanError& error, int lines) {
    Require(!error.reason.empty(), "a plan refused without a reason");
    Require(error.line >= 0 && error.line <= lines, "a refusal on a line the file does not have");
}

// Every value a plan can hold (no line breaks: the reader splits at them) must be writable.
std::string Written(const planning::DeploymentPlanner& planner, const PlanOrigin& origin) {
    const operations::PlanText text = operations::FormatPlan(planner, origin);
    Require(!text.error.has_value(), "a planner opened from a plan whose plan cannot be written");
    return text.text;
}

void CheckOpening(const planning::DeploymentPlanner& fresh, const PlanDocument& plan,
                  const PlanOrigin& origin, int lines) {
    planning::DeploymentPlanner planner = fresh;
    const std::string before = Written(planner, origin);
    const operations::PlanOpened opened = operations::OpenPlan(planner, plan);
    if (opened.error) {
        CheckRefusal(*opened.error, lines);
        Require(Written(planner, origin) == before, "a refused plan changed the planner");
        return;
    }
    const std::string after = Written(planner, origin);
    const operations::PlanRead again = operations::ReadPlan(after);
    Require(again.plan.has_value(), "a plan written that does not read back");

    // The written plan entered into the planner it came from changes nothing...
    planning::DeploymentPlanner same = planner;
    Require(operations::OpenPlan(same, *again.plan).ok(), "a written plan its own planner refuses");
    Require(Written(same, origin) == after, "a written plan that changes its own planner");
    // ...and into the planner as it was before gives the same plan: a saved plan reopens as it
    // was saved.
    planning::DeploymentPlanner reopened = fresh;
    Require(operations::OpenPlan(reopened, *again.plan).ok(),
            "a written plan refused where its own source was taken");
    Require(Written(reopened, origin) == after, "a written plan that reopens to another plan");
}

} // namespace

// The input is a plan file's text. Accepted, it is entered into the planning-mode planner its
// header describes (as `qpxctl plan --plan` opens it) and into a connected-mode planner in the
// other unit system, so that lengths and the temperature are converted on the way in.
int PlanReaderFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = LineCount(text);
    const operations::PlanRead read = operations::ReadPlan(text);
    if (!read.plan) {
        CheckRefusal(read.error, lines);
        return 0;
    }
    const PlanDocument& plan = *read.plan;
    const PlanOrigin origin{plan.header.instrument, plan.header.made};
    const planning::SystemChoice choice = operations::PlanningChoice(plan.header, {});

    planning::DeploymentPlanner planning;
    planning.open(planning::PlanDeployment(plan.header.units, choice), {2001, 7, 4, 9, 0, 0});
    CheckOpening(planning, plan, origin, lines);

    planning::PlannerInputs inputs;
    inputs.system = planning::MakeDefaultSystemConfiguration(choice.frequencyIndex);
    inputs.user = planning::MakeDefaultUserSetup(choice.frequencyIndex);
    inputs.user.pulseCoherentMode = plan.header.pulseCoherent.value_or(false) ? 1 : 0;
    inputs.operation = planning::MakeDefaultOperationConfiguration(choice.frequencyIndex);
    inputs.unitSystem =
        model::IsMetric(plan.header.units) ? model::kEnglishUnits : model::kMetricUnits;
    inputs.wavesOption = 2;
    inputs.recorder = {64ll * 1048576, 0};
    planning::DeploymentPlanner connected;
    connected.open(inputs, {2001, 7, 4, 9, 0, 0});
    CheckOpening(connected, plan, origin, lines);
    return 0;
}

} // namespace qpx::fuzz
