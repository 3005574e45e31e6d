#include "WireHelpers.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"
#include "planning/DefaultStructures.h"
#include "sim/Frames.h"
#include "sim/InstrumentStructures.h"
#include "sim/SimulatedLine.h"

#include <ostream>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::Scenario;
using sim::StructureKind;

TEST(FrameChecksum, SeedPlusUnsignedByteSumModulo65536) {
    const std::vector<std::uint8_t> abc{'a', 'b', 'c'};
    EXPECT_EQ(sim::FrameChecksum(abc), 0xA6BC);
    EXPECT_EQ(sim::FrameChecksum({}), 0xA596);
    const std::vector<std::uint8_t> high(300, 0xFF); // 76500 wraps past 65536
    EXPECT_EQ(sim::FrameChecksum(high), (0xA596 + 300 * 0xFF) & 0xFFFF);
}

TEST(FrameLayout, LeadInLengthDataChecksumLittleEndian) {
    const std::vector<std::uint8_t> data{0x01, 0xE8, 0x03};
    const std::vector<std::uint8_t> frame = sim::BuildFrame(data, {.leadIn = 2});
    const std::uint16_t sum = sim::FrameChecksum(data);
    EXPECT_EQ(frame, (std::vector<std::uint8_t>{0xE8, 0xE8, 7, 0, 0x01, 0xE8, 0x03,
                                                static_cast<std::uint8_t>(sum & 0xFF),
                                                static_cast<std::uint8_t>(sum >> 8)}));
}

// A structure reply as it arrives: the echoed command, "OK" CR LF, the frame, what follows.
struct ReceivedFrame {
    int leadIn = 0;
    int length = 0;
    std::vector<std::uint8_t> data;
    int checksum = 0;
    std::string after;
};

ReceivedFrame ParseReply(const std::string& reply, const std::string& command) {
    const std::string head = command + "\r\nOK\r\n";
    EXPECT_EQ(reply.substr(0, head.size()), head);
    ReceivedFrame frame;
    std::size_t at = head.size();
    while (at < reply.size() && static_cast<std::uint8_t>(reply[at]) == sim::kFrameLeadInByte) {
        ++frame.leadIn;
        ++at;
    }
    auto byte = [&](std::size_t i) -> std::uint8_t {
        return i < reply.size() ? static_cast<std::uint8_t>(reply[i]) : std::uint8_t{0};
    };
    frame.length = byte(at) | (byte(at + 1) << 8);
    at += 2;
    const std::size_t dataLength =
        frame.length >= 4 ? static_cast<std::size_t>(frame.length - 4) : 0;
    for (std::size_t i = 0; i < dataLength && at < reply.size(); ++i) {
        frame.data.push_back(byte(at++));
    }
    frame.checksum = byte(at) | (byte(at + 1) << 8);
    at += 2;
    frame.after = at < reply.size() ? reply.substr(at) : "";
    return frame;
}

struct StructureCase {
    const char* command;
    StructureKind kind;
    std::size_t size;
};

void PrintTo(const StructureCase& c, std::ostream* os) {
    *os << c.command;
}

class StructureFrames : public ::testing::TestWithParam<std::tuple<StructureCase, int /*leadIn*/>> {
};

TEST_P(StructureFrames, CarryTheInstrumentsStructureWithAGoodChecksum) {
    const auto& [structure, leadIn] = GetParam();
    Scenario scenario = sim::QpxScenario(3);
    scenario.frameLeadIn = leadIn;
    sim::SimulatedLine line(scenario);

    const ReceivedFrame frame =
        ParseReply(Exchange(line, std::string(structure.command) + "\r"), structure.command);
    EXPECT_EQ(frame.leadIn, leadIn);
    EXPECT_EQ(frame.length, static_cast<int>(structure.size + 4));
    EXPECT_EQ(frame.data, sim::WireBytes(line.instrument().structures(), structure.kind));
    EXPECT_EQ(frame.checksum, sim::FrameChecksum(frame.data));
    EXPECT_EQ(frame.after, ">");
}

INSTANTIATE_TEST_SUITE_P(
    AllStructures, StructureFrames,
    ::testing::Combine(
        ::testing::Values(StructureCase{"Get CONF", StructureKind::SystemConfiguration, 96},
                          StructureCase{"Get USER", StructureKind::UserSetup, 256},
                          StructureCase{"Get OPER", StructureKind::OperationConfiguration, 64}),
        ::testing::Values(0, 1, 2, 3, 4)));

