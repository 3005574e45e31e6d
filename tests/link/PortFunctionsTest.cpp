#include "link/PortFunctions.h"

#include "link/ProgressView.h"
#include "support/LinkBench.h"

#include <array>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using link::ReadBufferTimed;
using link::ReadCharTimed;
using link::ReadStringTimed;

struct LineCase {
    const char* name;
    std::string arriving; // all at t = 10 ms
    int count;
    std::string expected;   // what one read returns
    std::int64_t returnsAt; // virtual ms
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadStringTimedLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReadStringTimedLine, StopsAtTheFirstCompleteLineOrCountOrTimeOut) {
    const LineCase& c = GetParam();
    LinkBench bench;
    bench.device.awake = false;
    bench.device.arriveAt(10, c.arriving);
    std::array<char, 600> buffer{};
    const int n = ReadStringTimed(bench.port, buffer.data(), c.count, link::kLineTerminator, 1000);
    EXPECT_EQ(std::string(buffer.data()), c.expected);
    EXPECT_EQ(n, static_cast<int>(c.expected.size()));
    EXPECT_EQ(bench.clock.nowMs(), c.returnsAt);
    EXPECT_EQ(bench.device.pending(), c.arriving.size() - c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadStringTimedLine,
    ::testing::Values(
        LineCase{"LeadingLineEndsDoNotEndIt", "\r\n\nabc\r\nxyz", 99, "\r\n\nabc\r\n", 10},
        LineCase{"OkLineLeavesTheFrame", std::string("OK\r\n\xE8\x64\0\1\2", 9), 99, "OK\r\n", 10},
        LineCase{"CountEndsIt", "abcdefgh", 5, "abcde", 10},
        LineCase{"TimeOutEndsAnOpenLine", "abc", 99, "abc", 1000},
        LineCase{"OnlyLineEndsWaitForTheTimeOut", "\r\n", 99, "\r\n", 1000}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ReadStringTimed, LineCutIntoPiecesIsReadWhole) {
    LinkBench bench;
    bench.device.awake = false;
    bench.device.arriveAt(100, "\nO");
    bench.device.arriveAt(400, "K\r");
    bench.device.arriveAt(700, "\n>");
    std::array<char, 100> buffer{};
    ReadStringTimed(bench.port, buffer.data(), 99, link::kLineTerminator, 1000);
    EXPECT_STREQ(buffer.data(), "\nOK\r\n");
    EXPECT_EQ(bench.clock.nowMs(), 700);
}

TEST(ReadBufferTimed, ReportsWhatCameInLastCount) {
    LinkBench bench;
    bench.device.awake = false;
    bench.device.arriveAt(10, "abc");
    bench.device.arriveAt(30, "def");
    std::array<std::uint8_t, 10> buffer{};
    EXPECT_EQ(ReadBufferTimed(bench.port, buffer.data(), 10, 100), 6);
    EXPECT_EQ(bench.port.lastCount(), 6);
    EXPECT_EQ(bench.clock.nowMs(), 100);

    bench.device.arriveAt(150, "0123456789xy");
    EXPECT_EQ(ReadBufferTimed(bench.port, buffer.data(), 10, 500), 10);
    EXPECT_EQ(bench.port.lastCount(), 10);
    EXPECT_EQ(bench.clock.nowMs(), 150); // returns when the count is in, not at the time-out
    EXPECT_EQ(bench.device.pending(), 2u);
}

TEST(ReadCharTimed, TellsAByteOfValueF8FromNoByte) {
    LinkBench bench;
    bench.device.awake = false;
    EXPECT_EQ(ReadCharTimed(bench.port, 50), link::kNoByte);
    EXPECT_EQ(bench.clock.nowMs(), 50);
    bench.device.arriveAt(60, "\xF8");
    EXPECT_EQ(ReadCharTimed(bench.port, 50), 0xF8);
    EXPECT_EQ(bench.clock.nowMs(), 60);
}

} // namespace
} // namespace qpx::test

// Every step label of the upload, download, recorder and connection logs lines up its result.
TEST(StepLabel, PadsTheNameWithDotsToTheColumnOfTheResult) {
    EXPECT_EQ(qpx::link::StepLabel("Update Cell Size"), "Update Cell Size............... ");
    EXPECT_EQ(qpx::link::StepLabel("Update Deployment Start Time"),
              "Update Deployment Start Time... ");
    EXPECT_EQ(qpx::link::StepLabel("Open Port", 34), "Open Port........................ ");
    EXPECT_EQ(qpx::link::StepLabel("A name far longer than its column", 10),
              "A name far longer than its column. ");
}
