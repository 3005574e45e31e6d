#include "planning/EnduranceSweep.h"

#include "model/TextFormat.h"
#include "planning/DeploymentValidation.h"
#include "planning/Endurance.h"

#include <algorithm>
#include <cmath>

namespace qpx::planning {
namespace {

EndurancePoint PointAt(const DeploymentPlanner& planner, float interval) {
    FreeSpaceInputs recorder = planner.freeSpaceInputs();
    recorder.sampling.profilingInterval = interval;
    PowerInputs battery = planner.powerInputs();
    battery.sampling.profilingInterval = interval;
    EndurancePoint point;
    point.profilingInterval = interval;
    point.recorderDays = FreeSpaceEndurance(recorder).days;
    point.batteryDays = PowerEndurance(battery).days.days;
    return point;
}

} // namespace

std::vector<EndurancePoint> EnduranceSweep(const DeploymentPlanner& planner) {
    const IntervalLimits limits = SamplingIntervalLimits(planner.pulseCoherent());
    const double averaging = planner.averagingInterval();
    std::vector<EndurancePoint> points;
    // No instrument samples without averaging: there is nothing to sweep.
    if (!std::isfinite(averaging) || averaging <= 0.0) {
        return points;
    }
    const double first = std::max(averaging, static_cast<double>(limits.min));
    const double last = limits.max;
    if (first >= last) {
        return points;
    }
    const double ratio = std::log(last / first) / (kSweepPoints - 1);
    for (int i = 0; i < kSweepPoints; ++i) {
        const auto interval = static_cast<float>(first * std::exp(ratio * i));
        points.push_back(PointAt(planner, i == kSweepPoints - 1 ? limits.max : interval));
    }
    const float planned = planner.profilingInterval();
    if (std::isfinite(planned) && planned > 0.0f) {
        EndurancePoint own = PointAt(planner, planned);
        own.planned = true;
        const auto at = std::lower_bound(
            points.begin(), points.end(), planned,
            [](const EndurancePoint& p, float value) { return p.profilingInterval < value; });
        points.insert(at, own);
    }
    return points;
}

std::string IntervalText(double seconds) {
    if (seconds < 60.0) {
        return model::FormatGeneral(seconds, 3) + " s";
    }
    if (seconds < 3600.0) {
        return model::FormatGeneral(seconds / 60.0, 3) + " min";
    }
    return model::FormatGeneral(seconds / 3600.0, 3) + " h";
}

EnduranceLimit LimitingEstimate(const std::vector<EndurancePoint>& sweep) {
    const auto own =
        std::find_if(sweep.begin(), sweep.end(), [](const EndurancePoint& p) { return p.planned; });
    if (own == sweep.end() || !own->batteryDays || !own->recorderDays) {
        return EnduranceLimit::Unknown;
    }
    return *own->batteryDays <= *own->recorderDays ? EnduranceLimit::Battery
                                                   : EnduranceLimit::Recorder;
}

} // namespace qpx::planning
