#include "planning/SystemLimits.h"

#include <algorithm>
#include <cstddef>

namespace qpx::planning {

const SystemLimits& SystemLimitsFor(int frequencyIndex) {
    return kSystemLimits[static_cast<std::size_t>(
        std::clamp(frequencyIndex, 0, kFrequencyCount - 1))];
}

ProfileBounds ProfileLimits(int systemFrequency, int pulseCoherentMode) {
    const SystemLimits& row = SystemLimitsFor(systemFrequency);
    if (pulseCoherentMode != 0) {
        return {row.pcMinBlanking, row.pcMaxRange - row.pcMinCellSize, row.pcMaxRange,
                row.pcMinCellSize, row.pcMaxCellSize};
    }
    return {row.minBlanking, row.maxRange - row.minCellSize, row.maxRange, row.minCellSize,
            row.maxCellSize};
}

const BatteryRating& BatteryRatingFor(int batteryIndex) {
    const int last = static_cast<int>(kBatteryRatings.size()) - 1;
    return kBatteryRatings[static_cast<std::size_t>(std::clamp(batteryIndex, 0, last))];
}

float PingPower(int systemFrequency) {
    return systemFrequency == 1 ? 2.5f : 3.0f;
}

std::int16_t WaveSampleRate(int rateIndex) {
    if (rateIndex < 0 || static_cast<std::size_t>(rateIndex) >= kWaveSampleRates.size()) {
        return 1;
    }
    return kWaveSampleRates[static_cast<std::size_t>(rateIndex)];
}

std::optional<std::string_view> WaveTypeCommandWord(int waveType) {
    if (waveType < 1 || static_cast<std::size_t>(waveType) > kWaveTypeCommandWords.size()) {
        return std::nullopt;
    }
    return kWaveTypeCommandWords[static_cast<std::size_t>(waveType - 1)];
}

} // namespace qpx::planning
