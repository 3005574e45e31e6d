#pragma once

#include "model/Units.h"
#include "planning/Checked.h"
#include "planning/DialogMessage.h"

#include <optional>
#include <string>

namespace qpx::planning {

// Limits the assistant works within, all in the display unit (metres, or feet truncated to two
// decimals in English units). Always the standard columns, even for a PC-QPX.
struct AssistantLimits {
    float minCellSize = 0.0f;
    float maxCellSize = 0.0f;
    float minBlanking = 0.0f;
    float maxBlanking = 0.0f;
    float maxRange = 0.0f;

    friend bool operator==(const AssistantLimits&, const AssistantLimits&) = default;
};

// The standard limits of a frequency index in the display unit of `unitSystem` (1 metric), as the
// planner hands them to the assistant when it opens.
AssistantLimits AssistantLimitsFor(int systemFrequency, model::UnitSystem unitSystem);

// A suggested profile; a failed suggestion is 0 cells of size 0 with blanking 0.
struct ProfileSuggestion {
    int cells = 0;
    float cellSize = 0.0f;
    float blanking = 0.0f;

    bool succeeded() const { return cells > 0; }
    friend bool operator==(const ProfileSuggestion&, const ProfileSuggestion&) = default;
};

// The fewest cells (25, else 50, else 75 at most) that cover `maximumRange` beyond the min
// blanking, at the min cell size or at the smallest tenth-step size that is enough. Fails for a
// negative or non-finite range, for limits that were never set, and when no size within the max
// cell size reaches.
ProfileSuggestion SuggestProfile(float maximumRange, const AssistantLimits& limits);

// "Profiling Range: %6.2f - %6.2f m" (or "ft") for a profile in the display unit.
std::string ProfilingRangeText(int cells, float cellSize, float blanking, bool metric);

// What "Transfer Values            >>>" hands the planner: the suggestion as the assistant's
// boxes show it, for the planner to take as typed into its own boxes (1008, 1009, 1014).
struct ProfileTransfer {
    std::string cellsText;
    std::string cellSizeText;
    std::string blankingText;
    int cells = 0;
    float cellSize = 0.0f;
    float blanking = 0.0f;
};

// Where the assistant window goes on one tick of its slide, in the planner's screen pixels.
struct AssistantPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One timer tick of the slide: place the window (behind the planner, without activating it) if
// `placement` is set, make it visible when `show` is set, hide it when `hide` is set, and restart
// the timer with `nextTimerMs` unless it is 0 (the slide has ended).
struct SlideTick {
    std::optional<AssistantPlacement> placement;
    bool show = false;
    bool hide = false;
    int nextTimerMs = 0;
};

// Model of the ProfileAssistantDialog (template 231, "Profile Assistant"): a modeless window the
// planner owns. The planner sets the unit system, the limits and the maximum range when it opens
// (see open()); the front end forwards the edit's text and the button and timer events.
class ProfileAssistant {
public:
    static constexpr int kMaximumRangeId = 1287;
    static constexpr int kTransferId = 1288;
    static constexpr int kCellsId = 1008;
    static constexpr int kCellSizeId = 1009;
    static constexpr int kBlankingId = 1010;
    static constexpr int kRangeTextId = 1276;
    static constexpr int kWidth = 273;
    static constexpr int kHeight = 221;
    static constexpr int kFirstTimerMs = 500;
    static constexpr int kSlideTimerMs = 10;

    ProfileAssistant() = default;

    // Everything the planner sets at each opening: the window starts hidden, its maximum range
    // is the far end of the planner's current profile, and a suggestion is made at once (without
    // the maximum-depth message, which only typing raises).
    void open(model::UnitSystem unitSystem, const AssistantLimits& limits, float maximumRange);
    void setUnitSystem(model::UnitSystem unitSystem);
    void setLimits(const AssistantLimits& limits);
    // Sets the value and the edit's text and makes a new suggestion.
    void setMaximumRange(float maximumRange);

    // Edit 1287 changed. A text that is not (yet) a number changes nothing and shows nothing; a
    // range beyond the instrument's gives the maximum-depth message. A suggestion is made in
    // every other case, also after that message.
    std::optional<DialogMessage> maximumRangeChanged(const std::string& text);

    // "Transfer Values            >>>": either the values for the planner or the message (a
    // maximum range that is not a number gets "Please enter a number.").
    using TransferResult = Checked<ProfileTransfer>;
    TransferResult transferValues() const;

    // Shown texts.
    const std::string& maximumRangeText() const { return maximumRangeText_; }
    std::string cellsText() const;
    std::string cellSizeText() const;
    std::string blankingText() const;
    std::string rangeText() const;
    std::string maximumLabel() const;
    std::string cellSizeLabel() const;
    std::string blankingLabel() const;
    static const char* instructionText();

    float maximumRange() const { return maximumRange_; }
    const ProfileSuggestion& suggestion() const { return suggestion_; }
    const AssistantLimits& limits() const { return limits_; }
    bool metric() const { return model::IsMetric(unitSystem_); }

    // Slide state. toggle() starts a slide and returns the first timer delay; the planner's
    // button then reads toggleButtonText(). tick() takes the planner's window position at that
    // moment; a tick after the slide has ended does nothing.
    bool hidden() const { return hidden_; }
    int toggle();
    SlideTick tick(int plannerLeft, int plannerTop);
    std::string toggleButtonText() const;

private:
    void suggest();

    model::UnitSystem unitSystem_ = model::kMetricUnits;
    AssistantLimits limits_;
    float maximumRange_ = 0.0f;
    std::string maximumRangeText_ = "0";
    ProfileSuggestion suggestion_;
    bool hidden_ = true;
    bool sliding_ = false;
    int counter_ = 1;
};

} // namespace qpx::planning
