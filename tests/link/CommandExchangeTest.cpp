#include "link/CommandExchange.h"

#include "support/LinkBench.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using link::SendCommand;
using link::SendCommandExpectOk;
using link::SendCommandWithProgress;
using link::SendEchoedChar;
using link::WaitForPrompt;

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// --- SendEchoedChar

TEST(SendEchoedChar, ComparesTheEchoAndKeepsIt) {
    LinkBench right;
    std::uint8_t slot = 0;
    EXPECT_TRUE(SendEchoedChar(right.port, 'V', slot));
    EXPECT_EQ(slot, 'V');

    LinkBench wrong;
    wrong.device.echoPlan = {Echo::Wrong};
    EXPECT_FALSE(SendEchoedChar(wrong.port, 'V', slot));
    EXPECT_EQ(slot, '#');
}

TEST(SendEchoedChar, LateEchoIsWaitedForAndMissingEchoGivesUpAfterAHundredPolls) {
    LinkBench late;
    late.device.awake = false;
    late.device.arriveAt(3000, "V");
    std::uint8_t slot = 0;
    EXPECT_TRUE(SendEchoedChar(late.port, 'V', slot));

    LinkBench silent;
    silent.device.awake = false;
    slot = 0;
    EXPECT_FALSE(SendEchoedChar(silent.port, 'V', slot));
    EXPECT_EQ(slot, 0);
    // 100 polls of 5 ms, each but the last followed by a 50 ms read.
    EXPECT_GT(silent.clock.nowMs(), 5000);
    EXPECT_LT(silent.clock.nowMs(), 6000);
}

TEST(SendEchoedChar, FailingClearSendsNothing) {
    LinkBench bench;
    bench.device.clearTxFailsFrom = 1;
    std::uint8_t slot = 0;
    EXPECT_FALSE(SendEchoedChar(bench.port, 'V', slot));
    EXPECT_TRUE(bench.device.written.empty());
}

// --- SendCommand

TEST(SendCommand, EchoRightOnTheThirdAttemptIsAcceptedAndLogged) {
    LinkBench bench;
    bench.device.echoPlan = {Echo::Wrong, Echo::Wrong, Echo::Correct};
    EXPECT_EQ(SendCommand(bench.link, "Ver", '>', true), 1);
    EXPECT_TRUE(bench.messages.entries.empty());
    EXPECT_EQ(bench.device.lines, (std::vector<std::string>{"Ver", "Ver", "Ver"}));
    const std::string bad = "Ver\r\n>#er\r\n   <------ Bad Transmission\r\n";
    EXPECT_EQ(bench.log(), bad + bad + "Ver\r\n>Ver\r\n");
}

TEST(SendCommand, TenBadAttemptsFailWithoutMessage) {
    for (const Echo echo : {Echo::Wrong, Echo::None}) {
        LinkBench bench;
        bench.device.echoPlan.assign(12, echo);
        EXPECT_EQ(SendCommand(bench.link, "Ver", '>', true), 0);
        EXPECT_TRUE(bench.messages.entries.empty());
        EXPECT_EQ(Count(bench.device.written, "Ver\r"), 10);
        EXPECT_EQ(Count(bench.log(), "   <------ Bad Transmission\r"), 10);
        if (echo == Echo::None) {
            // No echo leaves the echo text empty: the record is the prompt character alone.
            EXPECT_EQ(Count(bench.log(), "Ver\r\n>\n"), 10);
        }
    }
}

TEST(SendCommand, PromptWaitSendsACrFirstOnlyWhenAsked) {
    LinkBench without;
    EXPECT_EQ(SendCommand(without.link, "Ver", '>', false), 1);
    EXPECT_EQ(without.device.written, "Ver\r");

    LinkBench with;
    EXPECT_EQ(SendCommand(with.link, "Ver", '>', true), 1);
    EXPECT_EQ(with.device.written, "\rVer\r");
}

TEST(SendCommand, MissingPromptIsReported) {
    LinkBench bench;
    bench.device.awake = false;
    EXPECT_EQ(SendCommand(bench.link, "Ver", '>', true), 0);
    EXPECT_EQ(bench.messages.texts(), std::vector<std::string>{"FAIL TO LOCATE PROMPT"});
    EXPECT_EQ(bench.device.written, "\r");
    EXPECT_LE(bench.clock.nowMs(), 100 + 2500 + 10);
}

