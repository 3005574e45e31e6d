#include "instrument/DeploymentReview.h"

#include "link/SystemType.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using instrument::ReviewFacts;
using instrument::ReviewWarningId;
using Id = ReviewWarningId;

const link::CalendarTime kNow{2026, 12, 9, 12, 0, 0};

// A plan both estimates cover, starting an hour from now, on an empty recorder.
ReviewFacts Plain() {
    ReviewFacts facts;
    facts.now = kNow;
    facts.start = {2026, 12, 9, 13, 0, 0};
    facts.batteryDays = 101.0f;
    facts.recorderDays = 226.1f;
    return facts;
}

std::vector<Id> Ids(const ReviewFacts& facts) {
    std::vector<Id> ids;
    for (const auto& warning : instrument::ReviewWarnings(facts)) {
        ids.push_back(warning.id);
    }
    return ids;
}

TEST(ReviewWarnings, EachWarningFromTheFactsThatRaiseIt) {
    struct Case {
        const char* name;
        void (*change)(ReviewFacts&);
        std::vector<Id> expected;
    };
    const Case cases[] = {
        {"plain", [](ReviewFacts&) {}, {}},
        {"start in the past",
         [](ReviewFacts& f) { f.start = {2026, 12, 9, 11, 59, 59}; },
         {Id::StartInPast}},
        {"start exactly now", [](ReviewFacts& f) { f.start = kNow; }, {}},
        {"start 30 days ahead", [](ReviewFacts& f) { f.start = {2027, 1, 8, 12, 0, 0}; }, {}},
        {"start past 30 days",
         [](ReviewFacts& f) { f.start = {2027, 1, 8, 12, 0, 1}; },
         {Id::StartFarAhead}},
        {"duration both cover", [](ReviewFacts& f) { f.plannedDays = 100.0; }, {}},
        {"battery limits", [](ReviewFacts& f) { f.plannedDays = 150.0; }, {Id::BatteryLimits}},
        {"recorder limits",
         [](ReviewFacts& f) {
             f.recorderDays = 40.0f;
             f.plannedDays = 60.0;
         },
         {Id::RecorderLimits}},
        {"duration beyond both",
         [](ReviewFacts& f) { f.plannedDays = 300.0; },
         {Id::DurationTooLong}},
        {"no battery estimate",
         [](ReviewFacts& f) {
             f.batteryDays.reset();
             f.plannedDays = 300.0;
         },
         {Id::RecorderLimits}},
        {"recorder holds files",
         [](ReviewFacts& f) { f.recorderUsedBytes = 2048; },
         {Id::RecorderNotEmpty}},
        {"clock 60 s off", [](ReviewFacts& f) { f.clockOffsetSeconds = -60; }, {}},
        {"clock 61 s behind", [](ReviewFacts& f) { f.clockOffsetSeconds = -61; }, {Id::ClockOff}},
        {"clock 61 s ahead", [](ReviewFacts& f) { f.clockOffsetSeconds = 61; }, {Id::ClockOff}},
        {"waves without the option",
         [](ReviewFacts& f) { f.waveSeriesEvery = 4; },
         {Id::WavesWithoutOption}},
        {"waves with the option",
         [](ReviewFacts& f) {
             f.waveSeriesEvery = 4;
             f.wavesOption = 1;
         },
         {}},
        {"several, in order",
         [](ReviewFacts& f) {
             f.start = {2026, 12, 1, 0, 0, 0};
             f.recorderUsedBytes = 1;
             f.clockOffsetSeconds = 3600;
         },
         {Id::StartInPast, Id::RecorderNotEmpty, Id::ClockOff}},
    };
    for (const Case& c : cases) {
        ReviewFacts facts = Plain();
        c.change(facts);
        EXPECT_EQ(Ids(facts), c.expected) << c.name;
    }
}

TEST(ReviewWarnings, TextsSayWhatAndWhy) {
    ReviewFacts facts = Plain();
    facts.start = {2026, 12, 9, 11, 0, 0};
    facts.plannedDays = 150.0;
    facts.clockOffsetSeconds = -75;
    const auto warnings = instrument::ReviewWarnings(facts);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[0].text, "The start time is in the past (01:00:00 ago): the instrument "
                                "starts recording at once.");
    EXPECT_EQ(warnings[1].text, "The battery estimate (101.0 days) is shorter than the recorder "
                                "estimate and the planned 150 days: the deployment ends on the "
                                "battery.");
    EXPECT_EQ(warnings[2].text, "The instrument clock differs from the computer's by -75 s (the "
                                "instrument is behind), more than 60 s.");
}

// The default instrument's plan, reviewed as "&Deploy" accepted it: no warning, the estimates
// and the exact upload lines.
TEST(DeploymentReview, DefaultPlanHasNoWarningAndListsTheUpload) {
    planning::PlannerInputs inputs;
    inputs.system = planning::MakeDefaultSystemConfiguration(1);
    inputs.user = planning::MakeDefaultUserSetup(1);
    inputs.operation = planning::MakeDefaultOperationConfiguration(1);
    inputs.recorder = {5 * 1024 * 1024, 0};
    planning::DeploymentPlanner planner;
    planner.open(inputs, kNow);
    planner.setStartTime({2026, 12, 9, 13, 0, 0});
    ASSERT_FALSE(planner.cellsChanged("25"));
    const auto accepted = planning::DeploymentPlanner(planner).deploy();
    ASSERT_TRUE(accepted.value);
    const auto review = instrument::MakeDeploymentReview(planner, *accepted.value,
                                                         {"QPX 1.70", link::kSystemQpx}, kNow);
    EXPECT_TRUE(review.warnings.empty()) << review.warnings.front().text;
    EXPECT_EQ(review.commands.front(), "StartDate 2026/12/09");
    EXPECT_NE(std::find(review.commands.begin(), review.commands.end(), "nc 25"),
              review.commands.end());
    EXPECT_EQ(review.commands.back(), "SaveSetup");
    const std::string text = instrument::FormatReviewText(review);
    EXPECT_NE(text.find("  From now: in 01:00:00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Limited by:       the battery\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Warning"), std::string::npos);
}

} // namespace
} // namespace qpx::test
