#include "WireHelpers.h"
#include "sim/Frames.h"
#include "sim/InstrumentStructures.h"
#include "sim/SimulatedLine.h"

#include <ostream>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::Scenario;
using sim::SimulatedLine;

std::string ConfFrame(SimulatedLine& line, sim::FrameOptions options = {}) {
    const auto data =
        sim::WireBytes(line.instrument().structures(), sim::StructureKind::SystemConfiguration);
    return AsText(sim::BuildFrame(data, options));
}

TEST(EchoFault, SpoilsTheEchoOfTheNamedCommandOnItsFirstAttempts) {
    Scenario scenario;
    scenario.wrongEcho = sim::EchoFault{{"Get CONF", 2}};
    SimulatedLine line(scenario);

    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string reply = Exchange(line, "Get CONF\r");
        EXPECT_EQ(reply.substr(0, 10), "Get CONF\x0C\n") << attempt;
        // The instrument heard the command right and answers it.
        EXPECT_EQ(reply.substr(10, 4), "OK\r\n");
    }
    EXPECT_EQ(Exchange(line, "Get CONF\r").substr(0, 10), "Get CONF\r\n");
    EXPECT_EQ(line.instrument().faultCounts().echo, 2);
}

TEST(EchoFault, LeavesOtherCommandsAlone) {
    Scenario scenario;
    scenario.wrongEcho = sim::EchoFault{{"Get CONF", -1}};
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "Get CON\r").substr(0, 9), "Get CON\r\n");
    EXPECT_EQ(Exchange(line, "Get CONFX\r").substr(0, 11), "Get CONFX\r\n");
    EXPECT_EQ(Exchange(line, "Ver\r").substr(0, 5), "Ver\r\n");
    EXPECT_EQ(Exchange(line, "Get CONF\r").substr(0, 10), "Get CONF\x0C\n");
}

// Each frame fault and the exact reply it produces for "Get CONF".
struct FrameFaultCase {
    const char* name;
    sim::FrameFault fault;
    // The reply after "Get CONF\r\nOK\r\n", built from the clean data.
    std::string (*expected)(SimulatedLine&);
};

void PrintTo(const FrameFaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FrameFaults : public ::testing::TestWithParam<FrameFaultCase> {};

TEST_P(FrameFaults, ShapeTheFrameAsNamed) {
    Scenario scenario;
    scenario.frameFault = GetParam().fault;
    SimulatedLine line(scenario);
    const std::string reply = Exchange(line, "Get CONF\r");
    EXPECT_EQ(reply, "Get CONF\r\nOK\r\n" + GetParam().expected(line));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FrameFaults,
    ::testing::Values(
        FrameFaultCase{
            "Missing", {.missing = true}, [](SimulatedLine&) { return std::string(">"); }},
        FrameFaultCase{"ChecksumOffByOne",
                       {.checksumDelta = 1},
                       [](SimulatedLine& l) { return ConfFrame(l, {.checksumDelta = 1}) + ">"; }},
        FrameFaultCase{"LengthTooShort",
                       {.lengthDelta = -10},
                       [](SimulatedLine& l) { return ConfFrame(l, {.lengthDelta = -10}) + ">"; }},
        FrameFaultCase{"LengthTooLong",
                       {.lengthDelta = 10},
                       [](SimulatedLine& l) { return ConfFrame(l, {.lengthDelta = 10}) + ">"; }},
        FrameFaultCase{"ExtraBytesAfter",
                       {.extraBytes = 5},
                       [](SimulatedLine& l) { return ConfFrame(l) + std::string(5, 'Z') + ">"; }},
        FrameFaultCase{"LineDropsInsideTheFrame",
                       {.dropLineAfter = 10},
                       [](SimulatedLine& l) { return ConfFrame(l).substr(0, 10); }}),
    [](const ::testing::TestParamInfo<FrameFaultCase>& p) { return p.param.name; });

TEST(FrameFaults, DroppedLineStaysDead) {
    Scenario scenario;
    scenario.frameFault = sim::FrameFault{.dropLineAfter = 0};
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "Get CONF\r"), "Get CONF\r\nOK\r\n");
    EXPECT_TRUE(line.instrument().isLineDead());
    line.port().sendBreak(200);
    EXPECT_EQ(Exchange(line, "Ver\r", 2000), "");
}

TEST(FrameFaults, OnlyTheNamedCommandAndOnlyAsOftenAsAsked) {
    Scenario scenario;
    scenario.frameFault = sim::FrameFault{.when = {"Get USER", 1}, .missing = true};
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "Get CONF\r"), "Get CONF\r\nOK\r\n" + ConfFrame(line) + ">");
    EXPECT_EQ(Exchange(line, "Get USER\r"), "Get USER\r\nOK\r\n>");
    EXPECT_GT(Exchange(line, "Get USER\r").size(), 256u); // the retry gets its frame
    EXPECT_EQ(line.instrument().faultCounts().frame, 1);
}

TEST(ReplyFaults, GarbageComesBeforeTheReplyText) {
    Scenario scenario;
    scenario.garbageBeforeReply = sim::GarbageFault{{"Ver", 1}, {0x00, 0x7F}};
    SimulatedLine line(scenario);
    const std::string version = "Kelvra QPX Current Profiler Version 1.70\r\n>";
    EXPECT_EQ(Exchange(line, "Ver\r"), std::string("Ver\r\n") + '\0' + "\x7F" + version);
    EXPECT_EQ(Exchange(line, "Ver\r"), "Ver\r\n" + version);
}

TEST(ReplyFaults, ReplacedReplyCarriesNeitherOkNorDefault) {
    Scenario scenario;
    scenario.replacedReply = sim::ReplyFault{{"Get CONF", -1}, {"ERROR: Busy"}};
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "Get CONF\r"), "Get CONF\r\nERROR: Busy\r\n>");
    EXPECT_EQ(Exchange(line, "enablewaves\r"), "enablewaves\r\nNO\r\n>");
}

} // namespace
} // namespace qpx::test
