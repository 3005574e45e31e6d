#include "planning/DeploymentPlanner.h"
#include "planning/PlannerText.h"

#include <utility>

// "&Deploy": the screen read and judged, and the plan that passed.
namespace qpx::planning {

DeploymentScreen DeploymentPlanner::screen() const {
    const CheckedEdit& cellSize = edit(CheckedBox::CellSize);
    const CheckedEdit& blanking = edit(CheckedBox::Blanking);
    return DeploymentScreen{fileName_,           comments_,          averagingText(),
                            profilingText(),     cellsText(),        cellSize.text,
                            blanking.text,       batteryPacksText(), cellSize.exactMetres,
                            blanking.exactMetres};
}

void DeploymentPlanner::takeEntries(const DeploymentEntries& entries) {
    setValue(CheckedBox::Averaging, entries.averagingInterval);
    setValue(CheckedBox::Profiling, entries.profilingInterval);
    setValue(CheckedBox::Cells, entries.cells);
    setValue(CheckedBox::CellSize, entries.cellSize);
    setValue(CheckedBox::Blanking, entries.blanking);
    setValue(CheckedBox::BatteryPacks, entries.batteryPacks);
}

std::int64_t DeploymentPlanner::recorderSpace() const {
    if (inputs_.planning) {
        return inputs_.planningRecorderBytes;
    }
    return inputs_.recorder.capacityBytes - inputs_.recorder.usedBytes;
}

ValidationContext DeploymentPlanner::validationContext() const {
    ValidationContext context;
    context.metric = metric();
    context.pulseCoherent = pulseCoherent_;
    context.systemFrequency = inputs_.system.systemFrequency;
    context.recorderSpaceBytes = recorderSpace();
    context.waves = waves_;
    context.wavesOption = inputs_.wavesOption;
    context.planning = inputs_.planning;
    return context;
}

AcceptedPlan DeploymentPlanner::acceptedPlan(const ValidatedValues& values) const {
    AcceptedPlan plan;
    plan.fileName = fileName_;
    plan.start = start_;
    plan.comments = comments_;
    plan.averagingInterval = values.averagingInterval;
    plan.profilingInterval = values.profilingInterval;
    plan.coordinateIndex = coordinate_;
    plan.cells = values.cells;
    plan.cellSize = values.cellSizeMetres;
    plan.blanking = values.blankingMetres;
    plan.outputIndex = outputMode_;
    plan.recorderEnabledIndex = recorderEnabled_;
    plan.advanced = advanced_;
    plan.waves = waves_;
    plan.pulseCoherent = pulseCoherent_;
    return plan;
}

DeploymentPlanner::DeployResult DeploymentPlanner::deploy() {
    const ScreenReading reading = ReadDeploymentScreen(screen());
    if (!reading.value) {
        return {std::nullopt, reading.message};
    }
    takeEntries(*reading.value);

    const ValidationResult result = ValidateDeployment(*reading.value, validationContext());
    if (!result.ok()) {
        return {std::nullopt, result.message};
    }
    const ValidatedValues& values = *result.value;

    // The boxes show what is handed back, in metres, as the dialog closes.
    for (auto [box, metres] : {std::pair{CheckedBox::CellSize, values.cellSizeMetres},
                               std::pair{CheckedBox::Blanking, values.blankingMetres}}) {
        edit(box).text = planner::FloatText(metres);
        edit(box).exactMetres = metres;
    }
    return {acceptedPlan(values), std::nullopt};
}

} // namespace qpx::planning
