#include "planning/ProfileAssistant.h"

#include "model/TextFormat.h"
#include "model/Units.h"
#include "planning/SystemLimits.h"

#include <array>
#include <cmath>

namespace qpx::planning {
namespace {

// English display values are cut, not rounded, to two decimals.
float FeetTruncated(float metres) {
    const double feet = metres * model::kFeetPerMetre;
    return static_cast<float>(std::trunc(feet * 100.0) / 100.0);
}

bool Finite(const AssistantLimits& limits) {
    return std::isfinite(limits.minCellSize) && std::isfinite(limits.maxCellSize) &&
           std::isfinite(limits.minBlanking) && std::isfinite(limits.maxRange);
}

// Whole part of a quotient plus two, the cell count the assistant works with. Kept in long
// double so that a huge range is compared with the cell limit instead of overflowing an int.
long double CellCount(long double quotient) {
    return std::trunc(quotient) + 2.0L;
}

// Far more trial sizes than any table row needs (25 m in tenths of a foot is 820); only guards
// against a loop without end for limits set by hand.
constexpr int kMaxTrials = 100000;

} // namespace

AssistantLimits AssistantLimitsFor(int systemFrequency, model::UnitSystem unitSystem) {
    const ProfileBounds metres = ProfileLimits(systemFrequency, 0);
    AssistantLimits limits{metres.minCellSize, metres.maxCellSize, metres.minBlanking,
                           metres.maxBlanking, metres.maxRange};
    if (!model::IsMetric(unitSystem)) {
        limits.minCellSize = FeetTruncated(limits.minCellSize);
        limits.maxCellSize = FeetTruncated(limits.maxCellSize);
        limits.minBlanking = FeetTruncated(limits.minBlanking);
        limits.maxBlanking = FeetTruncated(limits.maxBlanking);
        limits.maxRange = FeetTruncated(limits.maxRange);
    }
    return limits;
}

ProfileSuggestion SuggestProfile(float maximumRange, const AssistantLimits& limits) {
    // A negative range would come out as a negative number of cells; limits never set (0) would
    // divide by zero.
    if (!std::isfinite(maximumRange) || maximumRange < 0.0f || !Finite(limits) ||
        !(limits.minCellSize > 0.0f) || !(limits.maxCellSize > 0.0f)) {
        return {};
    }
    const float span = maximumRange - limits.minBlanking;
    const float cap = limits.maxCellSize + 0.01f;
    const auto rounded = static_cast<long long>(limits.minCellSize * 20.0f + 0.5f);
    const float start = 0.05f * static_cast<float>(2 * (rounded % 2) + 2);

    for (const int cellLimit : std::array{25, 50, 75}) {
        const long double atMinimum = CellCount(span / limits.minCellSize);
        if (atMinimum <= cellLimit) {
            // Below the min blanking the span is negative; no cell at all is no profile either.
            if (atMinimum < 1.0L) {
                return {};
            }
            return {static_cast<int>(atMinimum), limits.minCellSize, limits.minBlanking};
        }
        // The trial size is summed from the float 0.1 in extended precision, so after a few
        // steps it lies a little above the decimal it reads as.
        long double trial = start;
        for (int i = 0; i < kMaxTrials && trial <= cap; ++i, trial += 0.1f) {
            const long double cells = CellCount(span / trial);
            if (cells <= cellLimit) {
                // The 0.01 margin of the loop lets a size just above the max cell size through.
                if (trial > limits.maxCellSize || cells < 1.0L) {
                    return {};
                }
                return {static_cast<int>(cells), static_cast<float>(trial), limits.minBlanking};
            }
        }
    }
    return {};
}

std::string ProfilingRangeText(int cells, float cellSize, float blanking, bool metric) {
    const double first = cellSize * 0.5 + blanking;
    const double last = first + static_cast<double>(cellSize) * cells;
    return model::FormatText(metric ? "Profiling Range: %6.2f - %6.2f m"
                                    : "Profiling Range: %6.2f - %6.2f ft",
                             first, last);
}

void ProfileAssistant::open(model::UnitSystem unitSystem, const AssistantLimits& limits,
                            float maximumRange) {
    unitSystem_ = unitSystem;
    limits_ = limits;
    hidden_ = true;
    sliding_ = false;
    counter_ = 1;
    setMaximumRange(maximumRange);
}

void ProfileAssistant::setUnitSystem(model::UnitSystem unitSystem) {
    unitSystem_ = unitSystem;
}

void ProfileAssistant::setLimits(const AssistantLimits& limits) {
    limits_ = limits;
    suggest();
}

void ProfileAssistant::setMaximumRange(float maximumRange) {
    maximumRange_ = maximumRange;
    maximumRangeText_ = model::FormatGeneral(maximumRange);
    suggest();
}

std::optional<DialogMessage> ProfileAssistant::maximumRangeChanged(const std::string& text) {
    maximumRangeText_ = text;
    const std::optional<float> value = model::ParseFloat(text);
    if (!value) {
        // Part of a number being typed ("", "-", "1e"): wait for the rest.
        return std::nullopt;
    }
    maximumRange_ = *value;
    std::optional<DialogMessage> message;
    if (maximumRange_ > limits_.maxRange) {
        message = DialogMessage{
            model::FormatText("You have input a maximum depth greater than the range of this "
                              "instrument.\nPlease reduce the maximum depth below %5.2f",
                              limits_.maxRange),
            kMaximumRangeId, false};
    }
    suggest();
    return message;
}

ProfileAssistant::TransferResult ProfileAssistant::transferValues() const {
    const std::optional<float> range = model::ParseFloat(maximumRangeText_);
    if (!range) {
        return {std::nullopt, DialogMessage{"Please enter a number.", kMaximumRangeId, true}};
    }
    if (*range < 0.0f) {
        return {std::nullopt, DialogMessage{"Maximum Depth must be greater than 0", 0, false}};
    }
    // The planner takes the values as the boxes show them (two decimals).
    ProfileTransfer transfer{cellsText(), cellSizeText(), blankingText(), 0, 0.0f, 0.0f};
    transfer.cells = static_cast<int>(model::ParseInteger(transfer.cellsText).value_or(0));
    transfer.cellSize = model::ParseFloat(transfer.cellSizeText).value_or(0.0f);
    transfer.blanking = model::ParseFloat(transfer.blankingText).value_or(0.0f);
    if (transfer.cells > 0 && transfer.cellSize > 0.0f && transfer.blanking > 0.0f) {
        return {transfer, std::nullopt};
    }
    return {std::nullopt, DialogMessage{"Please input a valid value for Maximum Depth", 0, false}};
}

std::string ProfileAssistant::cellsText() const {
    return model::FormatText("%d", suggestion_.cells);
}

std::string ProfileAssistant::cellSizeText() const {
    return model::FormatText("%4.2f", static_cast<double>(suggestion_.cellSize));
}

std::string ProfileAssistant::blankingText() const {
    return model::FormatText("%4.2f", static_cast<double>(suggestion_.blanking));
}

std::string ProfileAssistant::rangeText() const {
    return ProfilingRangeText(suggestion_.cells, suggestion_.cellSize, suggestion_.blanking,
                              metric());
}

std::string ProfileAssistant::maximumLabel() const {
    return metric() ? "Maximum (m):" : "Maximum (ft):";
}

std::string ProfileAssistant::cellSizeLabel() const {
    return metric() ? "Cell Size (m):" : "Cell Size (ft):";
}

std::string ProfileAssistant::blankingLabel() const {
    return metric() ? "Blanking Dist (m):" : "Blanking Dist (ft):";
}

const char* ProfileAssistant::instructionText() {
    return "Profiling Range.\n\nInput the maximum expected range to see suggested cell size and "
           "number of cells.\n\nIf Suggested Values are appropriate send them to the User Setup "
           "using the Transfer Values button.";
}

int ProfileAssistant::toggle() {
    counter_ = 1;
    hidden_ = !hidden_;
    sliding_ = true;
    return kFirstTimerMs;
}

SlideTick ProfileAssistant::tick(int plannerLeft, int plannerTop) {
    SlideTick result;
    if (!sliding_) {
        return result;
    }
    constexpr int step = kWidth / 25;
    const int top = plannerTop + 20;
    const int height = kHeight - 2;
    if (kWidth >= step * counter_) {
        const int left =
            hidden_ ? plannerLeft - kWidth + step * counter_ : plannerLeft - step * counter_;
        result.placement = AssistantPlacement{left, top, kWidth, height};
        result.show = !hidden_;
        ++counter_;
        result.nextTimerMs = kSlideTimerMs;
        return result;
    }
    // 273 is not a multiple of the step: the last few pixels are one final placement.
    if (!hidden_) {
        result.placement = AssistantPlacement{plannerLeft - kWidth, top, kWidth, height};
    } else if (step * counter_ >= kWidth) {
        result.hide = true;
    }
    sliding_ = false;
    return result;
}

std::string ProfileAssistant::toggleButtonText() const {
    return hidden_ ? "<<<        Show Profile Assistant" : "<<<        Hide Profile Assistant";
}

void ProfileAssistant::suggest() {
    suggestion_ = SuggestProfile(maximumRange_, limits_);
}

} // namespace qpx::planning
