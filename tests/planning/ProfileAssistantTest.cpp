#include "planning/ProfileAssistant.h"

#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using planning::AssistantLimits;
using planning::AssistantLimitsFor;
using planning::ProfileAssistant;
using planning::SuggestProfile;

constexpr int kMetric = 1;
constexpr int kEnglish = 0;

struct SuggestionCase {
    const char* name;
    int frequency;
    int units;
    float maximumRange;
    const char* cells;
    const char* cellSize;
    const char* blanking;
    const char* range;
};

class Suggestion : public testing::TestWithParam<SuggestionCase> {};

TEST_P(Suggestion, ShowsTheSuggestedProfile) {
    const SuggestionCase& c = GetParam();
    ProfileAssistant assistant;
    assistant.open(c.units, AssistantLimitsFor(c.frequency, c.units), c.maximumRange);
    EXPECT_EQ(assistant.cellsText(), c.cells);
    EXPECT_EQ(assistant.cellSizeText(), c.cellSize);
    EXPECT_EQ(assistant.blankingText(), c.blanking);
    EXPECT_EQ(assistant.rangeText(), c.range);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProfileAssistant, Suggestion, testing::Values(
    // Tenth steps from 0.2 up to 0.9 m before 25 cells are enough.
    SuggestionCase{"Range20m1500kHz", 1, kMetric, 20.0f, "23", "0.90", "0.40",
                   "Profiling Range:   0.85 -  21.55 m"},
    // 1.4 m would still need 26 cells.
    SuggestionCase{"Range35m1500kHz", 1, kMetric, 35.0f, "25", "1.50", "0.40",
                   "Profiling Range:   1.15 -  38.65 m"},
    // Fails for 25 and for 50 cells (2.0 m still gives 51), found for 75.
    SuggestionCase{"Range100m3000kHz", 0, kMetric, 100.0f, "73", "1.40", "0.20",
                   "Profiling Range:   0.90 - 103.10 m"},
    SuggestionCase{"Range200m3000kHzUnreachable", 0, kMetric, 200.0f, "0", "0.00", "0.00",
                   "Profiling Range:   0.00 -   0.00 m"},
    // The summed trial reads as 2.00 but lies just above the 2 m max cell size.
    SuggestionCase{"Range145m3000kHzTrialAboveMaxCell", 0, kMetric, 145.0f, "0", "0.00", "0.00",
                   "Profiling Range:   0.00 -   0.00 m"},
    // Below the min blanking the span is negative: trunc(-1.6) + 2 = 1 cell.
    SuggestionCase{"ZeroRange1500kHz", 1, kMetric, 0.0f, "1", "0.25", "0.40",
                   "Profiling Range:   0.53 -   0.78 m"},
    SuggestionCase{"ShortRangeFitsAtMinCell", 1, kMetric, 5.0f, "20", "0.25", "0.40",
                   "Profiling Range:   0.53 -   5.53 m"},
    // A negative range never shows a negative number of cells.
    SuggestionCase{"NegativeRange", 1, kMetric, -10.0f, "0", "0.00", "0.00",
                   "Profiling Range:   0.00 -   0.00 m"},
    // 1000 kHz: -0.5 / 0.25 + 2 would be 0 cells.
    SuggestionCase{"ZeroRangeGivingNoCell", 5, kMetric, 0.0f, "0", "0.00", "0.00",
                   "Profiling Range:   0.00 -   0.00 m"},
    // Feet: min cell 0.82 (even start, so tenths from 0.1 ft), min blanking 1.31 ft.
    SuggestionCase{"English65ft1500kHz", 1, kEnglish, 65.62f, "25", "2.70", "1.31",
                   "Profiling Range:   2.66 -  70.16 ft"}),
    [](const testing::TestParamInfo<SuggestionCase>& param) { return param.param.name; });
// clang-format on

