#pragma once

#include "planning/DeploymentPlanner.h"

#include <optional>
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

} // namespace qpx::planning
