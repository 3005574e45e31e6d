#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/KeptInputs.h"
#include "fuzz/support/ReplayDevice.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/Port.h"
#include "operations/ClockSync.h"
#include "operations/ConnectedSetup.h"
#include "operations/Recorder.h"
#include "support/RecordingMessageSink.h"

#include <filesystem>
#include <memory>
#include <string_view>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

const std::filesystem::path kFuzzFolder = QPX_FUZZ_FOLDER;

// Every committed fuzz input of the recorder harnesses, replayed through the harness itself: the
// seeds must keep passing, and every input that once found a fault must stay mended.
class OperationsFuzzInputs : public testing::TestWithParam<std::string_view> {};

TEST_P(OperationsFuzzInputs, EveryKeptInputHoldsItsInvariants) {
    EXPECT_GT(fuzz::ReplayKeptInputs(kFuzzFolder, GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(Harnesses, OperationsFuzzInputs,
                         testing::Values("RecorderTransferFuzz", "RecorderTransferRepairedFuzz"));

// An instrument replayed from a kept fuzz input (the first byte is the harness's selector when
// `selector` is set).
struct Replayed {
    Replayed(const char* input, bool selector, std::string stopEchoAfter) {
        const auto bytes = fuzz::ReadFileBytes(kFuzzFolder / "regressions" / input);
        auto script = std::span<const std::uint8_t>(bytes).subspan(selector ? 1 : 0);
        auto device = std::make_unique<fuzz::ReplayDevice>(clock, fuzz::SplitSegments(script));
        device->stopEchoAfterLine = std::move(stopEchoAfter);
        port = std::make_unique<link::Port>(std::move(device), clock);
    }
    link::Link link() { return {*port, messages, std::nullopt}; }

    link::VirtualClock clock;
    RecordingMessageSink messages;
    std::unique_ptr<link::Port> port;
};

// The header came, then nothing: the read used to go on through all 511 remaining slots, ten
// attempts each, some 70 hours on the real line.
TEST(RecorderFuzzRegression, LineSilentAfterTheHeaderEndsTheReadWithinMinutes) {
    Replayed instrument("RecorderTransferFuzz/silent-after-header", false, "bdir");
    link::Link link = instrument.link();
    auto directory = std::make_unique<operations::RecorderDirectory>();
    EXPECT_EQ(operations::ReadRecorderDirectory(link, *directory), -1);
    EXPECT_LT(instrument.clock.nowMs(), 15 * 60 * 1000);
}

// "Get USER" answered with a 10-byte frame that checks: it used to be taken as a whole user
// setup padded with zeros (no cells, no intervals) and handed to the planner.
TEST(DownloadFuzzRegression, ShortUserSetupFrameFailsTheDownload) {
    Replayed instrument("ReplyParsersFuzz/short-user-frame", true, "bdir");
    link::Link link = instrument.link();
    auto download = std::make_unique<operations::Download>();
    EXPECT_FALSE(operations::DownloadConfiguration(link, nullptr, 1, *download));
    EXPECT_EQ(instrument.messages.texts(),
              std::vector<std::string>{"UserSetup: 10 bytes, expected 256"});
    EXPECT_FALSE(instrument.port->isOpen());
}

// "Current date is 6666666/07/04": the days between the clocks no longer fit an int, and the
// narrowed count showed as a large negative number.
TEST(ClockFuzzRegression, ClocksMillionsOfYearsApartShowTheWholeDayCount) {
    Replayed instrument("ReplyParsersFuzz/clock-millions-of-years-apart", true, {});
    link::Link link = instrument.link();
    const auto clock = operations::ReadInstrumentClock(link);
    ASSERT_TRUE(clock.has_value());
    EXPECT_EQ(clock->year, 6666666);
    const instrument::SystemTimeDialogModel dialog({2001, 7, 4, 9, 0, 0}, *clock);
    EXPECT_EQ(dialog.differenceText(), "    2434218906 00:05:01");
    EXPECT_EQ(instrument::DifferenceText(-86400LL * 3000000000LL - 3661),
              "    3000000000 01:01:01");
}

} // namespace
} // namespace qpx::test