TEST(ProfileAssistant, LimitsAreTheStandardColumnsInTheDisplayUnit) {
    const AssistantLimits metric = AssistantLimitsFor(0, kMetric);
    EXPECT_EQ(metric.minCellSize, 0.15f);
    EXPECT_EQ(metric.maxCellSize, 2.0f);
    EXPECT_EQ(metric.minBlanking, 0.2f);
    EXPECT_EQ(metric.maxBlanking, 10.0f - 0.15f);
    EXPECT_EQ(metric.maxRange, 10.0f);

    // Feet, cut (not rounded) to two decimals: 0.25 m is 0.8202 ft, 0.4 m is 1.3123 ft.
    const AssistantLimits english = AssistantLimitsFor(1, kEnglish);
    EXPECT_FLOAT_EQ(english.minCellSize, 0.82f);
    EXPECT_FLOAT_EQ(english.maxCellSize, 13.12f);
    EXPECT_FLOAT_EQ(english.minBlanking, 1.31f);
    EXPECT_FLOAT_EQ(english.maxBlanking, 97.60f);
    EXPECT_FLOAT_EQ(english.maxRange, 98.42f);
}

TEST(ProfileAssistant, LimitsNeverSetGiveAFailedSuggestionInsteadOfADivisionByZero) {
    EXPECT_FALSE(SuggestProfile(20.0f, AssistantLimits{}).succeeded());
    ProfileAssistant assistant;
    EXPECT_EQ(assistant.cellsText(), "0");
    EXPECT_EQ(assistant.rangeText(), "Profiling Range:   0.00 -   0.00 m");
}

TEST(ProfileAssistant, RangeBeyondTheInstrumentWarnsAndStillSuggests) {
    ProfileAssistant assistant;
    assistant.open(kMetric, AssistantLimitsFor(1, kMetric), 20.9f);
    const auto message = assistant.maximumRangeChanged("35");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "You have input a maximum depth greater than the range of this "
                             "instrument.\nPlease reduce the maximum depth below 30.00");
    EXPECT_EQ(message->focusId, ProfileAssistant::kMaximumRangeId);
    EXPECT_EQ(assistant.cellsText(), "25");
    EXPECT_EQ(assistant.cellSizeText(), "1.50");

    // The limit itself is no warning.
    EXPECT_FALSE(assistant.maximumRangeChanged("30"));
}

