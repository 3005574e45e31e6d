#pragma once

#include "link/Clock.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/Units.h"
#include "model/UserSetup.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qpx::planning {

// The values the planner hands to its sub-dialogs and gets back from them, what it is opened
// with, and what "&Deploy" hands back. Plain values; the planner and its sub-dialog models
// each work on their own copies.

// An estimate or derived view value whose inputs do not allow it (an instrument's UserSetup can
// hold a burst interval, profiles per burst or systemResLag of 0, which no dialog accepts) is
// shown as this text instead of inf, nan or the result of a division by zero. Every model uses
// the same one.
inline constexpr std::string_view kUnavailableText = "";

// The sound-speed and burst settings, edited by the advanced settings dialog.
struct AdvancedBlock {
    int temperatureMode = 0;    // 0 user value, 1 measured
    float temperatureC = 0.0f;  // defaultTemperature x 0.1, degrees Celsius
    float salinity = 0.0f;      // salinity x 0.1, ppt
    int burstMode = 0;          // 0 disabled, 1 enabled
    float burstInterval = 0.0f; // seconds
    int profilesPerBurst = 0;

    friend bool operator==(const AdvancedBlock&, const AdvancedBlock&) = default;
};

// The wave-series settings, edited by the waves settings dialog.
struct WaveBlock {
    int recordEvery = 0; // waveInterval: a series every N profiles, 0 = off
    int rateIndex = 0;   // bits 2-3 of waveOptions: 0 1 Hz, 1 2 Hz, 2 4 Hz
    int waveType = 0;    // bits 4-5 of waveOptions + 1: 1 P series, 2 PUV series (0 "None")
    int length = 0;      // waveSamples, samples per series

    friend bool operator==(const WaveBlock&, const WaveBlock&) = default;
};

// The recorder as its directory reports it. 64-bit: cards beyond 2 GB exist, and a 32-bit
// difference would turn their free space negative.
struct RecorderSpace {
    std::int64_t capacityBytes = 0;
    std::int64_t usedBytes = 0;

    friend bool operator==(const RecorderSpace&, const RecorderSpace&) = default;
};

// The instrument's clock read beside the computer's (the System Time window, the review's
// "Check Clock").
struct ClockReading {
    link::CalendarTime computer; // local time
    int utcOffsetSeconds = 0;    // of the computer's local time
    link::CalendarTime instrument;

    friend bool operator==(const ClockReading&, const ClockReading&) = default;
};

// Everything the planner is opened with. In planning mode the structures are the default copies,
// `planningRecorderBytes` stands in for the recorder and `recorder` is not read.
struct PlannerInputs {
    model::SystemConfiguration system;
    model::UserSetup user;
    model::OperationConfiguration operation;
    model::UnitSystem unitSystem = model::kMetricUnits;
    int wavesOption = 0; // a model::WavesOption
    bool planning = false;
    std::int64_t planningRecorderBytes = 0;
    RecorderSpace recorder;
};

// What a successful "&Deploy" hands back, in the units change detection compares in: seconds,
// metres, degrees Celsius, ppt. Lengths the user never typed into are the exact metre values the
// UserSetup gave (cm x 0.01), also in English units, so they convert back to the same
// centimetres; a typed length is the typed value converted from feet where English.
struct AcceptedPlan {
    std::string fileName;
    link::CalendarTime start;
    std::array<std::string, 3> comments;
    // Seconds. For a PC-QPX the UserSetup holds tenths of a second (see pulseCoherent), so the
    // planner shows stored x 0.1 and an untouched interval is exactly that float again.
    float averagingInterval = 0.0f;
    float profilingInterval = 0.0f;
    int coordinateIndex = 0; // 0 Beam, 1 XYZ, 2 ENU
    int cells = 0;
    float cellSize = 0.0f; // metres
    float blanking = 0.0f; // metres
    int outputIndex = 0;   // 0 Auto, 1 Polled
    int recorderEnabledIndex = 1;
    AdvancedBlock advanced;
    WaveBlock waves;
    // The UserSetup's pulseCoherentMode was set: averagingInterval and profilingInterval are
    // stored (and compared) in tenths, i.e. seconds x 10 to the nearest integer.
    bool pulseCoherent = false;

    friend bool operator==(const AcceptedPlan&, const AcceptedPlan&) = default;
};

} // namespace qpx::planning
