#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qpx::planning {

// The planner's edit boxes that are checked as the user types, in the order the planner keeps
// their values.
enum class CheckedBox : std::uint8_t {
    Averaging,
    Profiling,
    Cells,
    CellSize,
    Blanking,
    BatteryPacks,
};
inline constexpr std::size_t kCheckedBoxCount = 6;

// What else follows an accepted value, as bits.
enum Recompute : std::uint8_t {
    kRecomputeRange = 1,     // the profiling-range text
    kRecomputePower = 2,     // the power estimate
    kRecomputeFreeSpace = 4, // the free-space estimate, after the power estimate
};

// One box's live check: how its text reads, the smallest reading it takes, its message, and what
// an accepted value recomputes.
struct LiveCheck {
    CheckedBox box;
    int boxId;
    bool integer; // integer reading, else decimal
    // The battery packs take 1 and more; every other box takes any reading above 0.
    bool fromOne;
    const char* message;
    std::uint8_t recomputes;
    // A length box: typing into it drops the exact metres kept behind an English value.
    bool length;

    bool accepts(double reading) const { return fromOne ? reading >= 1.0 : reading > 0.0; }
};

const LiveCheck& LiveCheckFor(CheckedBox box);

} // namespace qpx::planning
