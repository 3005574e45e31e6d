#include "WireHelpers.h"
#include "sim/Scenario.h"
#include "sim/SimulatedLine.h"

#include <ostream>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::Scenario;
using sim::SimulatedLine;

const std::string kVersionReply = "Kelvra QPX Current Profiler Version 1.70\r\n";

TEST(InstrumentWire, CommandIsEchoedThenLineFeedReplyAndPrompt) {
    SimulatedLine line;
    EXPECT_EQ(Exchange(line, "Ver\r"), "Ver\r\n" + kVersionReply + ">");
    EXPECT_EQ(line.instrument().transcript(), std::vector<std::string>{"Ver"});
}

TEST(InstrumentWire, EmptyLineAndLoneSpaceGetThePrompt) {
    SimulatedLine line;
    EXPECT_EQ(Exchange(line, "\r"), "\r\n>");
    EXPECT_EQ(Exchange(line, " "), " >");
    // Neither is a command line.
    EXPECT_TRUE(line.instrument().transcript().empty());
}

TEST(InstrumentWire, UnknownCommandGetsAnErrorLineWithoutOkOrDefault) {
    SimulatedLine line;
    const std::string reply = Exchange(line, "Frobnicate 3\r");
    EXPECT_EQ(reply, "Frobnicate 3\r\nERROR: Unknown command\r\n>");
    EXPECT_EQ(reply.find("OK"), std::string::npos);
    EXPECT_EQ(Exchange(line, "Get NONE\r"), "Get NONE\r\nERROR: Unknown structure\r\n>");
}

TEST(InstrumentWire, TranscriptKeepsEveryCommandLineInOrder) {
    SimulatedLine line;
    for (const char* command : {"Ver\r", "\r", "systemtype\r", "Get OPER\r", "nonsense\r"}) {
        Exchange(line, command);
    }
    EXPECT_EQ(line.instrument().transcript(),
              (std::vector<std::string>{"Ver", "systemtype", "Get OPER", "nonsense"}));
}

TEST(InstrumentWire, OverlongLineIsEchoedWholeButKeptToTheLineBuffer) {
    SimulatedLine line;
    const std::string longLine(300, 'x');
    const std::string reply = Exchange(line, longLine + "\r");
    EXPECT_EQ(reply.substr(0, 300), longLine);
    ASSERT_EQ(line.instrument().transcript().size(), 1u);
    EXPECT_EQ(line.instrument().transcript()[0].size(), 200u);
}

struct VersionCase {
    sim::SystemKind kind;
    const char* versionWord;
    const char* systemType;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.versionWord;
}

class InstrumentSystems : public ::testing::TestWithParam<VersionCase> {};

TEST_P(InstrumentSystems, VerAndSystemtypeNameTheSystem) {
    SimulatedLine line(sim::SystemScenario(GetParam().kind));
    EXPECT_NE(Exchange(line, "Ver\r").find(GetParam().versionWord), std::string::npos);
    EXPECT_EQ(Exchange(line, "systemtype\r"),
              std::string("systemtype\r\n") + GetParam().systemType + "\r\n>");
}

INSTANTIATE_TEST_SUITE_P(Kinds, InstrumentSystems,
                         ::testing::Values(VersionCase{sim::SystemKind::Qpx, "QPX", "QPX"},
                                           VersionCase{sim::SystemKind::Merovane, "MRV", "MRV"},
                                           VersionCase{sim::SystemKind::Clv, "CLV", "CLV"},
                                           VersionCase{sim::SystemKind::ClvReportingWqs, "CLV",
                                                       "CLV WQS"},
                                           VersionCase{sim::SystemKind::Rill, "Rill", "Rill"},
                                           VersionCase{sim::SystemKind::Zeb, "ZEB", "ZEB"},
                                           VersionCase{sim::SystemKind::Wqs, "WQS", "WQS"}));

TEST(InstrumentWire, VersionLeadInByteComesRightAfterTheEchoedCr) {
    Scenario scenario;
    scenario.versionLeadIn = true;
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "Ver\r"), "Ver\r\xE8\n" + kVersionReply + ">");
}

struct WavesCase {
    int wavesOption;
    std::optional<std::string> reply;
    std::string expected;
};

void PrintTo(const WavesCase& c, std::ostream* os) {
    *os << c.wavesOption << " " << c.reply.value_or("(none)");
}

class InstrumentWaves : public ::testing::TestWithParam<WavesCase> {};

TEST_P(InstrumentWaves, EnablewavesReplyFollowsTheScenario) {
    Scenario scenario;
    scenario.wavesOption = GetParam().wavesOption;
    scenario.wavesReply = GetParam().reply;
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "enablewaves\r"), "enablewaves\r\n" + GetParam().expected + ">");
}

INSTANTIATE_TEST_SUITE_P(Replies, InstrumentWaves,
                         ::testing::Values(WavesCase{0, std::nullopt, "NO\r\n"},
                                           WavesCase{1, std::nullopt, "YES\r\n"},
                                           WavesCase{2, std::nullopt, "DIRECTIONAL\r\n"},
                                           WavesCase{0, "Frequency Waves", "Frequency Waves\r\n"},
                                           WavesCase{1, "", ""}));

// --- Sleeping and waking ---

TEST(InstrumentPower, SleepingInstrumentNeitherEchoesNorAnswers) {
    SimulatedLine line(sim::SleepingScenario());
    EXPECT_EQ(Exchange(line, " Ver\r\r+++++"), "");
    EXPECT_FALSE(line.instrument().isAwake());
    EXPECT_TRUE(line.instrument().transcript().empty());
}

