#include "WireHelpers.h"
#include "sim/SimulatedLine.h"

#include <algorithm>
#include <ostream>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::Pacing;
using sim::Scenario;

// Everything a host would see for a typical exchange, reply by reply, with arrival times.
std::vector<TimedText> Conversation(const Pacing& pacing) {
    Scenario scenario;
    scenario.pacing = pacing;
    sim::SimulatedLine line(scenario);
    std::vector<TimedText> replies;
    for (const char* command : {" ", "Ver\r", "Get CONF\r", "Get USER\r", "enablewaves\r"}) {
        Send(line.port(), command);
        replies.push_back(CollectTimed(line.port(), 500));
    }
    return replies;
}

std::string AllText(const std::vector<TimedText>& replies) {
    std::string text;
    for (const TimedText& reply : replies) {
        text += reply.text;
    }
    return text;
}

// The longest quiet time between two bytes of one reply.
std::int64_t LongestGap(const std::vector<TimedText>& replies) {
    std::int64_t gap = 0;
    for (const TimedText& reply : replies) {
        for (std::size_t i = 1; i < reply.arrivalMs.size(); ++i) {
            gap = std::max(gap, reply.arrivalMs[i] - reply.arrivalMs[i - 1]);
        }
    }
    return gap;
}

struct PacingCase {
    const char* name;
    Pacing pacing;
    std::int64_t minimumGapMs; // a quiet time the pacing must produce somewhere
};

void PrintTo(const PacingCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplyPacing : public ::testing::TestWithParam<PacingCase> {};

TEST_P(ReplyPacing, ChangesTimingButNotContent) {
    const std::vector<TimedText> plain = Conversation({});
    const std::vector<TimedText> paced = Conversation(GetParam().pacing);
    EXPECT_EQ(AllText(paced), AllText(plain));
    ASSERT_FALSE(paced.back().arrivalMs.empty());
    EXPECT_GT(paced.back().arrivalMs.back(), plain.back().arrivalMs.back());
    EXPECT_LE(LongestGap(plain), 2);
    EXPECT_GE(LongestGap(paced), GetParam().minimumGapMs);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReplyPacing,
    ::testing::Values(
        PacingCase{"DelayBeforeReply", {.replyDelayMs = 200}, 200},
        PacingCase{"PauseMidReply", {.midReplyPauseMs = 150}, 150},
        PacingCase{"PauseAfterFirstByte", {.midReplyPauseMs = 120, .midReplyPauseAfter = 1}, 120},
        PacingCase{"SmallPieces", {.pieceBytes = 3, .pieceGapMs = 8}, 8},
        PacingCase{"SingleBytes", {.pieceBytes = 1, .pieceGapMs = 2}, 2}),
    [](const ::testing::TestParamInfo<PacingCase>& p) { return p.param.name; });

TEST(ReplyPacing, DelayCountsFromTheEchoedLineEnd) {
    Scenario scenario;
    scenario.pacing.replyDelayMs = 200;
    sim::SimulatedLine line(scenario);
    Send(line.port(), "Ver\r");
    const TimedText reply = CollectTimed(line.port(), 500);
    ASSERT_GT(reply.text.size(), 5u);
    ASSERT_EQ(reply.text.substr(0, 5), "Ver\r\n");
    // The echo is never held back; the first reply byte is.
    EXPECT_LE(reply.arrivalMs[4], 7);
    EXPECT_GE(reply.arrivalMs[5] - reply.arrivalMs[4], 200);
}

TEST(ReplyPacing, PieceGapsFallBetweenPieces) {
    Scenario scenario;
    scenario.pacing.pieceBytes = 4;
    scenario.pacing.pieceGapMs = 10;
    sim::SimulatedLine line(scenario);
    Send(line.port(), "Ver\r");
    const TimedText reply = CollectTimed(line.port(), 500);
    // Bytes 5.. are the reply: a gap of at least 10 ms every four bytes, none inside a piece.
    for (std::size_t i = 6; i < reply.arrivalMs.size(); ++i) {
        const auto gap = reply.arrivalMs[i] - reply.arrivalMs[i - 1];
        if ((i - 5) % 4 == 0) {
            EXPECT_GE(gap, 10) << i;
        } else {
            EXPECT_LE(gap, 2) << i;
        }
    }
}

} // namespace
} // namespace qpx::test
