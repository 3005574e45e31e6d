#include "WireHelpers.h"
#include "link/CommandExchange.h"
#include "link/FetchStructure.h"
#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"
#include "planning/DefaultStructures.h"
#include "sim/SimulatedLine.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <ostream>

#include <gtest/gtest.h>

// The link layer's wake-up, identification and structure fetches against the simulated
// instrument, end to end on virtual time.
namespace qpx::test {
namespace {

using sim::Scenario;
using sim::SimulatedLine;

struct Download {
    int systemType = 0;
    int fetched = 0; // successful fetches
    model::SystemConfiguration conf;
    model::OperationConfiguration oper;
    model::UserSetup user;
    std::vector<std::string> transcript;
    std::vector<std::string> messages;
    std::int64_t virtualMs = 0;

    bool complete() const { return link::IsServedSystem(systemType) && fetched == 3; }
};

// Wake-up, then the three fetches in the download's order, each decoded as the download does.
Download RunDownload(const Scenario& scenario) {
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    Download result;
    result.systemType = link::WakeAndIdentify(link);
    if (link::IsServedSystem(result.systemType)) {
        std::array<std::uint8_t, model::kSystemConfigurationSize> confBytes{};
        int confLength = 0;
        if (link::FetchStructure(link, "Get CONF", confBytes, &confLength) == 1) {
            const auto conf = model::CopyReceivedSystemConfiguration(
                std::span(confBytes.data(), static_cast<std::size_t>(confLength)));
            EXPECT_TRUE(conf.ok()) << conf.error();
            if (conf.ok()) {
                result.conf = conf.value();
                ++result.fetched;
            }
        }
        std::array<std::uint8_t, model::kOperationConfigurationWireSize> operBytes{};
        if (link::FetchStructure(link, "Get OPER", operBytes) == 1) {
            const auto oper =
                model::WidenOperationConfiguration(operBytes, result.conf.cpuSoftwareVersion);
            EXPECT_TRUE(oper.ok()) << oper.error();
            if (oper.ok()) {
                result.oper = oper.value();
                ++result.fetched;
            }
        }
        std::array<std::uint8_t, model::kUserSetupSize> userBytes{};
        if (link::FetchStructure(link, "Get USER", userBytes) == 1) {
            const auto user = model::DecodeUserSetup(userBytes);
            EXPECT_TRUE(user.ok()) << user.error();
            if (user.ok()) {
                result.user = user.value();
                ++result.fetched;
            }
        }
    }
    result.transcript = line.instrument().transcript();
    result.messages = messages.texts();
    result.virtualMs = line.clock().nowMs();
    return result;
}

const std::vector<std::string> kDownloadCommands{"Ver", "Get CONF", "Get OPER", "Get USER"};

struct FrequencyDefaults {
    int frequency;
    int cells;
    int cellSize;
    int blanking;
    int operWord24;
};

void PrintTo(const FrequencyDefaults& c, std::ostream* os) {
    *os << "frequency " << c.frequency;
}

class DownloadThroughTheLink : public ::testing::TestWithParam<FrequencyDefaults> {};

TEST_P(DownloadThroughTheLink, DecodesTheInstrumentsStructures) {
    const FrequencyDefaults& expected = GetParam();
    const Download download = RunDownload(sim::QpxScenario(expected.frequency));
    ASSERT_EQ(download.systemType, link::kSystemQpx);
    ASSERT_EQ(download.fetched, 3) << ::testing::PrintToString(download.messages);
    EXPECT_TRUE(download.messages.empty());
    EXPECT_EQ(download.transcript, kDownloadCommands);

    EXPECT_EQ(download.conf.systemFrequency, expected.frequency);
    EXPECT_EQ(download.conf.numberOfBeams, 3);
    EXPECT_EQ(std::string(download.conf.serialNumber.data()), "DEFAULT");
    EXPECT_EQ(download.user.numberOfCells, expected.cells);
    EXPECT_EQ(download.user.cellSize, expected.cellSize);
    EXPECT_EQ(download.user.blankingDistance, expected.blanking);
    EXPECT_EQ(download.user.soundSpeed, 15209);
    EXPECT_EQ(download.oper.operWord24, expected.operWord24);
    EXPECT_EQ(download.oper, planning::MakeDefaultOperationConfiguration(expected.frequency));
}

INSTANTIATE_TEST_SUITE_P(Frequencies, DownloadThroughTheLink,
                         ::testing::Values(FrequencyDefaults{0, 12, 50, 20, 10},
                                           FrequencyDefaults{1, 20, 100, 40, 30},
                                           FrequencyDefaults{3, 30, 400, 100, 130},
                                           FrequencyDefaults{6, 12, 20, 10, 8}));

struct PacedCase {
    const char* name;
    sim::Pacing pacing;
    int leadIn;
};

void PrintTo(const PacedCase& c, std::ostream* os) {
    *os << c.name;
}

class PacedDownload : public ::testing::TestWithParam<PacedCase> {};

TEST_P(PacedDownload, GivesTheSameResultHoweverTheRepliesAreCut) {
    const Download plain = RunDownload(sim::QpxScenario(2));
    ASSERT_TRUE(plain.complete());
    Scenario scenario = sim::QpxScenario(2);
    scenario.pacing = GetParam().pacing;
    scenario.frameLeadIn = GetParam().leadIn;
    const Download paced = RunDownload(scenario);
    ASSERT_TRUE(paced.complete()) << ::testing::PrintToString(paced.messages);
    EXPECT_EQ(paced.conf, plain.conf);
    EXPECT_EQ(paced.oper, plain.oper);
    EXPECT_EQ(paced.user, plain.user);
    EXPECT_EQ(paced.transcript, plain.transcript);
    EXPECT_TRUE(paced.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PacedDownload,
    ::testing::Values(PacedCase{"Plain", {}, 0}, PacedCase{"FourLeadIns", {}, 4},
                      PacedCase{"DelayBeforeReply", {.replyDelayMs = 250}, 0},
                      PacedCase{"PauseMidReply", {.midReplyPauseMs = 200}, 1},
                      PacedCase{
                          "OkCutAfterO", {.midReplyPauseMs = 300, .midReplyPauseAfter = 1}, 0},
                      PacedCase{"SmallPieces", {.pieceBytes = 16, .pieceGapMs = 10}, 2},
                      PacedCase{"TinyPieces", {.pieceBytes = 2, .pieceGapMs = 3}, 0}),
    [](const ::testing::TestParamInfo<PacedCase>& p) { return p.param.name; });

// --- Wake-up paths ---

TEST(WakeUpThroughTheLink, AwakeInstrumentNeedsNoBreak) {
    SimulatedLine line;
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    EXPECT_EQ(link::WakeAndIdentify(link), link::kSystemQpx);
    EXPECT_EQ(line.record().breaks, 0);
    EXPECT_LT(line.clock().nowMs(), 2000); // no 2000 ms pause either
}

TEST(WakeUpThroughTheLink, SleepingInstrumentWokenByTheBreak) {
    SimulatedLine line(sim::SleepingScenario());
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    EXPECT_EQ(link::WakeAndIdentify(link), link::kSystemQpx);
    EXPECT_EQ(line.record().breaks, 1);
    EXPECT_EQ(AsText(line.record().written).find("++++++++++"), std::string::npos);
    EXPECT_EQ(line.instrument().wakeCount(), 1);
    EXPECT_EQ(line.instrument().transcript(), std::vector<std::string>{"Ver"});
}

TEST(WakeUpThroughTheLink, BreakDeafInstrumentWokenByThePlusString) {
    SimulatedLine line(sim::PlusOnlyScenario());
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    EXPECT_EQ(link::WakeAndIdentify(link), link::kSystemQpx);
    EXPECT_EQ(line.record().breaks, 1);
    EXPECT_NE(AsText(line.record().written).find("++++++++++"), std::string::npos);
    EXPECT_EQ(line.instrument().wakeCount(), 1);
}

TEST(WakeUpThroughTheLink, CompassPathTakesItsVirtualSecondsInNoRealTime) {
    SimulatedLine line(sim::CompassScenario());
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(link::WakeAndIdentify(link), link::kSystemQpx);
    const auto realMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
    EXPECT_LT(realMs, 1000);
    // 1.5 s for the space, the break, 1 s, the first 2 s prompt wait, the compass, 2 s pause.
    EXPECT_GT(line.clock().nowMs(), 18000);
    EXPECT_EQ(AsText(line.record().written).find("++++++++++"), std::string::npos);
}

TEST(WakeUpThroughTheLink, SdiInterfaceIsRecognised) {
    SimulatedLine line(sim::SdiScenario());
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    EXPECT_EQ(link::WakeAndIdentify(link), link::kSystemSdi12);
}

TEST(WakeUpThroughTheLink, SilentLineGivesNoPromptInBoundedTime) {
    Scenario scenario;
    scenario.silent = true;
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    EXPECT_EQ(link::WakeAndIdentify(link), link::kSystemNoPrompt);
    EXPECT_LT(line.clock().nowMs(), 30000);
}

struct SystemCase {
    sim::SystemKind kind;
    int systemType;
};

void PrintTo(const SystemCase& c, std::ostream* os) {
    *os << "system type " << c.systemType;
}

class IdentifyThroughTheLink : public ::testing::TestWithParam<SystemCase> {};

TEST_P(IdentifyThroughTheLink, ClassifiesEveryKind) {
    SimulatedLine line(sim::SystemScenario(GetParam().kind));
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    EXPECT_EQ(link::WakeAndIdentify(link), GetParam().systemType);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, IdentifyThroughTheLink,
    ::testing::Values(SystemCase{sim::SystemKind::Qpx, link::kSystemQpx},
                      SystemCase{sim::SystemKind::Merovane, link::kSystemMerovane},
                      SystemCase{sim::SystemKind::Clv, link::kSystemClv},
                      SystemCase{sim::SystemKind::ClvReportingWqs, link::kSystemClvReportingWqs},
                      SystemCase{sim::SystemKind::Rill, link::kSystemRill},
                      SystemCase{sim::SystemKind::Zeb, link::kSystemZeb},
                      SystemCase{sim::SystemKind::Wqs, link::kSystemWqs}));

TEST(WakeUpThroughTheLink, VersionLeadInAndGarbageDoNotHideTheSystem) {
    Scenario scenario = sim::SleepingScenario();
    scenario.versionLeadIn = true;
    scenario.garbageBeforeReply = sim::GarbageFault{{"Ver", 1}, {0x00, 0x13}};
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    EXPECT_EQ(link::WakeAndIdentify(link), link::kSystemQpx);
}

// --- Faults through the link ---

TEST(FaultsThroughTheLink, BadEchoIsRepeatedAndTheFetchSucceeds) {
    Scenario scenario;
    scenario.wrongEcho = sim::EchoFault{{"Get CONF", 2}};
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    TempDir logDir;
    link::Link link = line.link(messages, logDir.path());
    std::array<std::uint8_t, 96> conf{};
    EXPECT_EQ(link::FetchStructure(link, "Get CONF", conf), 1);
    EXPECT_EQ(line.instrument().transcript(),
              (std::vector<std::string>{"Get CONF", "Get CONF", "Get CONF"}));
    EXPECT_EQ(conf[25], 1);
    const std::string log = logDir.read("LogFile");
    std::size_t bad = 0;
    for (std::size_t at = log.find("Bad Transmission"); at != std::string::npos;
         at = log.find("Bad Transmission", at + 1)) {
        ++bad;
    }
    EXPECT_EQ(bad, 2u);
}

struct FetchFaultCase {
    const char* name;
    sim::FrameFault fault;
    const char* message;
};

void PrintTo(const FetchFaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FetchFaults : public ::testing::TestWithParam<FetchFaultCase> {};

TEST_P(FetchFaults, FailWithTheirMessageAndLeaveTheDestinationAlone) {
    Scenario scenario;
    scenario.frameFault = GetParam().fault;
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    std::array<std::uint8_t, 96> conf{};
    conf.fill(0xCC);
    EXPECT_EQ(link::FetchStructure(link, "Get CONF", conf), 0);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{GetParam().message});
    EXPECT_TRUE(std::all_of(conf.begin(), conf.end(), [](std::uint8_t b) { return b == 0xCC; }));
    EXPECT_LT(line.clock().nowMs(), 15000);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FetchFaults,
    ::testing::Values(
        FetchFaultCase{"Missing", {.missing = true}, "Error Getting System Variable Structure: "},
        FetchFaultCase{"ChecksumOffByOne",
                       {.checksumDelta = 1},
                       " Bad CheckSum getting System Variable Structure: "},
        FetchFaultCase{
            "LengthTooShort", {.lengthDelta = -98}, "Error Getting System Variable Structure: "},
        FetchFaultCase{
            "LengthTooLong", {.lengthDelta = 4}, "Error Getting System Variable Structure: "},
        FetchFaultCase{"LineDrops",
                       {.dropLineAfter = 40},
                       " Bad CheckSum getting System Variable Structure: "}),
    [](const ::testing::TestParamInfo<FetchFaultCase>& p) { return p.param.name; });

TEST(FaultsThroughTheLink, ExtraBytesAfterTheFrameAreClearedAway) {
    Scenario scenario;
    scenario.frameFault = sim::FrameFault{.extraBytes = 20};
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    std::array<std::uint8_t, 96> conf{};
    std::array<std::uint8_t, 256> user{};
    EXPECT_EQ(link::FetchStructure(link, "Get CONF", conf), 1);
    EXPECT_EQ(link::FetchStructure(link, "Get USER", user), 1);
    EXPECT_TRUE(messages.texts().empty());
}

TEST(FaultsThroughTheLink, ReplyWithoutOkFailsTheFetch) {
    Scenario scenario;
    scenario.replacedReply = sim::ReplyFault{{"Get USER", -1}, {"ERROR: Busy"}};
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    std::array<std::uint8_t, 256> user{};
    EXPECT_EQ(link::FetchStructure(link, "Get USER", user), 0);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Error Getting System Variable Structure: "});
}

TEST(FaultsThroughTheLink, SpoiledFirstFrameThenAGoodOneOnTheRetry) {
    Scenario scenario;
    scenario.frameFault = sim::FrameFault{.when = {"Get OPER", 1}, .checksumDelta = 1};
    SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);
    std::array<std::uint8_t, 64> oper{};
    EXPECT_EQ(link::FetchStructure(link, "Get OPER", oper), 0);
    EXPECT_EQ(link::FetchStructure(link, "Get OPER", oper), 1);
    EXPECT_EQ(oper[0], 0x11);
}

} // namespace
} // namespace qpx::test
