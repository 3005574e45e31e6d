#pragma once

#include "planning/DeploymentPlanner.h"

#include <optional>
#include <string>
#include <vector>

// How the two endurance estimates move with the profiling interval, every other input as
// planned: for the planner's endurance view and qpxctl's sweep table. Each point is the
// estimates' own functions on the planned inputs with only the interval changed.
namespace qpx::planning {

struct EndurancePoint {
    float profilingInterval = 0.0f; // s
    std::optional<float> batteryDays;
    std::optional<float> recorderDays;
    bool planned = false; // the plan's own interval
};

inline constexpr int kSweepPoints = 60;

// From the averaging interval (or the shortest interval "&Deploy" accepts, if longer) to the
// longest it accepts, on a logarithmic grid of kSweepPoints, with the plan's own interval added
// in its place. Empty when the averaging interval is not a positive finite number.
std::vector<EndurancePoint> EnduranceSweep(const DeploymentPlanner& planner);

// An interval as an axis or a table shows it, in the largest unit that keeps it whole or short:
// "30 s", "2 min", "1.5 h".
std::string IntervalText(double seconds);

// Which estimate ends the deployment at the plan's own interval: the shorter one.
enum class EnduranceLimit { Unknown, Battery, Recorder };
EnduranceLimit LimitingEstimate(const std::vector<EndurancePoint>& sweep);

} // namespace qpx::planning
