#include "instrument/RecorderDialogModel.h"

#include "support/KeptProgressViews.h"
#include "support/LinkBench.h"
#include "support/ScriptedRecorder.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using instrument::FormatOutcome;
using instrument::RecorderDialogModel;

constexpr std::uint32_t kMiB = 1048576;

struct DialogBench {
    LinkBench bench;
    ScriptedRecorder card{bench.device};
    KeptProgressViews windows;
    RecorderDialogModel dialog;

    explicit DialogBench(operations::RecorderDirectory downloaded = {})
        : dialog(std::move(downloaded)) {
        bench.device.replies["Ver"] = "Kelvra QPX Version 1.70\r\n>";
    }
    bool sent(const std::string& line) const {
        const auto& lines = bench.device.lines;
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST(RecorderDialogTexts, FileCountIsSingularOnlyForOne) {
    EXPECT_EQ(instrument::FileCountText(0), "0 Files found in Recorder");
    EXPECT_EQ(instrument::FileCountText(1), "1 File found in Recorder");
    EXPECT_EQ(instrument::FileCountText(2), "2 Files found in Recorder");
}

TEST(RecorderDialogTexts, SpaceInMegabytesAndFreeSpaceNeverWraps) {
    EXPECT_EQ(instrument::MegabytesText(16 * 65536), "1.00M");
    EXPECT_EQ(instrument::MegabytesText(0), "0.00M");
    EXPECT_EQ(instrument::MegabytesText(1234u * kMiB), "1234.00M");
    EXPECT_EQ(instrument::FreeSpaceText(64 * kMiB, kMiB), "63.00M");
    EXPECT_EQ(instrument::FreeSpaceText(64 * kMiB, 64 * kMiB), "0.00M");
    EXPECT_EQ(instrument::FreeSpaceText(kMiB, 2 * kMiB), "0.00M");
}

TEST(RecorderDialogModel, EmptyCardShowsPluralZeroAndTheSpaceOfTheLastBlock) {
    DialogBench d;
    d.card.usedUnits = 16;
    EXPECT_EQ(d.dialog.open(d.bench.link), 0);
    EXPECT_TRUE(d.dialog.rows().empty());
    EXPECT_EQ(d.dialog.fileCountText(), "0 Files found in Recorder");
    EXPECT_EQ(d.dialog.usedText(), "1.00M");
    EXPECT_EQ(d.dialog.freeText(), "63.00M");
}

TEST(RecorderDialogModel, OneFileIsListedInItsRow) {
    DialogBench d;
    d.card.files = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9}};
    EXPECT_EQ(d.dialog.open(d.bench.link), 1);
    EXPECT_EQ(d.dialog.fileCountText(), "1 File found in Recorder");
    ASSERT_EQ(d.dialog.rows().size(), 1u);
    EXPECT_EQ(d.dialog.rows()[0],
              (operations::RecorderListRow{"DEF00001.QPX", "2048", "2001/03/05", "14:02:09"}));
}

TEST(RecorderDialogModel, RefreshKeepsTheDownloadedHeaderAndTakesTheNewUsedSpace) {
    operations::RecorderDirectory downloaded;
    downloaded.header.bytes[74] = 0x00;
    downloaded.header.bytes[77] = 0x01; // 16 MiB
    downloaded.usedBytes = 5;
    DialogBench d(downloaded);
    d.card.capacity = 64 * kMiB;
    d.card.usedUnits = 32;
    d.card.files = {{"A.QPX", 1}};
    EXPECT_EQ(d.dialog.refresh(d.bench.link), 1);
    EXPECT_EQ(d.dialog.directory().header, downloaded.header);
    EXPECT_EQ(d.dialog.space(), (planning::RecorderSpace{16 * kMiB, 2 * kMiB}));
    EXPECT_EQ(d.dialog.directory().entries[0].name, "A.QPX");
    // The free text is this read's capacity less its used space.
    EXPECT_EQ(d.dialog.freeText(), "62.00M");
}

TEST(RecorderDialogModel, FailedRefreshKeepsTextsAndTheKeptDirectory) {
    DialogBench d;
    d.card.usedUnits = 16;
    d.card.files = {{"A.QPX", 1}};
    ASSERT_EQ(d.dialog.open(d.bench.link), 1);
    d.card.refuseBdir = true;
    EXPECT_EQ(d.dialog.refresh(d.bench.link), -1);
    EXPECT_EQ(d.dialog.fileCountText(), "1 File found in Recorder");
    EXPECT_EQ(d.dialog.usedText(), "1.00M");
    // The estimate must not take a card it could not read for an empty one.
    EXPECT_EQ(d.dialog.directory().usedBytes, kMiB);
    EXPECT_EQ(d.dialog.directory().entries[0].name, "A.QPX");
}

TEST(RecorderDialogModel, RefreshGoesOnWhenTheWakeUpFails) {
    // Whatever "Ver" says, the directory read is tried.
    DialogBench d;
    d.bench.device.replies["Ver"] = "Something else\r\n>";
    d.card.files = {{"A.QPX", 1}};
    EXPECT_EQ(d.dialog.refresh(d.bench.link), 1);
}