TEST(ProfileAssistant, TextThatIsNoNumberKeepsTheLastSuggestion) {
    ProfileAssistant assistant;
    assistant.open(kMetric, AssistantLimitsFor(1, kMetric), 20.0f);
    for (const char* text : {"", "-", "2x", "1e"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(assistant.maximumRangeChanged(text));
        EXPECT_EQ(assistant.maximumRange(), 20.0f);
        EXPECT_EQ(assistant.cellsText(), "23");
        EXPECT_EQ(assistant.maximumRangeText(), text);
    }
}

TEST(ProfileAssistant, OpeningShowsTheRangeAndSuggestsWithoutWarning) {
    ProfileAssistant assistant;
    // Far end of 20 cells of 1 m after 0.4 m: 20.9 m.
    assistant.open(kMetric, AssistantLimitsFor(1, kMetric), 20.9f);
    EXPECT_EQ(assistant.maximumRangeText(), "20.9");
    EXPECT_EQ(assistant.cellsText(), "24");
    EXPECT_EQ(assistant.cellSizeText(), "0.90");
    EXPECT_TRUE(assistant.hidden());
}

TEST(ProfileAssistant, TransferHandsOverTheValuesAsShown) {
    ProfileAssistant assistant;
    assistant.open(kMetric, AssistantLimitsFor(1, kMetric), 20.0f);
    const auto result = assistant.transferValues();
    ASSERT_TRUE(result.value);
    EXPECT_EQ(result.value->cellSizeText, "0.90");
    EXPECT_EQ(result.value->blankingText, "0.40");
    // The boxes' two decimals, not the summed trial size just above 0.9.
    EXPECT_EQ(result.value->cellSize, 0.9f);
    EXPECT_EQ(result.value->cells, 23);
}

TEST(ProfileAssistant, TransferRefusals) {
    struct Case {
        const char* text;
        int frequency;
        const char* message; // nullptr: transferred
    };
    const std::vector<Case> cases{
        {"200", 0, "Please input a valid value for Maximum Depth"},
        {"-1", 1, "Maximum Depth must be greater than 0"},
        {"-0.01", 1, "Maximum Depth must be greater than 0"},
        // Exactly 0 passes the sign check; 1 cell of the min size is a valid suggestion.
        {"0", 1, nullptr},
        {"abc", 1, "Please enter a number."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ProfileAssistant assistant;
        assistant.open(kMetric, AssistantLimitsFor(c.frequency, kMetric), 5.0f);
        assistant.maximumRangeChanged(c.text);
        const auto result = assistant.transferValues();
        if (c.message == nullptr) {
            ASSERT_TRUE(result.value);
            EXPECT_EQ(result.value->cells, 1);
            EXPECT_FALSE(result.message);
        } else {
            EXPECT_FALSE(result.value);
            ASSERT_TRUE(result.message);
            EXPECT_EQ(result.message->text, c.message);
        }
    }
}

struct Slide {
    std::vector<int> lefts;
    std::vector<bool> shows;
    bool hidden = false;
    bool lastPlaced = false;
    int lastLeft = 0;
};

Slide RunSlide(ProfileAssistant& assistant, int plannerLeft, int plannerTop) {
    Slide slide;
    EXPECT_EQ(assistant.toggle(), 500);
    for (int guard = 0; guard < 100; ++guard) {
        const planning::SlideTick tick = assistant.tick(plannerLeft, plannerTop);
        if (tick.placement) {
            EXPECT_EQ(tick.placement->top, plannerTop + 20);
            EXPECT_EQ(tick.placement->width, 273);
            EXPECT_EQ(tick.placement->height, 219);
        }
        if (tick.nextTimerMs == 0) {
            slide.hidden = tick.hide;
            slide.lastPlaced = tick.placement.has_value();
            slide.lastLeft = tick.placement ? tick.placement->left : 0;
            break;
        }
        EXPECT_EQ(tick.nextTimerMs, 10);
        EXPECT_TRUE(tick.placement);
        slide.lefts.push_back(tick.placement->left);
        slide.shows.push_back(tick.show);
    }
    return slide;
}

TEST(ProfileAssistant, SlidesOutInTenPixelStepsAndBackBehindThePlanner) {
    ProfileAssistant assistant;
    assistant.open(kMetric, AssistantLimitsFor(1, kMetric), 10.0f);
    EXPECT_EQ(assistant.toggleButtonText(), "<<<        Show Profile Assistant");

    const Slide out = RunSlide(assistant, 400, 100);
    EXPECT_FALSE(assistant.hidden());
    EXPECT_EQ(assistant.toggleButtonText(), "<<<        Hide Profile Assistant");
    ASSERT_EQ(out.lefts.size(), 27u); // 10, 20, ... 270: 273 / 25 = 10 px a step
    EXPECT_EQ(out.lefts.front(), 390);
    EXPECT_EQ(out.lefts.back(), 130);
    EXPECT_EQ(out.shows, std::vector<bool>(27, true));
    EXPECT_TRUE(out.lastPlaced);
    EXPECT_EQ(out.lastLeft, 400 - 273);
    EXPECT_FALSE(out.hidden);

    // The planner moved in the meantime: the slide follows its current position.
    const Slide back = RunSlide(assistant, 500, 50);
    EXPECT_TRUE(assistant.hidden());
    ASSERT_EQ(back.lefts.size(), 27u);
    EXPECT_EQ(back.lefts.front(), 500 - 273 + 10);
    EXPECT_EQ(back.lefts.back(), 500 - 3);
    EXPECT_EQ(back.shows, std::vector<bool>(27, false));
    EXPECT_FALSE(back.lastPlaced);
    EXPECT_TRUE(back.hidden);

    // A stray tick after the end does nothing.
    const planning::SlideTick stray = assistant.tick(500, 50);
    EXPECT_FALSE(stray.placement);
    EXPECT_FALSE(stray.hide);
    EXPECT_EQ(stray.nextTimerMs, 0);

    // Every opening starts hidden again.
    assistant.toggle();
    assistant.open(kMetric, AssistantLimitsFor(1, kMetric), 10.0f);
    EXPECT_TRUE(assistant.hidden());
    EXPECT_FALSE(assistant.tick(0, 0).placement);
}

} // namespace
} // namespace qpx::test
