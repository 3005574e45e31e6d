#pragma once

#include "planning/Checked.h"
#include "planning/DeploymentValues.h"
#include "planning/DialogMessage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qpx::planning {

// Template ids of the planner's boxes that a failed check puts the focus on.
inline constexpr int kFileNameBoxId = 1034;
inline constexpr int kComment1BoxId = 1021;
inline constexpr int kComment2BoxId = 1026;
inline constexpr int kComment3BoxId = 1029;
inline constexpr int kAveragingBoxId = 1303;
inline constexpr int kProfilingBoxId = 1000;
inline constexpr int kCellsBoxId = 1008;
inline constexpr int kCellSizeBoxId = 1009;
inline constexpr int kBlankingBoxId = 1014;
inline constexpr int kBatteryPacksBoxId = 1015;

// The limits of the plain text boxes.
inline constexpr std::size_t kFileNameMaxChars = 5;
inline constexpr std::size_t kCommentMaxChars = 59;
inline constexpr int kBatteryPacksMin = 1;
inline constexpr int kBatteryPacksMax = 999;

// What the planner's boxes hold when "&Deploy" is pressed: the texts as shown, plus the exact
// metre value behind a length box the user has not typed into (English units show such a value
// truncated to two decimals of a foot; reading that text back would move it).
struct DeploymentScreen {
    std::string fileName;
    std::array<std::string, 3> comments;
    std::string averagingText;
    std::string profilingText;
    std::string cellsText;
    std::string cellSizeText; // display unit
    std::string blankingText; // display unit
    std::string batteryPacksText;
    std::optional<float> cellSizeExactMetres;
    std::optional<float> blankingExactMetres;
};

// The boxes read back as numbers, lengths still in the display unit.
struct DeploymentEntries {
    std::string fileName;
    float averagingInterval = 0.0f;
    float profilingInterval = 0.0f;
    int cells = 0;
    float cellSize = 0.0f;
    float blanking = 0.0f;
    int batteryPacks = 0;
    std::optional<float> cellSizeExactMetres;
    std::optional<float> blankingExactMetres;
};

using ScreenReading = Checked<DeploymentEntries>;

// The field-level read-back that comes first: every number box must hold a number (the whole
// text, not only its start), the file name at most 5 characters, each comment at most 59, the
// battery packs 1 to 999. Messages, focus on the box, its text selected:
//   "The File Name must not be longer than 5 characters."
//   "Each comment must not be longer than 59 characters."
//   "Please enter a number for the <label>." (Averaging Interval, Profiling Interval, Cell Size,
//     Blanking Distance)
//   "Please enter a whole number for the <label>." (Number of Cells, Number of Battery Packs)
//   "Number of Battery Packs should be in the range of 1 to 999."
ScreenReading ReadDeploymentScreen(const DeploymentScreen& screen);

// What the plan is judged against besides the entries.
struct ValidationContext {
    bool metric = true;
    bool pulseCoherent = false;
    int systemFrequency = 0;
    // Capacity minus bytes used (the planning recorder size in planning mode); the file
    // header's 418 bytes are taken off here. 64-bit.
    std::int64_t recorderSpaceBytes = 0;
    WaveBlock waves;
    int wavesOption = 0;
    bool planning = false;
};

// The values that passed, in seconds and metres (after any snapping onto a limit).
struct ValidatedValues {
    float averagingInterval = 0.0f;
    float profilingInterval = 0.0f;
    int cells = 0;
    float cellSizeMetres = 0.0f;
    float blankingMetres = 0.0f;
};

using ValidationResult = Checked<ValidatedValues>;

// The "&Deploy" rules in their fixed order; the first that fails gives its message and the box
// that gets the focus. Unlike the dialogs of old, the focus goes to the box that holds the
// offending value: the profiling interval (1000) for its range, the blanking distance (1014) for
// its range. In English units the total-range message speaks of feet, as its numbers are.
ValidationResult ValidateDeployment(const DeploymentEntries& entries,
                                    const ValidationContext& context);

// The averaging and profiling intervals "&Deploy" accepts, seconds.
struct IntervalLimits {
    float min;
    float max;
};
IntervalLimits SamplingIntervalLimits(bool pulseCoherent);

} // namespace qpx::planning
