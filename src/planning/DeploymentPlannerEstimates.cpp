#include "model/TextFormat.h"
#include "planning/DeploymentPlanner.h"
#include "planning/DeploymentValues.h"
#include "planning/Endurance.h"

#include <cmath>

// The texts that follow the values: the profiling range and both endurance estimates.
namespace qpx::planning {

void DeploymentPlanner::recompute(std::uint8_t recomputes) {
    if ((recomputes & kRecomputeRange) != 0) {
        updateRangeText();
    }
    if ((recomputes & kRecomputePower) != 0) {
        computePower();
    }
    if ((recomputes & kRecomputeFreeSpace) != 0) {
        computeFreeSpace();
    }
}

float DeploymentPlanner::profileEnd() const {
    // Summed in double, as the range text is, so the assistant opens on the end that text shows.
    return static_cast<float>(static_cast<double>(blanking()) + cellSize() * 0.5 +
                              static_cast<double>(cellSize()) * cells());
}

void DeploymentPlanner::updateRangeText() {
    // Summed in double from the float values: in float, blanking 0.1 m plus half of 0.31 m
    // comes to 0.2549999 and would show as 0.25.
    const double first = cellSize() * 0.5 + static_cast<double>(blanking());
    const double last = first + static_cast<double>(cellSize()) * cells();
    if (!std::isfinite(first) || !std::isfinite(last)) {
        rangeText_ = std::string(kUnavailableText);
        return;
    }
    rangeText_ = model::FormatText(metric() ? "Profiling Range: %6.2f - %6.2f m"
                                            : "Profiling Range: %6.2f - %6.2f ft",
                                   first, last);
}

FreeSpaceInputs DeploymentPlanner::freeSpaceInputs() const {
    const model::SystemConfiguration& system = inputs_.system;
    const model::UserSetup& user = inputs_.user;
    FreeSpaceInputs in;
    in.bytesPerProfile =
        BytesPerProfile({cells(), system.numberOfBeams, user.userByte245, user.pulseCoherentMode,
                         system.ctdSensorInstalled, system.extSensorInstalled});
    in.waves = waves_;
    in.waveSeriesRecorded =
        WaveSeriesRecorded(waves_.recordEvery, inputs_.wavesOption, inputs_.planning);
    in.sampling = {averagingInterval(), profilingInterval(), advanced_.burstMode,
                   advanced_.burstInterval, advanced_.profilesPerBurst};
    in.freeBytes = RecorderFreeBytes(inputs_.planning, inputs_.planningRecorderBytes,
                                     inputs_.recorder, system.structureVersion);
    return in;
}

PowerInputs DeploymentPlanner::powerInputs() const {
    PowerInputs in;
    in.sampling = {averagingInterval(), profilingInterval(), advanced_.burstMode,
                   advanced_.burstInterval, advanced_.profilesPerBurst};
    in.waves = waves_;
    in.wavesOption = inputs_.wavesOption;
    in.batteryType = batteryType_;
    in.batteryPacks = batteryPacks();
    in.systemFrequency = inputs_.system.systemFrequency;
    return in;
}

void DeploymentPlanner::computeFreeSpace() {
    DaysEstimate estimate = FreeSpaceEndurance(freeSpaceInputs());
    freeSpaceDays_ = estimate.days;
    freeSpaceText_ = std::move(estimate.text);
}

void DeploymentPlanner::computePower() {
    PowerEstimate estimate = PowerEndurance(powerInputs());
    if (estimate.boxesUpdated) {
        capacityText_ = std::move(estimate.capacityText);
        powerDrawText_ = std::move(estimate.drawText);
    }
    powerText_ = std::move(estimate.days.text);
}

} // namespace qpx::planning
