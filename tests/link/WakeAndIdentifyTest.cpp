#include "link/WakeAndIdentify.h"

#include "support/LinkBench.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using link::WakeAndIdentify;

const std::string kWakeUpString = "++++++++++";

void AnswerVer(ScriptedDevice& device, const std::string& version) {
    device.replies["Ver"] = version + "\r\n>";
}

// Asleep until a break; then `banner` arrives `delayMs` after the break has ended.
void SleepUntilBreak(ScriptedDevice& device, std::string banner, int delayMs = 300) {
    device.awake = false;
    device.onBreak = [&device, banner, delayMs] {
        device.awake = true;
        device.arriveIn(delayMs, banner);
    };
}

// The virtual time at which the 'V' of "Ver" went out.
std::int64_t VerSentAt(const ScriptedDevice& device) {
    const auto at = device.written.find("Ver\r");
    return at == std::string::npos ? -1 : device.writeTimes[at];
}

TEST(WakeAndIdentify, AwakeInstrumentIsAskedAtOnce) {
    LinkBench bench;
    AnswerVer(bench.device, "QPX Version 1.0");
    EXPECT_EQ(WakeAndIdentify(bench.link), link::kSystemQpx);
    EXPECT_TRUE(bench.device.breakTimes.empty());
    EXPECT_EQ(bench.device.written.find(kWakeUpString), std::string::npos);
    EXPECT_EQ(bench.device.written.substr(0, 2), " \r");
    EXPECT_LT(VerSentAt(bench.device), 1000); // no 2000 ms pause
    EXPECT_EQ(bench.device.pending(), 0u);
    EXPECT_TRUE(bench.messages.entries.empty());
}

TEST(WakeAndIdentify, BannerAfterTheBreakNeedsNoWakeUpStringButAPause) {
    LinkBench bench;
    SleepUntilBreak(bench.device, "Kelvra QPX\r\n>");
    AnswerVer(bench.device, "QPX Version 1.0");
    EXPECT_EQ(WakeAndIdentify(bench.link), link::kSystemQpx);
    ASSERT_EQ(bench.device.breakTimes.size(), 1u);
    EXPECT_EQ(bench.device.written.find(kWakeUpString), std::string::npos);
    const std::int64_t promptAt = bench.device.breakTimes[0] + 200 + 1000; // waited for at once
    EXPECT_GE(VerSentAt(bench.device) - promptAt, 2000);
    EXPECT_LT(VerSentAt(bench.device) - promptAt, 2500);
}

TEST(WakeAndIdentify, SilenceAfterTheBreakSendsTheWakeUpString) {
    LinkBench bench;
    bench.device.awake = false;
    bench.device.onWrite = [&bench](std::string_view bytes) {
        if (bytes == kWakeUpString) {
            bench.device.awake = true;
        }
    };
    AnswerVer(bench.device, "QPX Version 1.0");
    EXPECT_EQ(WakeAndIdentify(bench.link), link::kSystemQpx);
    EXPECT_EQ(bench.device.breakTimes.size(), 1u);
    const auto at = bench.device.written.find(kWakeUpString + "\r");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(bench.device.writeTimes[at + 10] - bench.device.writeTimes[at], 500);
}

TEST(WakeAndIdentify, StartingCompassGetsTheLongWaitAndNoWakeUpString) {
    for (const int promptAfterMs : {5000, 17900}) {
        LinkBench bench;
        bench.device.awake = false;
        bench.device.onBreak = [&bench, promptAfterMs] {
            bench.device.awake = true;
            bench.device.arriveIn(100, "Compass starting\r\n");
            bench.device.arriveIn(promptAfterMs, ">");
        };
        AnswerVer(bench.device, "QPX Version 1.0");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(WakeAndIdentify(bench.link), link::kSystemQpx) << promptAfterMs;
        const auto real = std::chrono::steady_clock::now() - start;
        EXPECT_LT(real, std::chrono::seconds(1)) << promptAfterMs;
        EXPECT_EQ(bench.device.written.find(kWakeUpString), std::string::npos);
        EXPECT_GE(VerSentAt(bench.device), 1500 + 200 + promptAfterMs + 2000);
    }
}

TEST(WakeAndIdentify, CompassThatNeverPromptsGivesUp) {
    LinkBench bench;
    SleepUntilBreak(bench.device, "Compass starting\r\n", 100);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WakeAndIdentify(bench.link), link::kSystemNoPrompt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(bench.device.written.find(kWakeUpString), std::string::npos);
    // 1500 + 200 + 1000 + 2000 + 15000 ms of nominal waiting.
    EXPECT_GE(bench.clock.nowMs(), 19600);
    EXPECT_LE(bench.clock.nowMs(), 19800);
}

TEST(WakeAndIdentify, SdiTwelveEndsTheCallEvenWithAPrompt) {
    for (const std::string banner : {"SDI-12 Interface\r\n>", "SDI-12 Interface\r\n"}) {
        LinkBench bench;
        SleepUntilBreak(bench.device, banner);
        EXPECT_EQ(WakeAndIdentify(bench.link), link::kSystemSdi12);
        EXPECT_EQ(VerSentAt(bench.device), -1);
    }
}

