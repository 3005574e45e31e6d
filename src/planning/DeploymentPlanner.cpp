#include "planning/DeploymentPlanner.h"

#include "link/CalendarMath.h"
#include "model/DisplayConversions.h"
#include "model/FieldText.h"
#include "model/Units.h"
#include "planning/PlannerText.h"
#include "planning/SystemLimits.h"

#include <cmath>

// Opening: every value loaded from the inputs, in the dialog's order of initialisation.
namespace qpx::planning {
namespace {

using planner::FloatText;
using planner::IntText;

// English display values are cut, not rounded, to two decimals: 1.64042 ft shows as 1.64.
float TruncateToHundredths(float value) {
    return std::trunc(value * 100.0f) / 100.0f;
}

// The instrument's start, or `now` when it holds one no calendar has (day 0, 31 February):
// sending that back would be a wrong command, so the plan starts from the computer's time
// instead, in every front end.
link::CalendarTime HeldStart(const model::UserSetup& user, const link::CalendarTime& now) {
    const link::CalendarTime start{user.startDate.year,   user.startDate.month,
                                   user.startDate.day,    user.startTime.hour,
                                   user.startTime.minute, user.startTime.second};
    return link::IsCalendarTime(start) ? start : now;
}

} // namespace

DeploymentPlanner::CheckedEdits DeploymentPlanner::FreshEdits() {
    CheckedEdits edits;
    // One pack until the user says otherwise.
    edits[static_cast<std::size_t>(CheckedBox::BatteryPacks)] = CheckedEdit{1.0, "1", std::nullopt};
    return edits;
}

void DeploymentPlanner::open(const PlannerInputs& inputs, const link::CalendarTime& now) {
    inputs_ = inputs;
    clockReading_.reset();
    const model::UserSetup& user = inputs_.user;

    assistant_.setUnitSystem(inputs_.unitSystem);
    pulseCoherent_ = user.pulseCoherentMode != 0;

    loadLength(CheckedBox::CellSize, user.cellSize);
    loadLength(CheckedBox::Blanking, user.blankingDistance);

    const AssistantLimits assistantLimits =
        AssistantLimitsFor(inputs_.system.systemFrequency, inputs_.unitSystem);
    assistant_.setLimits(assistantLimits);

    setValue(CheckedBox::Averaging,
             model::IntervalSeconds(user.averagingInterval, user.pulseCoherentMode));
    setValue(CheckedBox::Profiling,
             model::IntervalSeconds(user.profilingInterval, user.pulseCoherentMode));
    coordinate_ = pulseCoherent_ ? 0 : user.coordinateSystem;
    heldCoordinate_ = coordinate_;

    fileName_ = std::string(model::FieldText(user.deploymentName));
    start_ = inputs_.planning ? now : HeldStart(user, now);

    comments_ = {std::string(model::FieldText(user.comment1)),
                 std::string(model::FieldText(user.comment2)),
                 std::string(model::FieldText(user.comment3))};

    recorderEnabled_ = user.recorderEnabled;
    setValue(CheckedBox::Cells, user.numberOfCells);
    outputMode_ = user.outputMode;

    advanced_ = AdvancedBlock{user.temperatureMode,
                              model::TenthsToUnits(user.defaultTemperature),
                              model::TenthsToUnits(user.salinity),
                              user.burstMode,
                              static_cast<float>(user.burstInterval),
                              user.profilesPerBurst};
    waves_ = WaveBlock{user.waveInterval, (user.waveOptions >> 2) & 0x3,
                       ((user.waveOptions >> 4) & 0x3) + 1, user.waveSamples};

    // Whatever the instrument holds, a deployment records.
    recorderEnabled_ = 1;
    edit(CheckedBox::Averaging).text = FloatText(averagingInterval());
    edit(CheckedBox::Profiling).text = FloatText(profilingInterval());
    edit(CheckedBox::Cells).text = IntText(cells());

    assistant_.open(inputs_.unitSystem, assistantLimits, profileEnd());
    updateRangeText();

    // A new window: the estimate boxes start empty.
    capacityText_.clear();
    powerDrawText_.clear();
    powerText_.clear();
    computeFreeSpace();
    computePower();
}

void DeploymentPlanner::loadLength(CheckedBox box, std::uint16_t centimetres) {
    const float metres = model::CentimetresToMetres(centimetres);
    const float shown = metric() ? metres : TruncateToHundredths(model::MetresToFeet(metres));
    edit(box) = CheckedEdit{shown, FloatText(shown), metres};
}

} // namespace qpx::planning
