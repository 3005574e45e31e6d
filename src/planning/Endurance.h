#pragma once

#include "planning/DeploymentValues.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qpx::planning {

// What one recorded profile is made of.
struct ProfileRecordLayout {
    int cells = 0;                  // taken as unsigned 16 bits, like the instrument
    std::uint8_t numberOfBeams = 0; // read as a signed byte, then unsigned 16 bits
    std::uint8_t userByte245 = 0;   // 0, 1 or 2
    std::uint8_t pulseCoherentMode = 0;
    std::uint8_t ctdSensorInstalled = 0;
    std::uint8_t extSensorInstalled = 0;
};

// Bytes of one recorded profile. 64-bit: 65535 cells of 65535 beams would overflow an int.
std::int64_t BytesPerProfile(const ProfileRecordLayout& layout);

// How often the instrument samples.
struct SamplingScheme {
    float averagingInterval = 0.0f; // s
    float profilingInterval = 0.0f; // s
    int burstMode = 0;              // 1 enabled
    float burstInterval = 0.0f;     // s
    int profilesPerBurst = 0;
};

// Recorder bytes a deployment can still fill: the planning recorder size in planning mode,
// otherwise capacity - used - the file header (320 bytes plus the SystemConfiguration, 64 bytes
// up to structureVersion 1 and 96 after). 64-bit throughout, so cards beyond 2 GB stay positive.
std::int64_t RecorderFreeBytes(bool planning, std::int64_t planningRecorderBytes,
                               const RecorderSpace& recorder, std::uint8_t structureVersion);

// An estimate in days with its summary text. `days` is empty, and the text kUnavailableText,
// when the inputs do not allow an estimate (it would divide by zero or not be finite).
struct DaysEstimate {
    std::optional<float> days;
    std::string text;
};

struct FreeSpaceInputs {
    std::int64_t bytesPerProfile = 0;
    WaveBlock waves;
    // Whether wave series are recorded at all (see WaveSeriesRecorded); when not, the wave block
    // adds nothing.
    bool waveSeriesRecorded = false;
    SamplingScheme sampling;
    std::int64_t freeBytes = 0; // RecorderFreeBytes
};

// Days the recorder's free space lasts, with "%.2f days of Data Collection remaining." or, under
// one day, "%.1f hours of Data Collection remaining.". No free space gives 0 days.
DaysEstimate FreeSpaceEndurance(const FreeSpaceInputs& inputs);

struct PowerInputs {
    SamplingScheme sampling;
    WaveBlock waves;
    int wavesOption = 0; // without the option no wave series draws power
    int batteryType = 0; // Battery Pack Type list position
    int batteryPacks = 1;
    int systemFrequency = 0;
};

struct PowerEstimate {
    // False when an interval is exactly 0: then only the summary text is cleared, and the
    // capacity and draw boxes keep what they showed.
    bool boxesUpdated = false;
    float capacityWh = 0.0f;
    std::string capacityText; // "%4.1f"
    float drawW = 0.0f;       // ping power: the draw while sampling, not the average
    std::string drawText;     // "%.2f"
    // "Power is sufficient for %.0f days of operation", or kUnavailableText.
    DaysEstimate days;
};

PowerEstimate PowerEndurance(const PowerInputs& inputs);

} // namespace qpx::planning
