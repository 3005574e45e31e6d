#include "planning/WavesSettings.h"

#include "model/TextFormat.h"
#include "planning/EditReading.h"
#include "planning/SystemLimits.h"

#include <utility>

namespace qpx::planning {
namespace {

constexpr long long kMaxRecordEvery = 255; // waveInterval is one byte
constexpr long long kMinLength = 1;
constexpr long long kMaxLength = 4096;

// The length edit's decimal reading, cut to a whole number of samples. Negative readings count
// as 0 (nothing to show); the top is held well inside what the duration's "%6d" can print.
std::uint32_t LengthReading(const std::string& text) {
    const float reading = DecimalReading(text);
    if (!(reading >= 1.0f)) {
        return 0;
    }
    constexpr float top = 1.0e9f;
    return static_cast<std::uint32_t>(reading >= top ? top : reading);
}

} // namespace

std::uint32_t WaveSeriesDuration(int length, int rateIndex) {
    const auto samples = length > 0 ? static_cast<std::uint32_t>(length) : 0u;
    return samples / static_cast<std::uint32_t>(WaveSampleRate(rateIndex));
}

bool WaveDurationFits(std::uint32_t duration, float averagingInterval, float profilingInterval) {
    return !(profilingInterval - averagingInterval - 15.0f < static_cast<float>(duration));
}

std::string WaveDurationMessage(std::uint32_t duration) {
    return model::FormatText("Duration of WaveSeries (%.0fs) must be at least 15 sec less than\n"
                             "Profiling Interval - Averaging Interval",
                             static_cast<double>(duration));
}

bool WaveSeriesRecorded(int recordEvery, int wavesOption, bool planning) {
    return recordEvery != 0 && !(planning && wavesOption == 0);
}

std::optional<std::string> CheckWaveDuration(const WaveBlock& waves, float averagingInterval,
                                             float profilingInterval, int wavesOption,
                                             bool planning) {
    if (!WaveSeriesRecorded(waves.recordEvery, wavesOption, planning)) {
        return std::nullopt;
    }
    const std::uint32_t duration = WaveSeriesDuration(waves.length, waves.rateIndex);
    if (WaveDurationFits(duration, averagingInterval, profilingInterval)) {
        return std::nullopt;
    }
    return WaveDurationMessage(duration);
}

WavesSettings::WavesSettings(int wavesOption, float averagingInterval, float profilingInterval,
                             const WaveBlock& block)
    : wavesOption_(wavesOption), averagingInterval_(averagingInterval),
      profilingInterval_(profilingInterval),
      recordEveryText_(model::FormatText("%d", block.recordEvery)),
      lengthText_(model::FormatText("%d", block.length)), recordEvery_(block.recordEvery),
      rateIndex_(block.rateIndex), waveType_(block.waveType),
      detailsEnabled_(block.recordEvery != 0) {
    openingMessage_ = applyDurationRule();
}

void WavesSettings::recordEveryTextChanged(std::string text) {
    recordEveryText_ = std::move(text);
    if (recordEveryText_.empty()) {
        detailsEnabled_ = false;
        return;
    }
    recordEvery_ = IntegerReading(recordEveryText_);
    detailsEnabled_ = recordEvery_ != 0;
}

std::optional<DialogMessage> WavesSettings::lengthTextChanged(std::string text) {
    lengthText_ = std::move(text);
    return applyDurationRule();
}

std::optional<DialogMessage> WavesSettings::rateSelected(int index) {
    if (index >= 0 && index < static_cast<int>(kRateList.size())) {
        rateIndex_ = index;
    }
    return applyDurationRule();
}

void WavesSettings::typeSelected(int index) {
    if (index >= 0 && index < static_cast<int>(typeList().size())) {
        waveType_ = index;
    }
}

std::optional<DialogMessage> WavesSettings::applyDurationRule() {
    if (lengthText_.empty()) {
        return std::nullopt;
    }
    length_ = LengthReading(lengthText_);
    if (length_ == 0) {
        return std::nullopt;
    }
    duration_ = length_ / static_cast<std::uint32_t>(WaveSampleRate(rateIndex_));
    if (WaveDurationFits(duration_, averagingInterval_, profilingInterval_)) {
        return std::nullopt;
    }
    // The value stays as typed; "&Deploy" applies the same rule again.
    return DialogMessage{WaveDurationMessage(duration_), kLengthId, true};
}

WavesSettings::OkResult WavesSettings::ok() const {
    // The framework's range checks hold whether or not the edits are enabled.
    const std::optional<long long> recordEvery = model::ParseInteger(recordEveryText_);
    if (!recordEvery || *recordEvery < 0 || *recordEvery > kMaxRecordEvery) {
        return {std::nullopt,
                DialogMessage{"Please enter an integer between 0 and 255.", kRecordEveryId, true}};
    }
    const std::optional<long long> length = model::ParseInteger(lengthText_);
    if (!length || *length < kMinLength || *length > kMaxLength) {
        return {std::nullopt,
                DialogMessage{"Please enter an integer between 1 and 4096.", kLengthId, true}};
    }
    WaveBlock block;
    block.recordEvery = static_cast<int>(*recordEvery);
    block.rateIndex = rateIndex_;
    block.waveType = waveType_;
    block.length = static_cast<int>(*length);
    return {block, std::nullopt};
}

std::string WavesSettings::durationText() const {
    return model::FormatText("%6d", static_cast<int>(duration_));
}

int WavesSettings::rateSelection() const {
    return rateIndex_ >= 0 && rateIndex_ < static_cast<int>(kRateList.size()) ? rateIndex_ : -1;
}

int WavesSettings::typeSelection() const {
    return waveType_ >= 0 && waveType_ < static_cast<int>(typeList().size()) ? waveType_ : -1;
}

std::vector<std::string_view> WavesSettings::typeList() const {
    std::vector<std::string_view> list{"     None", "    P Series"};
    if (wavesOption_ == 2) {
        list.emplace_back("PUV Series");
    }
    return list;
}

} // namespace qpx::planning
