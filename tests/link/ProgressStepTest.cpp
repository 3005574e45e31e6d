#include "link/ProgressStep.h"

#include "link/VirtualClock.h"

#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

struct StepCase {
    const char* what;
    link::StepStyle style;
    bool succeeds;
    const char* text;    // what the view holds afterwards
    int position;        // of the bar
    long long pausedMs;  // on the clock
    int failureHandling; // how often the sequence's failure handling ran
};

TEST(ProgressSteps, LabelResultBarPauseAndFailureHandling) {
    const StepCase cases[] = {
        {"success", {}, true, "Get User Setup................. Success\r\n", 1, 300, 0},
        {"failure", {}, false, "Get User Setup................. Failed\r\n", 0, 0, 1},
        {"wide label",
         {.width = 34},
         true,
         "Get User Setup................... Success\r\n",
         1,
         300,
         0},
        {"no bar",
         {.stepsBar = false},
         true,
         "Get User Setup................. Success\r\n",
         0,
         300,
         0},
        {"caller reports",
         {.reportsFailure = false},
         false,
         "Get User Setup................. ",
         0,
         0,
         0},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.what);
        link::VirtualClock clock;
        link::RecordingProgressView view;
        view.setStep(1);
        int failures = 0;
        link::ProgressSteps steps(
            &view, clock, [&] { ++failures; }, c.style);
        EXPECT_EQ(steps.run("Get User Setup", 300, [&] { return c.succeeds; }), c.succeeds);
        EXPECT_EQ(view.text(), c.text);
        EXPECT_EQ(view.position(), c.position);
        EXPECT_EQ(clock.nowMs(), c.pausedMs);
        EXPECT_EQ(failures, c.failureHandling);
    }
}

TEST(ProgressSteps, WithoutAViewStillRunsAndPauses) {
    link::VirtualClock clock;
    link::ProgressSteps steps(nullptr, clock);
    int ran = 0;
    EXPECT_TRUE(steps.runLabelled("Save Setup..... ", 150, [&] { return ++ran == 1; }));
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(clock.nowMs(), 150);
}

} // namespace
} // namespace qpx::test