TEST(SendCommand, LineThatNeverGoesQuietGivesUpAfterAboutFiveSeconds) {
    LinkBench bench;
    bench.device.awake = false;
    for (int t = 0; t < 60000; t += 50) {
        bench.device.arriveAt(t, "x");
    }
    EXPECT_EQ(SendCommand(bench.link, "Ver", '>', false), 0);
    EXPECT_EQ(bench.messages.texts(), std::vector<std::string>{"FAIL TO QUIET THE LINE"});
    EXPECT_TRUE(bench.device.written.empty());
    EXPECT_GE(bench.clock.nowMs(), 5000);
    EXPECT_LE(bench.clock.nowMs(), 5200);
}

TEST(SendCommand, CommandLongerThan98CharactersIsRefusedWhole) {
    LinkBench longest;
    EXPECT_EQ(SendCommand(longest.link, std::string(98, 'a'), '>', false), 1);
    EXPECT_EQ(longest.device.written, std::string(98, 'a') + "\r");

    LinkBench tooLong;
    EXPECT_EQ(SendCommand(tooLong.link, std::string(99, 'a'), '>', false), 0);
    EXPECT_EQ(tooLong.messages.texts(), std::vector<std::string>{"COMMAND TOO LONG"});
    EXPECT_TRUE(tooLong.device.written.empty());
    EXPECT_EQ(tooLong.log(), "");
}

