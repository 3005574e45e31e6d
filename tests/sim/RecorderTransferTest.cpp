#include "WireHelpers.h"
#include "sim/Frames.h"
#include "sim/SimulatedLine.h"

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::Scenario;
using sim::SimulatedLine;

std::string Block(std::vector<std::uint8_t> payload, int checksumDelta = 0) {
    sim::FrameOptions options;
    options.checksumDelta = checksumDelta;
    return AsText(sim::BuildFrame(payload, options));
}

std::uint32_t U32At(const std::string& text, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[at + i])) << (8 * i);
    }
    return value;
}

Scenario OneFileCard() {
    Scenario scenario;
    sim::RecorderFile file;
    file.name = "DEF01.QPX";
    file.size = 123456;
    file.year = 2001;
    file.month = 3;
    file.day = 5;
    file.hour = 14;
    file.minute = 2;
    file.second = 9;
    scenario.recorderFiles.push_back(file);
    scenario.recorderCapacity = 32u * 1048576u;
    scenario.recorderUsed = 16u * 65536u;
    return scenario;
}

TEST(DirectoryTransfer, BlocksFollowEachAckThenThePrompt) {
    SimulatedLine line(OneFileCard());
    EXPECT_EQ(Exchange(line, "bdir\r"), "bdir\r\nOK\r\nc");

    const std::string header = Exchange(line, "a");
    ASSERT_EQ(header.size(), 84u);
    EXPECT_EQ(header.substr(0, 2), std::string("\x54\x00", 2));
    EXPECT_EQ(U32At(header, 2 + 74), 32u * 1048576u);

    const std::string file = Exchange(line, "a");
    ASSERT_EQ(file.size(), 32u);
    EXPECT_EQ(file.substr(2, 10), std::string("DEF01.QPX\0", 10));
    EXPECT_EQ(U32At(file, 2 + 13), 123456u);
    const std::string date = file.substr(2 + 20, 8);
    // Year since 1980, day, month, minute, hour, hundredths, second.
    EXPECT_EQ(date, std::string("\x15\x00\x05\x03\x02\x0E\x00\x09", 8));

    EXPECT_EQ(Exchange(line, "a"), std::string("\x04\x00\x96\xA5", 4));
    EXPECT_EQ(Exchange(line, "a"), Block({16, 0}));
    EXPECT_EQ(Exchange(line, "a"), ">");
    // Back at the command line.
    EXPECT_EQ(Exchange(line, "Ver\r").substr(0, 5), "Ver\r\n");
}

TEST(DirectoryTransfer, EmptyCardSendsHeaderEndAndUsedSpace) {
    SimulatedLine line;
    Exchange(line, "bdir\r");
    EXPECT_EQ(Exchange(line, "a").size(), 84u);
    EXPECT_EQ(Exchange(line, "a"), Block({}));
    EXPECT_EQ(Exchange(line, "a"), Block({0, 0}));
}

TEST(DirectoryTransfer, NakBringsTheSameBlockAgain) {
    SimulatedLine line(OneFileCard());
    Exchange(line, "bdir\r");
    const std::string header = Exchange(line, "a");
    EXPECT_EQ(Exchange(line, "b"), header);
    const std::string file = Exchange(line, "a");
    EXPECT_EQ(Exchange(line, "b"), file);
}

TEST(BlockFault, BadChecksumOnTheFirstSendsOfABlock) {
    Scenario scenario = OneFileCard();
    scenario.blockFault = sim::BlockFault{};
    scenario.blockFault->badChecksumBlock = 1;
    scenario.blockFault->badChecksumTimes = 2;
    SimulatedLine line(scenario);
    Exchange(line, "bdir\r");
    Exchange(line, "a");
    const std::string first = Exchange(line, "a");
    const std::string second = Exchange(line, "b");
    const std::string third = Exchange(line, "b");
    EXPECT_EQ(first, second);
    EXPECT_NE(third, first);
    EXPECT_EQ(first.substr(0, 30), third.substr(0, 30));
    EXPECT_EQ(static_cast<std::uint8_t>(first[30]),
              static_cast<std::uint8_t>(static_cast<std::uint8_t>(third[30]) + 1));
}

