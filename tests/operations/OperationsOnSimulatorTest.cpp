#include "instrument/PcQpxTransmit.h"
#include "instrument/RecorderDialogModel.h"
#include "link/CalendarMath.h"
#include "operations/ClockSync.h"
#include "sim/SimulatedLine.h"
#include "support/KeptProgressViews.h"
#include "support/RecordingMessageSink.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The recorder, the clock and the PC-QPX update against the simulated instrument, end to end
// on virtual time, at both ends of the baud range.
namespace qpx::test {
namespace {

using instrument::FormatOutcome;
using instrument::RecorderDialogModel;
using sim::Scenario;
using sim::SimulatedLine;

Scenario CardScenario(int baud = 9600) {
    Scenario s = sim::QpxScenario();
    s.baudRate = baud;
    s.recorderFiles = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9, 50},
                       {"DEF00002.QPX", 4096, 2001, 3, 6, 0, 0, 0, 0}};
    s.recorderUsed = 16u * 65536u;
    return s;
}

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class RecorderOnSimulator : public testing::TestWithParam<int> {};

TEST_P(RecorderOnSimulator, OpenListsTheCard) {
    SimulatedLine line(CardScenario(GetParam()));
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    RecorderDialogModel dialog;
    ASSERT_EQ(dialog.open(link), 2);
    EXPECT_EQ(dialog.fileCountText(), "2 Files found in Recorder");
    EXPECT_EQ(dialog.usedText(), "1.00M");
    EXPECT_EQ(dialog.freeText(), "63.00M");
    ASSERT_EQ(dialog.rows().size(), 2u);
    EXPECT_EQ(dialog.rows()[0],
              (operations::RecorderListRow{"DEF00001.QPX", "2048", "2001/03/05", "14:02:09"}));
    EXPECT_EQ(dialog.rows()[1].date, "2001/03/06");
    EXPECT_EQ(Count(line.instrument().transcript(), "bdir"), 1);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_P(RecorderOnSimulator, FormatAnsweredTwiceEmptiesTheCard) {
    Scenario s = CardScenario(GetParam());
    s.format.asksTwice = true;
    SimulatedLine line(s);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    KeptProgressViews windows;
    RecorderDialogModel dialog;
    ASSERT_EQ(dialog.open(link), 2);
    EXPECT_EQ(dialog.format(link, windows), FormatOutcome::Formatted);
    EXPECT_EQ(Count(line.instrument().transcript(), "yes"), 2);
    EXPECT_EQ(dialog.fileCountText(), "0 Files found in Recorder");
    EXPECT_EQ(dialog.usedText(), "0.00M");
    ASSERT_EQ(windows.views.size(), 1u);
    EXPECT_EQ(windows.views[0].text(), "Waking up System............... Success\r\n"
                                       "Formatting memory card......... Success\r\n"
                                       "\r\n"
                                       "Reading Recorder Directory..... Success\r\n");
}

INSTANTIATE_TEST_SUITE_P(Baud, RecorderOnSimulator, testing::Values(9600, 115200));

TEST(RecorderFaultsOnSimulator, BadChecksumIsReadAgainAfterNak) {
    Scenario s = CardScenario();
    s.blockFault = sim::BlockFault{};
    s.blockFault->badChecksumBlock = 1;
    s.blockFault->badChecksumTimes = 3;
    SimulatedLine line(s);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    RecorderDialogModel dialog;
    EXPECT_EQ(dialog.open(link), 2);
    EXPECT_EQ(dialog.rows().size(), 2u);
}

TEST(RecorderFaultsOnSimulator, TransferFaults) {
    struct Case {
        const char* name;
        sim::BlockFault fault;
        int files;
        const char* used;
    };
    sim::BlockFault tooMany;
    tooMany.extraFileBlocks = 511; // 513 file blocks
    sim::BlockFault noUsed;
    noUsed.usedSpaceMissing = true;
    sim::BlockFault dropped;
    dropped.dropLineInBlock = 0;
    dropped.dropLineAfter = 40;
    const Case cases[] = {{"more file blocks than slots", tooMany, -1, ""},
                          {"used space never comes", noUsed, 2, "0.00M"},
                          {"line drops in the header", dropped, -1, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario s = CardScenario();
        s.blockFault = c.fault;
        SimulatedLine line(s);
        RecordingMessageSink messages;
        link::Link link = line.link(messages);
        RecorderDialogModel dialog;
        EXPECT_EQ(dialog.open(link), c.files);
        EXPECT_EQ(dialog.usedText(), c.used);
        EXPECT_EQ(line.port().closeCount(), 0);
    }
}

TEST(RecorderFaultsOnSimulator, AbortedFormatKeepsTheList) {
    Scenario s = CardScenario();
    s.format.aborted = true;
    SimulatedLine line(s);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    KeptProgressViews windows;
    RecorderDialogModel dialog;
    ASSERT_EQ(dialog.open(link), 2);
    EXPECT_EQ(dialog.format(link, windows), FormatOutcome::Failed);
    EXPECT_EQ(dialog.rows().size(), 2u);
    EXPECT_EQ(Count(line.instrument().transcript(), "bdir"), 1);
}

link::CalendarTime InstrumentClockNow(SimulatedLine& line) {
    return line.instrument().clockAt(sim::FromMs(line.clock().nowMs()));
}

TEST(ClockOnSimulator, ReadsTheInstrumentClock) {
    SimulatedLine line(sim::QpxScenario());
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    const auto read = operations::ReadInstrumentClock(link);
    ASSERT_TRUE(read.has_value());
    // The clock runs on while it is asked; the reading lies within the exchange.
    const auto seconds = link::SecondsFromCalendar(*read);
    EXPECT_GE(seconds, link::SecondsFromCalendar({2001, 7, 4, 9, 5, 0}));
    EXPECT_LE(seconds, link::SecondsFromCalendar(InstrumentClockNow(line)));
}

TEST(ClockOnSimulator, ManualSettingReachesTheInstrument) {
    SimulatedLine line(sim::QpxScenario());
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    ASSERT_TRUE(operations::SetInstrumentClock(link, operations::ClockMode::Manual,
                                               {2001, 7, 4, 9, 5, 30}));
    // Let the two lines arrive and be executed.
    line.clock().sleepMs(500);
    const auto& transcript = line.instrument().transcript();
    ASSERT_GE(transcript.size(), 2u);
    EXPECT_EQ(transcript[transcript.size() - 2], "Date 2001/07/04");
    EXPECT_EQ(transcript.back(), "Time 09:05:31");
    const auto after = operations::ReadInstrumentClock(link);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->hour, 9);
    EXPECT_EQ(after->minute, 5);
    EXPECT_GE(after->second, 31);
    EXPECT_LE(after->second, 40);
}

TEST(ClockOnSimulator, AutoAtTheLastSecondOfTheYearSetsTheNewYear) {
    SimulatedLine line(sim::QpxScenario());
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    // The wake-up takes well under a second; the computer reads 23:59:59 when it is done.
    line.clock().setLocalTime({2001, 12, 31, 23, 59, 59});
    ASSERT_TRUE(operations::SetInstrumentClock(link, operations::ClockMode::Auto, {}));
    line.clock().sleepMs(500);
    const auto& transcript = line.instrument().transcript();
    EXPECT_EQ(transcript[transcript.size() - 2], "Date 2002/01/01");
    EXPECT_EQ(transcript.back(), "Time 00:00:00");
    const auto now = InstrumentClockNow(line);
    EXPECT_EQ(now.year, 2002);
    EXPECT_EQ(now.month, 1);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 0);
}

