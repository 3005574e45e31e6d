#pragma once

#include "link/Clock.h"
#include "link/Link.h"
#include "planning/DeploymentPlanner.h"
#include "planning/DeploymentValues.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The last look between a plan "&Deploy" accepted and the upload: the instrument, the start, the
// estimates and the exact command lines, with warnings that do not block.
namespace qpx::instrument {

inline constexpr std::string_view kReviewTitle = "Deployment Review";
inline constexpr std::string_view kReviewDeployText = "&Deploy";
inline constexpr std::string_view kReviewBackText = "&Back to Planner";
inline constexpr std::string_view kCheckClockText = "Check &Clock";
inline constexpr std::string_view kPlannedDurationLabel = "Planned duration (days)";
inline constexpr std::string_view kRemarksLabel = "Operator and remarks";
inline constexpr int kFarAheadDays = 30;
inline constexpr std::int64_t kClockOffLimitSeconds = 60;

enum class ReviewWarningId {
    StartInPast,
    StartFarAhead,
    BatteryLimits,   // the battery runs out before the planned duration, the recorder after it
    RecorderLimits,  // the recorder fills before the planned duration, the battery after it
    DurationTooLong, // the planned duration is longer than both estimates
    RecorderNotEmpty,
    ClockOff,
    WavesWithoutOption,
};

struct ReviewWarning {
    ReviewWarningId id;
    std::string text;
};

// What the warnings are worked out from, as plain values.
struct ReviewFacts {
    link::CalendarTime now; // the computer's local time
    link::CalendarTime start;
    std::optional<float> batteryDays;
    std::optional<float> recorderDays;
    std::optional<double> plannedDays;
    std::int64_t recorderUsedBytes = 0;
    std::optional<std::int64_t> clockOffsetSeconds; // instrument minus computer
    int waveSeriesEvery = 0;                        // the plan's "record a series every N"
    int wavesOption = 0;
};

ReviewFacts FactsOf(const planning::DeploymentPlanner& planner, const planning::AcceptedPlan& plan,
                    const link::CalendarTime& now);

// In a fixed order: start, estimates, recorder, clock, waves. The two estimates are shown in
// every review; which one ends the deployment is a warning only against a planned duration it
// does not reach, so a plan with no duration, or one both estimates cover, has none.
std::vector<ReviewWarning> ReviewWarnings(const ReviewFacts& facts);

// Instrument minus computer, whole seconds: positive when the instrument is ahead.
std::int64_t ClockOffsetSeconds(const planning::ClockReading& reading);
// "+9 s (the instrument is ahead)", "-75 s (the instrument is behind)", "0 s".
std::string ClockOffsetText(std::int64_t seconds);
// "in 2 d 03:15:00", "3 min 05 s ago", "now".
std::string FromNowText(const link::CalendarTime& now, const link::CalendarTime& start);

struct ReviewLine {
    std::string key; // JSON name in the record
    std::string label;
    std::string text;
};

struct DeploymentReview {
    std::vector<ReviewWarning> warnings;
    std::vector<ReviewLine> instrument;
    std::vector<ReviewLine> start;
    std::vector<ReviewLine> estimates;
    std::vector<std::string> commands; // the upload's lines after its wake-up, without CR
};

DeploymentReview MakeDeploymentReview(const planning::DeploymentPlanner& planner,
                                      const planning::AcceptedPlan& plan,
                                      const link::InstrumentIdentity& identity,
                                      const link::CalendarTime& now);

// The review for a console: warnings first ("Warning: ..."), then the sections and the numbered
// command lines.
std::string FormatReviewText(const DeploymentReview& review);

} // namespace qpx::instrument