class DefaultStructuresOnTheWire : public ::testing::TestWithParam<int> {};

TEST_P(DefaultStructuresOnTheWire, DecodeToThePlanningDefaultsOfTheFrequency) {
    const int frequency = GetParam();
    Scenario scenario = sim::QpxScenario(frequency);
    scenario.wavesOption = 2;
    sim::SimulatedLine line(scenario);

    const auto conf =
        model::DecodeSystemConfiguration(ParseReply(Exchange(line, "Get CONF\r"), "Get CONF").data);
    ASSERT_TRUE(conf.ok()) << conf.error();
    EXPECT_EQ(conf.value(), planning::MakeDefaultSystemConfiguration(frequency));

    const auto user =
        model::DecodeUserSetup(ParseReply(Exchange(line, "Get USER\r"), "Get USER").data);
    ASSERT_TRUE(user.ok()) << user.error();
    model::UserSetup expectedUser = planning::MakeDefaultUserSetup(frequency);
    planning::ApplyWavesOption(expectedUser, 2);
    EXPECT_EQ(user.value(), expectedUser);
    EXPECT_EQ(user.value().waveOptions, 0x10);

    const auto oper = model::WidenOperationConfiguration(
        ParseReply(Exchange(line, "Get OPER\r"), "Get OPER").data, 16);
    ASSERT_TRUE(oper.ok()) << oper.error();
    EXPECT_EQ(oper.value(), planning::MakeDefaultOperationConfiguration(frequency));
}

INSTANTIATE_TEST_SUITE_P(Frequencies, DefaultStructuresOnTheWire, ::testing::Range(0, 8));

TEST(StructureFrames, OldFirmwareSendsTheShortSystemConfiguration) {
    model::SystemConfiguration conf = planning::MakeDefaultSystemConfiguration(1);
    conf.structureVersion = 1;
    Scenario scenario;
    scenario.systemConfiguration = conf;
    sim::SimulatedLine line(scenario);
    const ReceivedFrame frame = ParseReply(Exchange(line, "Get CONF\r"), "Get CONF");
    EXPECT_EQ(frame.length, 64 + 4);
    const auto full = model::Encode(conf);
    EXPECT_EQ(frame.data, std::vector<std::uint8_t>(full.begin(), full.begin() + 64));
}

TEST(StructureFrames, ScenarioStructuresAndPatchesAreWhatIsSent) {
    model::UserSetup user = planning::MakeDefaultUserSetup(1);
    user.numberOfCells = 77;
    model::OperationConfiguration oper = planning::MakeDefaultOperationConfiguration(1);
    oper.pulseLength = 0x1FFFF; // only the low 16 bits travel
    Scenario scenario;
    scenario.userSetup = user;
    scenario.operationConfiguration = oper;
    scenario.patches.push_back({StructureKind::SystemConfiguration, 86, 0x42});
    scenario.patches.push_back({StructureKind::SystemConfiguration, 500, 0x42}); // past the end
    sim::SimulatedLine line(scenario);

    const ReceivedFrame userFrame = ParseReply(Exchange(line, "Get USER\r"), "Get USER");
    EXPECT_EQ(userFrame.data[18] | (userFrame.data[19] << 8), 77);

    const ReceivedFrame operFrame = ParseReply(Exchange(line, "Get OPER\r"), "Get OPER");
    EXPECT_EQ(operFrame.data[41] | (operFrame.data[42] << 8), 0xFFFF);

    const ReceivedFrame confFrame = ParseReply(Exchange(line, "Get CONF\r"), "Get CONF");
    ASSERT_EQ(confFrame.data.size(), 96u);
    EXPECT_EQ(confFrame.data[86], 0x42);
    EXPECT_EQ(confFrame.checksum, sim::FrameChecksum(confFrame.data)); // the patch is summed
}

TEST(StructureFrames, PromptAfterTheFrameCanBeSwitchedOff) {
    Scenario scenario;
    scenario.promptAfterFrame = false;
    sim::SimulatedLine line(scenario);
    EXPECT_EQ(ParseReply(Exchange(line, "Get OPER\r"), "Get OPER").after, "");
}

} // namespace
} // namespace qpx::test
