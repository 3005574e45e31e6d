#include "WireHelpers.h"
#include "model/OperationConfiguration.h"
#include "model/UserSetup.h"
#include "sim/SimulatedLine.h"

#include <cstring>
#include <functional>
#include <ostream>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::Scenario;
using sim::SimulatedLine;

// The data of the frame that follows "<command>\r\nOK\r\n", as the host receives it.
std::vector<std::uint8_t> FetchFrameData(SimulatedLine& line, std::string_view command) {
    const std::string reply = Exchange(line, std::string(command) + "\r");
    const std::size_t start = command.size() + 6;
    if (reply.size() < start + 4) {
        return {};
    }
    const std::size_t length =
        static_cast<std::uint8_t>(reply[start]) |
        (static_cast<std::size_t>(static_cast<std::uint8_t>(reply[start + 1])) << 8);
    if (length < 4 || reply.size() < start + length) {
        return {};
    }
    return {reply.begin() + static_cast<std::ptrdiff_t>(start + 2),
            reply.begin() + static_cast<std::ptrdiff_t>(start + length - 2)};
}

model::UserSetup GetUser(SimulatedLine& line) {
    const auto decoded = model::DecodeUserSetup(FetchFrameData(line, "Get USER"));
    EXPECT_TRUE(decoded.ok());
    return decoded.ok() ? decoded.value() : model::UserSetup{};
}

model::OperationConfiguration GetOper(SimulatedLine& line) {
    const auto decoded = model::WidenOperationConfiguration(FetchFrameData(line, "Get OPER"), 0);
    EXPECT_TRUE(decoded.ok());
    return decoded.ok() ? decoded.value() : model::OperationConfiguration{};
}

// Everything that arrives within `ms` of now (periodic output never falls quiet).
std::string ReadFor(link::Port& port, std::int64_t ms) {
    std::string out;
    const std::int64_t end = port.clock().nowMs() + ms;
    for (std::int64_t now = port.clock().nowMs(); now < end; now = port.clock().nowMs()) {
        if (port.waitReadable(static_cast<int>(end - now))) {
            for (int byte = port.readChar(); byte >= 0; byte = port.readChar()) {
                out.push_back(static_cast<char>(byte));
            }
        }
    }
    return out;
}

std::string Text(const auto& field) {
    return std::string(field.data(), strnlen(field.data(), field.size()));
}

// One settings command as the upload sends it and what "Get USER" shows afterwards.
struct SettingCase {
    const char* command;
    std::function<bool(const model::UserSetup&)> applied;
};

void PrintTo(const SettingCase& c, std::ostream* os) {
    *os << c.command;
}

class SettingsCommands : public ::testing::TestWithParam<SettingCase> {};

TEST_P(SettingsCommands, AnswerOkAndShowInGetUser) {
    SimulatedLine line;
    const std::string command = GetParam().command;
    EXPECT_EQ(Exchange(line, command + "\r"), command + "\r\nOK\r\n>");
    EXPECT_TRUE(GetParam().applied(GetUser(line))) << command;
}

INSTANTIATE_TEST_SUITE_P(
    Upload, SettingsCommands,
    ::testing::Values(
        SettingCase{"Deployment DEF",
                    [](const model::UserSetup& u) { return Text(u.deploymentName) == "DEF"; }},
        SettingCase{"StartDate 2001/07/04",
                    [](const model::UserSetup& u) {
                        return u.startDate == model::UserSetup::StartDate{2001, 4, 7};
                    }},
        SettingCase{"StartTime 09:05:00",
                    [](const model::UserSetup& u) {
                        return u.startTime == model::UserSetup::StartTime{5, 9, 0, 0};
                    }},
        SettingCase{"ai       120",
                    [](const model::UserSetup& u) { return u.averagingInterval == 120; }},
        SettingCase{"pri      1200",
                    [](const model::UserSetup& u) { return u.profilingInterval == 1200; }},
        // The float nearest 0.35 must not land on 34 cm here: the instrument rounds.
        SettingCase{"cs 0.35", [](const model::UserSetup& u) { return u.cellSize == 35; }},
        SettingCase{"nc 25", [](const model::UserSetup& u) { return u.numberOfCells == 25; }},
        SettingCase{"bd 0.40", [](const model::UserSetup& u) { return u.blankingDistance == 40; }},
        SettingCase{"Cy ENU", [](const model::UserSetup& u) { return u.coordinateSystem == 2; }},
        SettingCase{"Cy BEAM", [](const model::UserSetup& u) { return u.coordinateSystem == 0; }},
        SettingCase{"om Polled", [](const model::UserSetup& u) { return u.outputMode == 1; }},
        SettingCase{"TempMode Measured",
                    [](const model::UserSetup& u) { return u.temperatureMode == 1; }},
        SettingCase{"Temp     20.00",
                    [](const model::UserSetup& u) { return u.defaultTemperature == 200; }},
        SettingCase{"Temp     -2.50",
                    [](const model::UserSetup& u) { return u.defaultTemperature == -25; }},
        SettingCase{"Sal     34.50", [](const model::UserSetup& u) { return u.salinity == 345; }},
        SettingCase{"bm Enabled", [](const model::UserSetup& u) { return u.burstMode == 1; }},
        SettingCase{"bi      1200",
                    [](const model::UserSetup& u) { return u.burstInterval == 1200; }},
        SettingCase{"sb        1",
                    [](const model::UserSetup& u) { return u.profilesPerBurst == 1; }},
        SettingCase{"wsr 4",
                    [](const model::UserSetup& u) { return (u.waveOptions & 0x0C) == 0x08; }},
        SettingCase{"wst PUV_SERIES",
                    [](const model::UserSetup& u) { return (u.waveOptions & 0x30) == 0x10; }},
        SettingCase{"wsl 1024", [](const model::UserSetup& u) { return u.waveSamples == 1024; }},
        SettingCase{"rws 4", [](const model::UserSetup& u) { return u.waveInterval == 4; }}));