TEST(BlockFault, LostUsedSpaceBlockLeavesSilenceUntilTheClosingAck) {
    Scenario scenario;
    scenario.blockFault = sim::BlockFault{};
    scenario.blockFault->usedSpaceMissing = true;
    SimulatedLine line(scenario);
    Exchange(line, "bdir\r");
    Exchange(line, "a");
    EXPECT_EQ(Exchange(line, "a"), Block({}));
    EXPECT_EQ(Exchange(line, "a"), "");
    EXPECT_EQ(Exchange(line, "b"), "");
    EXPECT_EQ(Exchange(line, "a"), ">");
}

TEST(BlockFault, ExtraFileBlocksComeBeforeTheEnd) {
    Scenario scenario;
    scenario.blockFault = sim::BlockFault{};
    scenario.blockFault->extraFileBlocks = 513;
    SimulatedLine line(scenario);
    Exchange(line, "bdir\r");
    Exchange(line, "a");
    int fileBlocks = 0;
    while (Exchange(line, "a").size() == 32u) {
        ++fileBlocks;
    }
    EXPECT_EQ(fileBlocks, 513);
}

TEST(BlockFault, LineDropsInsideABlock) {
    Scenario scenario = OneFileCard();
    scenario.blockFault = sim::BlockFault{};
    scenario.blockFault->dropLineInBlock = 1;
    scenario.blockFault->dropLineAfter = 10;
    SimulatedLine line(scenario);
    Exchange(line, "bdir\r");
    Exchange(line, "a");
    EXPECT_EQ(Exchange(line, "a").size(), 10u);
    EXPECT_EQ(Exchange(line, "b"), "");
    EXPECT_TRUE(line.instrument().isLineDead());
}

TEST(Format, QuestionThenYesThenCompleteAfterItsTime) {
    SimulatedLine line(OneFileCard());
    EXPECT_EQ(Exchange(line, "format\r"),
              "format\r\nFormatting erases all data. Continue? (YES or NO)\r\n");
    Send(line.port(), "yes\r");
    const TimedText answer = CollectTimed(line.port(), 4000);
    EXPECT_EQ(answer.text, "yes\r\nFormat complete\r\nOK\r\n>");
    EXPECT_GE(answer.arrivalMs.back() - answer.arrivalMs.front(), 3000);
    EXPECT_TRUE(line.instrument().recorderFiles().empty());
    EXPECT_EQ(line.instrument().recorderUsed(), 0u);
    EXPECT_EQ(line.instrument().transcript().back(), "yes");
}

TEST(Format, AsksTwiceWhenTold) {
    Scenario scenario;
    scenario.format.asksTwice = true;
    SimulatedLine line(scenario);
    Exchange(line, "format\r");
    EXPECT_EQ(Exchange(line, "yes\r"),
              "yes\r\nFormatting erases all data. Continue? (YES or NO)\r\n");
    EXPECT_EQ(Collect(line.port(), 0) + Exchange(line, "yes\r", 4000),
              "yes\r\nFormat complete\r\nOK\r\n>");
}

TEST(Format, AbortedLeavesTheCardAlone) {
    Scenario scenario = OneFileCard();
    scenario.format.aborted = true;
    SimulatedLine line(scenario);
    Exchange(line, "format\r");
    EXPECT_EQ(Exchange(line, "yes\r", 4000), "yes\r\naborted\r\n>");
    EXPECT_EQ(line.instrument().recorderFiles().size(), 1u);
}

TEST(Format, AnythingButYesAborts) {
    SimulatedLine line;
    Exchange(line, "format\r");
    EXPECT_EQ(Exchange(line, "NO\r"), "NO\r\naborted\r\n>");
}

} // namespace
} // namespace qpx::test
