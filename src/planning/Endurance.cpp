#include "planning/Endurance.h"

#include "model/TextFormat.h"
#include "planning/SystemLimits.h"

#include <algorithm>
#include <cmath>

namespace qpx::planning {
namespace {

// 1/86400 as the single-precision constant the estimate has always used.
constexpr float kDaysPerSecond = 1.1574074e-05f;

// The file header in front of the profiles: 320 bytes and the SystemConfiguration.
constexpr std::int64_t kHeaderBaseBytes = 320;

DaysEstimate Unavailable() {
    return {std::nullopt, std::string(kUnavailableText)};
}

std::uint32_t UnsignedLength(int length) {
    return length > 0 ? static_cast<std::uint32_t>(length) : 0u;
}

} // namespace

std::int64_t BytesPerProfile(const ProfileRecordLayout& layout) {
    const auto cells = static_cast<std::uint16_t>(layout.cells);
    const auto beams = static_cast<std::uint16_t>(static_cast<std::int8_t>(layout.numberOfBeams));
    std::int64_t size = std::int64_t{cells} * beams * 4 + 82;
    if (layout.pulseCoherentMode != 0 || layout.userByte245 == 2) {
        size += 36;
    }
    if (layout.userByte245 != 0) {
        size += 18;
    }
    if (layout.ctdSensorInstalled != 0) {
        size += 16;
    }
    if (layout.extSensorInstalled != 0) {
        size += 8;
    }
    return size;
}

std::int64_t RecorderFreeBytes(bool planning, std::int64_t planningRecorderBytes,
                               const RecorderSpace& recorder, std::uint8_t structureVersion) {
    if (planning) {
        return planningRecorderBytes;
    }
    const std::int64_t header = kHeaderBaseBytes + (structureVersion <= 1 ? 64 : 96);
    return recorder.capacityBytes - recorder.usedBytes - header;
}

DaysEstimate FreeSpaceEndurance(const FreeSpaceInputs& in) {
    std::int64_t perProfile = in.bytesPerProfile;
    if (in.waveSeriesRecorded && in.waves.recordEvery != 0) {
        const std::uint32_t bytesPerSample = in.waves.waveType == 2 ? 9u : 3u;
        perProfile += (UnsignedLength(in.waves.length) * bytesPerSample) /
                      static_cast<std::uint32_t>(in.waves.recordEvery);
    }
    const SamplingScheme& s = in.sampling;
    const float interval = std::max(s.profilingInterval, s.averagingInterval);

    float days = 0.0f;
    if (in.freeBytes > 0 && perProfile > 0) {
        const auto profiles = static_cast<float>(in.freeBytes / perProfile);
        if (s.burstMode == 1 && interval * s.averagingInterval <= s.burstInterval) {
            // A burst interval taken from a UserSetup with 0 profiles per burst has no
            // per-profile time at all.
            if (s.profilesPerBurst == 0) {
                return Unavailable();
            }
            days = s.burstInterval / static_cast<float>(s.profilesPerBurst) * profiles *
                   kDaysPerSecond;
        } else {
            days = profiles * interval * kDaysPerSecond;
        }
    }
    if (!std::isfinite(days)) {
        return Unavailable();
    }
    if (days < 1.0f) {
        // The shown products are formed in double from the float values, as the range texts.
        return {days, model::FormatText("%.1f hours of Data Collection remaining.",
                                        static_cast<double>(days) * 24.0)};
    }
    return {days, model::FormatText("%.2f days of Data Collection remaining.",
                                    static_cast<double>(days))};
}

PowerEstimate PowerEndurance(const PowerInputs& in) {
    PowerEstimate result;
    const SamplingScheme& s = in.sampling;
    if (s.averagingInterval == 0.0f || s.profilingInterval == 0.0f) {
        result.days = Unavailable();
        return result;
    }
    const BatteryRating& rating = BatteryRatingFor(in.batteryType);
    result.boxesUpdated = true;
    result.capacityWh =
        static_cast<float>(in.batteryPacks) * rating.ratingB * rating.ratingA * 0.8f;
    result.capacityText = model::FormatText("%4.1f", static_cast<double>(in.batteryPacks) *
                                                         rating.ratingB * rating.ratingA * 0.8);
    result.drawW = PingPower(in.systemFrequency);
    result.drawText = model::FormatText("%.2f", static_cast<double>(result.drawW));

    float duty = 0.0f;
    if (s.burstMode == 1) {
        // An instrument's UserSetup can hold burst mode with a burst interval of 0.
        if (s.burstInterval == 0.0f) {
            result.days = Unavailable();
            return result;
        }
        duty = static_cast<float>(s.profilesPerBurst) * s.averagingInterval / s.burstInterval;
    } else {
        duty = s.averagingInterval / s.profilingInterval;
    }

    float wave = 0.0f;
    if (in.wavesOption != 0 && in.waves.recordEvery > 0) {
        const float rate = WaveSampleRate(in.waves.rateIndex);
        wave = static_cast<float>(UnsignedLength(in.waves.length)) /
               (static_cast<float>(in.waves.recordEvery) * rate * s.profilingInterval) *
               kWaveSamplingPower;
    }

    const float draw = (duty * result.drawW + wave) * 24.0f;
    if (draw == 0.0f) {
        result.days = Unavailable();
        return result;
    }
    const float days = result.capacityWh / draw;
    if (!std::isfinite(days)) {
        result.days = Unavailable();
        return result;
    }
    result.days = {days, model::FormatText("Power is sufficient for %.0f days of operation",
                                           static_cast<double>(days))};
    return result;
}

} // namespace qpx::planning