TEST(WakeAndIdentify, StrayE8InFrontOfTheVersionIsDiscardedHoweverLateItCame) {
    for (const int lateMs : {0, 40}) {
        LinkBench bench;
        bench.device.answer = [&bench, lateMs](const std::string& line) -> std::string {
            if (line != "Ver") {
                return "\n>";
            }
            const std::string reply = "\xE8\nQPX Version 1.0\r\n>";
            if (lateMs == 0) {
                return reply; // right behind the echoed CR
            }
            bench.device.arriveIn(lateMs, reply);
            return "";
        };
        EXPECT_EQ(WakeAndIdentify(bench.link), link::kSystemQpx) << lateMs;
        EXPECT_EQ(bench.device.pending(), 0u);
    }
}

struct VersionCase {
    const char* name;
    std::string version;
    std::string systemtypeReply;
    int expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.name;
}

class Classification : public ::testing::TestWithParam<VersionCase> {};

TEST_P(Classification, FirstMarkWins) {
    const VersionCase& c = GetParam();
    LinkBench bench;
    AnswerVer(bench.device, c.version);
    bench.device.replies["systemtype"] = c.systemtypeReply + "\r\n>";
    EXPECT_EQ(WakeAndIdentify(bench.link), c.expected);
    const bool askedSystemtype = bench.device.written.find("systemtype\r") != std::string::npos;
    EXPECT_EQ(askedSystemtype,
              c.expected == link::kSystemClv || c.expected == link::kSystemClvReportingWqs);
    EXPECT_EQ(bench.device.pending(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, Classification,
    ::testing::Values(VersionCase{"Qpx", "QPX Version 1.0", "", link::kSystemQpx},
                      VersionCase{"ClvAndQpx", "CLV QPX 2.0", "WQS", link::kSystemQpx},
                      VersionCase{"Merovane", "MRV 3.1", "", link::kSystemMerovane},
                      VersionCase{"MerovaneBeforeClv", "MRV CLV", "", link::kSystemMerovane},
                      VersionCase{"Clv", "CLV 1.2", "CLV", link::kSystemClv},
                      VersionCase{"ClvReportingWqs", "CLV 1.2", "WQS-2",
                                  link::kSystemClvReportingWqs},
                      VersionCase{"Rill", "Rill 4", "", link::kSystemRill},
                      VersionCase{"ZebAndWqs", "ZEB WQS", "", link::kSystemZeb},
                      VersionCase{"Wqs", "WQS 5", "", link::kSystemWqs},
                      VersionCase{"Unknown", "Profiler 9", "", link::kSystemUnknownVersion},
                      VersionCase{"CaseMatters", "qpx", "", link::kSystemUnknownVersion}),
    [](const auto& test) { return std::string(test.param.name); });

struct FailureCase {
    const char* name;
    std::function<void(ScriptedDevice&)> setUp;
    int expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class WakeFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WakeFailure, StopsWithItsValue) {
    LinkBench bench;
    AnswerVer(bench.device, "QPX Version 1.0");
    GetParam().setUp(bench.device);
    EXPECT_EQ(WakeAndIdentify(bench.link), GetParam().expected);
    EXPECT_TRUE(bench.device.lines.empty() || GetParam().expected == link::kSystemVerNotEchoed);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WakeFailure,
    ::testing::Values(FailureCase{"FirstClear", [](ScriptedDevice& d) { d.clearRxFailsFrom = 1; },
                                  link::kSystemClearFailed},
                      FailureCase{"ClearBeforeBreak",
                                  [](ScriptedDevice& d) {
                                      d.awake = false;
                                      d.clearRxFailsFrom = 2;
                                  },
                                  link::kSystemClearFailed},
                      FailureCase{"ClearBeforeWakeUpString",
                                  [](ScriptedDevice& d) {
                                      d.awake = false;
                                      d.clearRxFailsFrom = 3;
                                  },
                                  link::kSystemClearFailed},
                      FailureCase{"Break",
                                  [](ScriptedDevice& d) {
                                      d.awake = false;
                                      d.breakFails = true;
                                  },
                                  link::kSystemBreakFailed},
                      FailureCase{"WakeUpString",
                                  [](ScriptedDevice& d) {
                                      d.awake = false;
                                      d.writeFails = [](std::string_view b) {
                                          return b == kWakeUpString;
                                      };
                                  },
                                  link::kSystemNoPrompt},
                      FailureCase{"NeverWakes", [](ScriptedDevice& d) { d.awake = false; },
                                  link::kSystemNoPrompt},
                      FailureCase{"VerNeverEchoed",
                                  [](ScriptedDevice& d) { d.echoPlan.assign(10, Echo::None); },
                                  link::kSystemVerNotEchoed}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace qpx::test
