#pragma once

#include <array>
#include <cstddef>

namespace qpx::operations {

// The settings an accepted plan can change, numbered as the upload marks and sends them.
enum class ChangeItem : int {
    DeploymentName = 1,
    StartDateTime = 2, // always marked: the start time is always sent
    Comments = 3,
    AveragingInterval = 4,
    ProfilingInterval = 5,
    CellSize = 6,
    NumberOfCells = 7,
    BlankingDistance = 8,
    CoordinateSystem = 9,
    OutputMode = 10,
    RecorderEnabled = 11, // no command carries it
    TemperatureMode = 12,
    DefaultTemperature = 13,
    DefaultSalinity = 14,
    BurstMode = 15,
    BurstInterval = 16,
    ProfilesPerBurst = 17,
    WaveSeriesRate = 18,
    WaveSeriesType = 19,
    WaveSeriesLength = 20,
    RecordWaveSeriesEvery = 21,
};
inline constexpr int kChangeItemCount = 21;

// One mark per item, all clear to begin with.
class ChangeFlags {
public:
    bool marked(ChangeItem item) const { return marks_[slot(item)]; }
    void mark(ChangeItem item, bool changed = true) { marks_[slot(item)] = changed; }

    // The number of marked items; it sizes the upload's progress bar.
    int changedCount() const {
        int count = 0;
        for (bool mark : marks_) {
            count += mark ? 1 : 0;
        }
        return count;
    }

    friend bool operator==(const ChangeFlags&, const ChangeFlags&) = default;

private:
    static std::size_t slot(ChangeItem item) { return static_cast<std::size_t>(item) - 1; }

    std::array<bool, kChangeItemCount> marks_{};
};

} // namespace qpx::operations
