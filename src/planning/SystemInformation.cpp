#include "planning/SystemInformation.h"

#include "model/TextFormat.h"

#include <algorithm>
#include <string>

namespace qpx::planning {
namespace {

constexpr std::array<int, 10> kRecorderMegabytes{5, 10, 20, 32, 40, 85, 192, 340, 660, 880};
constexpr int kFallbackMegabytes = 32;

template <typename List>
bool InList(const List& list, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

} // namespace

int RecorderSizeMegabytes(int recorderIndex) {
    if (!InList(kRecorderMegabytes, recorderIndex)) {
        return kFallbackMegabytes;
    }
    return kRecorderMegabytes[static_cast<std::size_t>(recorderIndex)];
}

std::int32_t RecorderSizeBytes(int megabytes) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(megabytes) * 1048576);
}

void SystemInformation::frequencySelected(int index) {
    if (InList(kFrequencyEntries, index)) {
        frequencyIndex_ = index;
    }
}

void SystemInformation::recorderSelected(int index) {
    recorderIndex_ = index;
}

void SystemInformation::wavesSelected(int index) {
    if (InList(kWavesOptionEntries, index)) {
        wavesIndex_ = index;
    }
}

SystemChoice SystemInformation::accept() const {
    return {frequencyIndex_, RecorderSizeMegabytes(recorderIndex_), wavesIndex_};
}

std::optional<int> FrequencyIndexOfKhz(int kilohertz) {
    const std::string entry = model::FormatText("%d kHz", kilohertz);
    const auto found = std::find(kFrequencyEntries.begin(), kFrequencyEntries.end(), entry);
    if (found == kFrequencyEntries.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - kFrequencyEntries.begin());
}

bool OfferedRecorderSize(int megabytes) {
    return std::find(kRecorderMegabytes.begin(), kRecorderMegabytes.end(), megabytes) !=
           kRecorderMegabytes.end();
}

} // namespace qpx::planning
