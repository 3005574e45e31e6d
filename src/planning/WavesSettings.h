#pragma once

#include "planning/Checked.h"
#include "planning/DeploymentValues.h"
#include "planning/DialogMessage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::planning {

// The wave-duration rule, shared by the waves dialog and the planner's validation on "&Deploy"
// (which calls CheckWaveDuration, so both judge a plan alike).

// Seconds one wave series lasts: length / sample rate (1, 2 or 4 Hz by rate index, any other
// index 1 Hz), an unsigned integer division. A negative length counts as 0.
std::uint32_t WaveSeriesDuration(int length, int rateIndex);

// A series fits when it ends at least 15 s before the next profile's averaging starts:
// fails when profiling - averaging - 15 < duration.
bool WaveDurationFits(std::uint32_t duration, float averagingInterval, float profilingInterval);

// "Duration of WaveSeries (%.0fs) must be at least 15 sec less than\nProfiling Interval -
// Averaging Interval" with the duration.
std::string WaveDurationMessage(std::uint32_t duration);

// Whether the plan records wave series at all. recordEvery 0 records none; neither does an
// instrument without the waves option, so in planning mode with waves option 0 the default
// UserSetup's waveInterval of 4 is left out. A connected instrument's own setup is taken as it
// is, whatever its waves option.
bool WaveSeriesRecorded(int recordEvery, int wavesOption, bool planning);

// The rule as validation applies it: the message when the plan records wave series that do not
// fit, nothing otherwise.
std::optional<std::string> CheckWaveDuration(const WaveBlock& waves, float averagingInterval,
                                             float profilingInterval, int wavesOption,
                                             bool planning);

// Model of the WavesSettingsDialog (template 132, "Waves Settings"). Opened only when the waves
// option is not 0; works on its own copy of the planner's WaveBlock and hands it back only from a
// successful ok(). The front end forwards every text change and selection change and shows the
// returned message (also openingMessage(), once, when the dialog appears).
class WavesSettings {
public:
    static constexpr int kRecordEveryId = 1000;
    static constexpr int kDurationId = 1001;
    static constexpr int kLengthId = 1002;
    static constexpr int kTypeId = 1003;
    static constexpr int kRateId = 1040;

    static constexpr std::array<std::string_view, 3> kRateList{"     1 Hz", "     2 Hz",
                                                               "     4 Hz"};

    WavesSettings(int wavesOption, float averagingInterval, float profilingInterval,
                  const WaveBlock& block);

    // The duration rule's message at opening, when the passed values already break it.
    const std::optional<DialogMessage>& openingMessage() const { return openingMessage_; }

    // Events.
    void recordEveryTextChanged(std::string text);
    std::optional<DialogMessage> lengthTextChanged(std::string text);
    std::optional<DialogMessage> rateSelected(int index);
    void typeSelected(int index);

    // "OK": the four values or the framework's range message for N or the length. A combo with
    // no entry selected hands back the value it was opened with.
    using OkResult = Checked<WaveBlock>;
    OkResult ok() const;

    // Shown texts and states.
    const std::string& recordEveryText() const { return recordEveryText_; }
    const std::string& lengthText() const { return lengthText_; }
    std::string durationText() const;
    std::uint32_t duration() const { return duration_; }
    int rateSelection() const; // -1: no entry selected
    int typeSelection() const; // -1: no entry selected
    std::vector<std::string_view> typeList() const;
    bool detailsEnabled() const { return detailsEnabled_; } // rate, length and type controls
    static const char* groupText() { return "Waves Series Settings:"; }
    static const char* noteText() { return "(Note: A value of 0 will turn wave recording off)"; }

private:
    std::optional<DialogMessage> applyDurationRule();

    int wavesOption_;
    float averagingInterval_;
    float profilingInterval_;
    std::string recordEveryText_;
    std::string lengthText_;
    int recordEvery_;
    int rateIndex_;
    int waveType_;
    std::uint32_t length_ = 0;
    std::uint32_t duration_ = 0;
    bool detailsEnabled_ = false;
    std::optional<DialogMessage> openingMessage_;
};

} // namespace qpx::planning