TEST(PcQpxOnSimulator, UpdateIsAppliedSavedAndReadBack) {
    Scenario s = sim::QpxScenario();
    SimulatedLine line(s);
    auto& held = line.instrument().structures();
    held.systemConfiguration.cpuSoftwareVersion = 17;
    held.userSetup.pulseCoherentMode = 1;
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    KeptProgressViews windows;
    instrument::PcQpxSettings settings(1, held.systemConfiguration, held.userSetup,
                                       held.operationConfiguration);
    EXPECT_EQ(instrument::TransmitPcQpxSettings(&link, windows, settings, {0.5f, 0.4f, 0.0f}),
              instrument::PcQpxTransmitResult::Success);
    const auto& transcript = line.instrument().transcript();
    const std::vector<std::string> tail(transcript.end() - 5, transcript.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"pl   0.50", "pg   0.40", "rpg   0.00", "SaveSetup",
                                              "Get OPER"}));
    const auto& saved = line.instrument().savedStructures().operationConfiguration;
    EXPECT_EQ(saved.pulseLength, 50u);
    EXPECT_EQ(saved.userPulseLag, 40u);
    EXPECT_EQ(saved.userResLag, 0u);
    EXPECT_EQ(settings.operationConfiguration().pulseLength, 50u);
    EXPECT_EQ(settings.operationConfiguration().userPulseLag, 40u);
    EXPECT_EQ(settings.pulseLengthText(), "0.5");
    EXPECT_TRUE(messages.entries.empty());
}

} // namespace
} // namespace qpx::test