class RefusedValues : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedValues, AnswerErrorAndChangeNothing) {
    SimulatedLine line;
    const model::UserSetup before = GetUser(line);
    const std::string command = GetParam();
    EXPECT_EQ(Exchange(line, command + "\r"), command + "\r\nERROR\r\n>");
    EXPECT_EQ(GetUser(line), before);
}

INSTANTIATE_TEST_SUITE_P(Upload, RefusedValues,
                         ::testing::Values("nc 0", "nc 129", "nc 2x", "ai 0", "ai 70000", "cs 0.00",
                                           "Temp 60.00", "Sal -1.00", "Cy NEU", "wsr 3",
                                           "wst X_SERIES", "rws 256", "StartDate 2001/02/29",
                                           "StartTime 09:05:60", "Deployment ABCDEFGHI", "pri"));

TEST(SaveSetup, KeepsTheWorkingCopyAsTheSavedOne) {
    SimulatedLine line;
    sim::Instrument& instrument = line.instrument();
    Exchange(line, "nc 25\r");
    EXPECT_EQ(instrument.structures().userSetup.numberOfCells, 25);
    EXPECT_NE(instrument.savedStructures().userSetup.numberOfCells, 25);
    EXPECT_EQ(Exchange(line, "SaveSetup\r"), "SaveSetup\r\nOK\r\n>");
    EXPECT_EQ(instrument.savedStructures().userSetup.numberOfCells, 25);
}

TEST(AlwaysSentCommands, AreAcknowledged) {
    SimulatedLine line;
    EXPECT_EQ(Exchange(line, "of ascii\r"), "of ascii\r\nOK\r\n>");
    EXPECT_EQ(Exchange(line, "AutoSleep on\r"), "AutoSleep on\r\nOK\r\n>");
}

TEST(PulseSettings, ApplyToGetOper) {
    SimulatedLine line;
    EXPECT_EQ(Exchange(line, "pl   0.50\r"), "pl   0.50\r\nOK\r\n>");
    EXPECT_EQ(Exchange(line, "pg   0.40\r"), "pg   0.40\r\nOK\r\n>");
    EXPECT_EQ(Exchange(line, "rpg   0.00\r"), "rpg   0.00\r\nOK\r\n>");
    const model::OperationConfiguration oper = GetOper(line);
    EXPECT_EQ(oper.pulseLength, 50u);
    EXPECT_EQ(oper.userPulseLag, 40u);
    EXPECT_EQ(oper.userResLag, 0u);
    // 16 bits of centimetres on the wire: more does not fit.
    EXPECT_EQ(Exchange(line, "pl 655.36\r"), "pl 655.36\r\nERROR\r\n>");
}

TEST(Comments, ThreeEchoedLinesThenOkAndTheyShowInGetUser) {
    SimulatedLine line;
    EXPECT_EQ(Exchange(line, "Comments\r"), "Comments\r\nEnter 3 lines of comments\r\n");
    EXPECT_EQ(Exchange(line, "First line\r"), "First line\r\n");
    EXPECT_EQ(Exchange(line, "\r"), "\r\n");
    EXPECT_EQ(Exchange(line, "  third\r"), "  third\r\nOK\r\n>");
    const model::UserSetup user = GetUser(line);
    EXPECT_EQ(Text(user.comment1), "First line");
    EXPECT_EQ(Text(user.comment2), "");
    EXPECT_EQ(Text(user.comment3), "  third");
    const std::vector<std::string> expected{"Comments", "First line", "  third", "Get USER"};
    EXPECT_EQ(line.instrument().transcript(), expected);
}

TEST(Comments, ALineWithoutItsCarriageReturnIsNeverTaken) {
    SimulatedLine line;
    EXPECT_EQ(Exchange(line, "Comments"), "Comments");
    EXPECT_TRUE(line.instrument().transcript().empty());
    EXPECT_EQ(Exchange(line, "\r"), "\r\nEnter 3 lines of comments\r\n");
}