TEST(SendCommand, FailingClearsAreReported) {
    struct Case {
        int clearTxFailsFrom;
        int clearRxFailsFrom;
        const char* message;
    };
    for (const Case& c :
         {Case{1, 0, "FAIL TO CLEAR TRANSMIT BUFFER"}, Case{0, 1, "FAIL TO CLEAR RECEIVE BUFFER"},
          Case{0, 2, "FAIL TO CLEAR RECEIVE BUFFER 2"}}) {
        LinkBench bench;
        bench.device.clearTxFailsFrom = c.clearTxFailsFrom;
        bench.device.clearRxFailsFrom = c.clearRxFailsFrom;
        EXPECT_EQ(SendCommand(bench.link, "Ver", '>', false), 0) << c.message;
        EXPECT_EQ(bench.messages.texts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(bench.device.written.empty()) << c.message;
    }
}

TEST(SendCommand, LogIsAppendedAndOptional) {
    LinkBench bench;
    EXPECT_EQ(SendCommand(bench.link, "A", '>', false), 1);
    EXPECT_EQ(SendCommand(bench.link, "B", '>', false), 1);
    EXPECT_EQ(bench.log(), "A\r\n>A\r\nB\r\n>B\r\n");

    LinkBench unwritable;
    unwritable.link.logDirectory = unwritable.logDir.path() / "missing" / "folder";
    EXPECT_EQ(SendCommand(unwritable.link, "A", '>', false), 1);

    LinkBench none;
    none.link.logDirectory.reset();
    EXPECT_EQ(SendCommand(none.link, "A", '>', false), 1);
    EXPECT_TRUE(none.messages.entries.empty());
}

// --- WaitForPrompt

TEST(WaitForPrompt, BlocksUntilThePromptInsteadOfPolling) {
    LinkBench bench;
    bench.device.awake = false;
    bench.device.arriveAt(1400, "ready>");
    std::string buffer = "kept";
    EXPECT_EQ(WaitForPrompt(bench.port, buffer, 512, ">", 1500), 1);
    EXPECT_EQ(buffer, "keptready>");
    EXPECT_EQ(bench.clock.nowMs(), 1400);
    EXPECT_LE(bench.device.waitReadableCalls, 8);
}

TEST(WaitForPrompt, PollCountBoundsTheWaitHoweverBytesArePaced) {
    for (const int gapMs : {0, 1, 7, 100}) {
        LinkBench bench;
        bench.device.awake = false;
        if (gapMs > 0) {
            for (int t = 0; t < 4000; t += gapMs) {
                bench.device.arriveAt(t, "x");
            }
        }
        std::string buffer;
        EXPECT_EQ(WaitForPrompt(bench.port, buffer, 1024, ">", 1000), 0) << gapMs;
        EXPECT_LE(bench.clock.nowMs(), 1000) << gapMs;
        EXPECT_GE(bench.clock.nowMs(), 400) << gapMs;
    }
}

TEST(WaitForPrompt, StopsAtCapacityAndSeesPastNulBytes) {
    LinkBench full;
    full.device.awake = false;
    full.device.arriveAt(0, std::string(600, 'x') + ">");
    std::string buffer;
    EXPECT_EQ(WaitForPrompt(full.port, buffer, 512, ">", 3000), 0);
    EXPECT_EQ(buffer.size(), 512u);

    LinkBench nul;
    nul.device.awake = false;
    nul.device.arriveAt(5, std::string("\0\0>", 3));
    buffer.clear();
    EXPECT_EQ(WaitForPrompt(nul.port, buffer, 512, ">", 100), 1);
}

// --- SendCommandExpectOk

TEST(SendCommandExpectOk, OkOrDefaultAnywhereInTheReply) {
    struct Case {
        std::string reply;
        int result;
    };
    for (const Case& c :
         {Case{"OK\r\n>", 1}, Case{"Default values\r\n>", 1}, Case{"Using Default\r\n>", 1},
          Case{"ERROR\r\n>", 0}, Case{"Ok\r\n>", 0}}) {
        LinkBench bench;
        bench.device.replies["Set"] = c.reply;
        EXPECT_EQ(SendCommandExpectOk(bench.link, "Set", 3000), c.result) << c.reply;
    }
}

TEST(SendCommandExpectOk, OkCutAcrossTwoReadsIsFound) {
    LinkBench bench;
    bench.device.answer = [&bench](const std::string&) {
        bench.device.arriveIn(1500, "K\r\n>");
        return std::string("\nO");
    };
    EXPECT_EQ(SendCommandExpectOk(bench.link, "Set", 3000), 1);
}

TEST(SendCommandExpectOk, TimeOutGivesWholeSecondReads) {
    struct Case {
        int timeoutMs;
        int reads;
    };
    for (const Case& c : {Case{3000, 3}, Case{1400, 1}, Case{0, 1}, Case{1500, 2}, Case{-800, 1}}) {
        LinkBench bench;
        bench.device.replies["Set"] = ""; // silence after the line end
        EXPECT_EQ(SendCommandExpectOk(bench.link, "Set", c.timeoutMs), 0);
        // Each read waits its full second; one more drains after the last.
        const std::int64_t afterEcho = bench.clock.nowMs() - bench.device.writeTimes.back();
        EXPECT_GE(afterEcho, (c.reads + 1) * 1000) << c.timeoutMs;
        EXPECT_LT(afterEcho, (c.reads + 1) * 1000 + 50) << c.timeoutMs;
    }
}

TEST(SendCommandExpectOk, OkLineIsTakenWholeAndTheFrameLeftBehind) {
    LinkBench bench;
    bench.device.replies["Get CONF"] = std::string("OK\r\n\x64\0abc", 9);
    EXPECT_EQ(SendCommandExpectOk(bench.link, "Get CONF", 3000), 1);
    EXPECT_EQ(bench.device.pending(), 5u);
    EXPECT_EQ(bench.port.peekChar(), 0x64);
}

// --- SendCommandWithProgress

TEST(SendCommandWithProgress, DisabledSendsNothing) {
    LinkBench bench;
    link::RecordingProgressView view;
    EXPECT_EQ(SendCommandWithProgress(bench.link, false, "Set", "Set..... ", &view), 1);
    EXPECT_TRUE(bench.device.written.empty());
    EXPECT_EQ(view.text(), "");
    EXPECT_EQ(bench.clock.nowMs(), 0);
}

TEST(SendCommandWithProgress, ReportsTheStepAndPausesAfterIt) {
    const std::string label = "Set AutoSleep..................";
    LinkBench plain;
    plain.device.replies["AutoSleep 1"] = "OK\r\n>";
    ASSERT_EQ(SendCommandExpectOk(plain.link, "AutoSleep 1", 3000), 1);

    LinkBench bench;
    bench.device.replies["AutoSleep 1"] = "OK\r\n>";
    link::RecordingProgressView view;
    view.setStep(1);
    EXPECT_EQ(SendCommandWithProgress(bench.link, true, "AutoSleep 1", label, &view), 1);
    EXPECT_EQ(view.text(), label + "Success\r\n");
    EXPECT_EQ(view.position(), 1);
    EXPECT_EQ(bench.clock.nowMs() - plain.clock.nowMs(), 150);

    LinkBench noView;
    noView.device.replies["AutoSleep 1"] = "OK\r\n>";
    EXPECT_EQ(SendCommandWithProgress(noView.link, true, "AutoSleep 1", label, nullptr), 1);
}

TEST(SendCommandWithProgress, FailureLeavesTheLabelAlone) {
    LinkBench bench;
    bench.device.replies["AutoSleep 1"] = "ERROR\r\n>";
    link::RecordingProgressView view;
    EXPECT_EQ(SendCommandWithProgress(bench.link, true, "AutoSleep 1", "Set AutoSleep...", &view),
              0);
    EXPECT_EQ(view.text(), "Set AutoSleep...");
    EXPECT_EQ(view.position(), 0);
}

} // namespace
} // namespace qpx::test