TEST(RecorderDialogModel, FormatAsksFirstAndReadsTheEmptiedCard) {
    DialogBench d;
    d.card.files = {{"A.QPX", 1}, {"B.QPX", 2}};
    d.card.usedUnits = 48;
    ASSERT_EQ(d.dialog.open(d.bench.link), 2);

    EXPECT_EQ(d.dialog.format(d.bench.link, d.windows), FormatOutcome::Formatted);
    ASSERT_EQ(d.bench.messages.entries.size(), 1u);
    EXPECT_EQ(d.bench.messages.entries[0].kind, RecordingMessageSink::Entry::Kind::Question);
    EXPECT_EQ(d.bench.messages.entries[0].text,
              "WARNING: Formatting will erase ALL data on the memory card.\nSelect OK to format "
              "the memory card or CANCEL to abort.");
    ASSERT_EQ(d.windows.views.size(), 1u);
    EXPECT_EQ(d.windows.destroyed, 1);
    const auto& window = d.windows.views[0];
    EXPECT_EQ(window.text(), "Waking up System............... Success\r\n"
                             "Formatting memory card......... Success\r\n"
                             "\r\n"
                             "Reading Recorder Directory..... Success\r\n");
    EXPECT_TRUE(window.finished());
    EXPECT_TRUE(window.succeeded());
    EXPECT_EQ(window.position(), 0); // the bar is not advanced
    EXPECT_TRUE(d.dialog.rows().empty());
    EXPECT_EQ(d.dialog.fileCountText(), "0 Files found in Recorder");
    EXPECT_EQ(d.dialog.usedText(), "0.00M");
    EXPECT_EQ(d.dialog.directory().usedBytes, 0u);
}

TEST(RecorderDialogModel, CancelledFormatSendsNothingAndOpensNoWindow) {
    DialogBench d;
    d.bench.messages.answers = {false};
    EXPECT_EQ(d.dialog.format(d.bench.link, d.windows), FormatOutcome::Cancelled);
    EXPECT_TRUE(d.bench.device.written.empty());
    EXPECT_TRUE(d.windows.views.empty());
}

// Each step of the format failing in turn: its log line ends "Failed", nothing after it is
// sent, the window is closed as a failure, and the port stays open for the planner.
struct FormatFailure {
    const char* name;
    void (*inject)(DialogBench&);
    FormatOutcome outcome;
    std::string log;
    const char* notSent; // a line that must not go out; none: the failure is the last step
};

std::ostream& operator<<(std::ostream& os, const FormatFailure& f) {
    return os << f.name;
}

class RecorderFormatFailures : public testing::TestWithParam<FormatFailure> {};

TEST_P(RecorderFormatFailures, StopAtTheFailedStep) {
    DialogBench d;
    d.card.files = {{"A.QPX", 1}};
    GetParam().inject(d);
    EXPECT_EQ(d.dialog.format(d.bench.link, d.windows), GetParam().outcome);
    ASSERT_EQ(d.windows.views.size(), 1u);
    EXPECT_EQ(d.windows.views[0].text(), GetParam().log);
    EXPECT_TRUE(d.windows.views[0].finished());
    EXPECT_FALSE(d.windows.views[0].succeeded());
    if (GetParam().notSent != nullptr) {
        EXPECT_FALSE(d.sent(GetParam().notSent));
    }
    // The only directory read after the failure point would have acknowledged blocks.
    EXPECT_TRUE(d.card.handshake.empty());
    EXPECT_EQ(d.bench.port.closeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RecorderFormatFailures,
    testing::Values(
        FormatFailure{
            "wake_up", [](DialogBench& d) { d.bench.device.replies["Ver"] = "WQS 1.0\r\n>"; },
            FormatOutcome::Failed, "Waking up System............... Failed\r\n", "format"},
        FormatFailure{"aborted", [](DialogBench& d) { d.card.abortFormat = true; },
                      FormatOutcome::Failed,
                      "Waking up System............... Success\r\n"
                      "Formatting memory card......... Failed\r\n",
                      "bdir"},
        FormatFailure{"never_finished", [](DialogBench& d) { d.card.neverFinish = true; },
                      FormatOutcome::Failed,
                      "Waking up System............... Success\r\n"
                      "Formatting memory card......... Failed\r\n",
                      "bdir"},
        FormatFailure{"directory_after_format", [](DialogBench& d) { d.card.refuseBdir = true; },
                      FormatOutcome::ListNotRead,
                      "Waking up System............... Success\r\n"
                      "Formatting memory card......... Success\r\n"
                      "\r\n"
                      "Reading Recorder Directory..... Failed\r\n",
                      nullptr}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RecorderDialogModel, FormatWithNoWindowStillRuns) {
    DialogBench d;
    d.windows.refuse = true;
    EXPECT_EQ(d.dialog.format(d.bench.link, d.windows), FormatOutcome::Formatted);
    EXPECT_EQ(d.card.formatsDone, 1);
}

} // namespace
} // namespace qpx::test