TEST(InstrumentPower, BreakWakesItWithBannerThenPrompt) {
    SimulatedLine line(sim::SleepingScenario());
    ASSERT_EQ(line.port().sendBreak(200), 0);
    EXPECT_EQ(line.clock().nowMs(), 200);
    const TimedText woken = CollectTimed(line.port(), 1000);
    ASSERT_EQ(woken.text, "\r\nKelvra QPX Current Profiler\r\n>");
    // The banner starts after the boot delay counted from the end of the break.
    EXPECT_NEAR(static_cast<double>(woken.arrivalMs.front()), 200 + 300 + 1, 1.0);
    EXPECT_TRUE(line.instrument().isAwake());
    EXPECT_EQ(Exchange(line, "Ver\r"), "Ver\r\n" + kVersionReply + ">");
}

TEST(InstrumentPower, TenPlusSignsInARowWakeIt) {
    SimulatedLine line(sim::SleepingScenario());
    EXPECT_EQ(Exchange(line, "+++++++++x+++++++++"), ""); // never ten in a row
    EXPECT_EQ(Exchange(line, "+", 1000), "\r\nKelvra QPX Current Profiler\r\n>");
    EXPECT_EQ(line.instrument().wakeCount(), 1);
}

TEST(InstrumentPower, ShortBreakDoesNotWakeIt) {
    SimulatedLine line(sim::SleepingScenario());
    line.port().sendBreak(20);
    EXPECT_EQ(Collect(line.port(), 1000), "");
    EXPECT_EQ(line.instrument().breakCount(), 1);
    EXPECT_EQ(line.instrument().wakeCount(), 0);
}

TEST(InstrumentPower, PlusOnlyInstrumentIgnoresTheBreak) {
    SimulatedLine line(sim::PlusOnlyScenario());
    line.port().sendBreak(200);
    EXPECT_EQ(Collect(line.port(), 1500), "");
    EXPECT_EQ(Exchange(line, "++++++++++", 1000), "\r\nKelvra QPX Current Profiler\r\n>");
}

TEST(InstrumentPower, CompassHoldsThePromptBackAndIgnoresInputWhileBooting) {
    SimulatedLine line(sim::CompassScenario());
    line.port().sendBreak(200);
    const std::string banner = Collect(line.port(), 1000);
    EXPECT_NE(banner.find("Compass"), std::string::npos);
    EXPECT_EQ(banner.find('>'), std::string::npos);
    EXPECT_EQ(Exchange(line, "\r"), ""); // still booting: no echo
    const TimedText prompt = CollectTimed(line.port(), 20000);
    ASSERT_EQ(prompt.text, ">");
    EXPECT_GE(prompt.arrivalMs.front(), 200 + 300 + 15000);
    EXPECT_EQ(Exchange(line, "\r"), "\r\n>");
}

TEST(InstrumentPower, SdiInterfaceAnnouncesItselfOnWaking) {
    SimulatedLine line(sim::SdiScenario());
    line.port().sendBreak(200);
    EXPECT_NE(Collect(line.port(), 1000).find("SDI-12"), std::string::npos);
}

TEST(InstrumentPower, BreakOnAnAwakeInstrumentRestartsIt) {
    SimulatedLine line;
    line.port().sendBreak(200);
    EXPECT_EQ(Collect(line.port(), 1000), "\r\nKelvra QPX Current Profiler\r\n>");
    EXPECT_EQ(line.instrument().wakeCount(), 1);
}

// --- Line rate ---

class InstrumentLineRate : public ::testing::TestWithParam<int> {};

TEST_P(InstrumentLineRate, HundredBytesTakeTheirTimeOnTheLine) {
    const int baud = GetParam();
    Scenario scenario;
    scenario.baudRate = baud;
    SimulatedLine line(scenario);
    const double expectedMs = 100.0 * 10.0 * 1000.0 / baud;

    // Host to instrument.
    Send(line.port(), std::string(100, 'a'));
    ASSERT_TRUE(line.port().waitWritten(1000));
    EXPECT_NEAR(static_cast<double>(line.clock().nowMs()), expectedMs, 1.0);
    Collect(line.port());

    // Instrument to host: the USER frame is 260 bytes after "OK" CR LF.
    Send(line.port(), "\rGet USER\r");
    const TimedText reply = CollectTimed(line.port());
    const std::size_t frameStart = reply.text.find("OK\r\n") + 4;
    ASSERT_GT(reply.text.size(), frameStart + 100);
    const auto took = reply.arrivalMs[frameStart + 100] - reply.arrivalMs[frameStart];
    EXPECT_NEAR(static_cast<double>(took), expectedMs, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Bauds, InstrumentLineRate, ::testing::Values(9600, 19200, 115200));

TEST(InstrumentLineRate, EchoComesBackAfterTwoByteTimes) {
    SimulatedLine line;
    Send(line.port(), "V");
    const TimedText echo = CollectTimed(line.port());
    ASSERT_EQ(echo.text, "V");
    EXPECT_EQ(echo.arrivalMs[0], 3); // 2 x 1.042 ms, readable from the next whole millisecond
}

// --- Faults: silence ---

TEST(InstrumentFaults, SilentInstrumentNeverAnswersAnything) {
    Scenario scenario;
    scenario.silent = true;
    SimulatedLine line(scenario);
    line.port().sendBreak(200);
    EXPECT_EQ(Exchange(line, " \rVer\r++++++++++\r", 5000), "");
    EXPECT_TRUE(line.instrument().transcript().empty());
}

} // namespace
} // namespace qpx::test