TEST(Comments, LongLinesAreCutTo59Characters) {
    SimulatedLine line;
    Exchange(line, "Comments\r");
    Exchange(line, std::string(70, 'x') + "\r");
    Exchange(line, "b\r");
    Exchange(line, "c\r");
    EXPECT_EQ(Text(GetUser(line).comment1), std::string(59, 'x'));
}

TEST(Clock, ReadsRunOnWithTheLinesTime) {
    Scenario scenario;
    scenario.clockHour = 23;
    scenario.clockMinute = 59;
    scenario.clockSecond = 58;
    scenario.clockYear = 2001;
    scenario.clockMonth = 12;
    scenario.clockDay = 31;
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "Date\r"), "Date\r\nCurrent date is 2001/12/31\r\n>");
    EXPECT_EQ(Exchange(line, "Time\r"), "Time\r\nCurrent time is 23:59:58\r\n>");
    line.clock().sleepMs(2000);
    EXPECT_EQ(Exchange(line, "Date\r"), "Date\r\nCurrent date is 2002/01/01\r\n>");
}

TEST(Clock, DateAndTimeLinesSetIt) {
    SimulatedLine line;
    EXPECT_EQ(Exchange(line, "Date 2002/01/01\r"), "Date 2002/01/01\r\nOK\r\n>");
    EXPECT_EQ(Exchange(line, "Time 00:00:00\r"), "Time 00:00:00\r\nOK\r\n>");
    const link::CalendarTime now = line.instrument().clockAt(sim::FromMs(line.clock().nowMs()));
    EXPECT_EQ(now, (link::CalendarTime{2002, 1, 1, 0, 0, 0}));
    EXPECT_EQ(Exchange(line, "Time 09:05:60\r"), "Time 09:05:60\r\nERROR\r\n>");
    EXPECT_EQ(Exchange(line, "Date 2001/13/01\r"), "Date 2001/13/01\r\nERROR\r\n>");
    EXPECT_EQ(line.instrument().clockAt(sim::FromMs(line.clock().nowMs())).year, 2002);
}

TEST(Deploy, AcknowledgesThenSendsALineEachInterval) {
    Scenario scenario;
    scenario.deploy.outputIntervalMs = 2000;
    SimulatedLine line(scenario);
    Send(line.port(), "deploy\r");
    EXPECT_EQ(ReadFor(line.port(), 4500),
              "deploy\r\nOK\r\nDeployment started\r\n2001/07/04 09:05:02 Profile 1\r\n"
              "2001/07/04 09:05:04 Profile 2\r\n");
    EXPECT_TRUE(line.instrument().isDeploying());
    // A deployed instrument sleeps between profiles: typing gets no echo.
    Send(line.port(), "Ver\r");
    const std::string typed = ReadFor(line.port(), 100);
    EXPECT_EQ(typed.find("Ver"), std::string::npos);
}

TEST(Deploy, FollowsTheProfilingIntervalAndStopsWhenWoken) {
    SimulatedLine line;
    Exchange(line, "pri 5\r");
    Send(line.port(), "deploy\r");
    ReadFor(line.port(), 100);
    const std::int64_t start = line.clock().nowMs();
    ASSERT_TRUE(line.port().waitReadable(6000));
    EXPECT_GE(line.clock().nowMs() - start, 4500);
    line.port().sendBreak(300);
    EXPECT_FALSE(line.instrument().isDeploying());
    const std::string after = Collect(line.port(), 12000);
    EXPECT_EQ(after.find("Profile "), after.rfind("Profile ")) << after;
}

TEST(Silence, AfterTheNthLineNothingMoreIsAnswered) {
    Scenario scenario;
    scenario.silence = sim::SilenceFault{2, {}};
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "nc 25\r"), "nc 25\r\nOK\r\n>");
    EXPECT_EQ(Exchange(line, "bd 0.40\r"), "bd 0.40\r\nOK\r\n>");
    EXPECT_EQ(Exchange(line, "SaveSetup\r"), "");
    line.port().sendBreak(300);
    EXPECT_EQ(Collect(line.port(), 1000), "");
    EXPECT_NE(line.instrument().savedStructures().userSetup.numberOfCells, 25);
}

TEST(Silence, AtACommandItsBytesAreEchoedButNotItsEnd) {
    Scenario scenario;
    scenario.silence = sim::SilenceFault{-1, "Comments"};
    SimulatedLine line(scenario);
    EXPECT_EQ(Exchange(line, "nc 25\r"), "nc 25\r\nOK\r\n>");
    EXPECT_EQ(Exchange(line, "Comments\r"), "Comments");
    EXPECT_EQ(Exchange(line, "x\r"), "");
}

} // namespace
} // namespace qpx::test
