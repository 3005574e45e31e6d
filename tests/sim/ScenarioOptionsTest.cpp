#include "sim/ScenarioOptions.h"

#include "sim/InstrumentStructures.h"
#include "support/TempDir.h"

#include <fstream>
#include <functional>
#include <ostream>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::ParseScenarioSettings;
using sim::ParseSimOptions;
using sim::Scenario;
using sim::SimOptionsResult;

struct OptionCase {
    const char* name;
    std::vector<std::string> arguments;
    std::function<bool(const sim::SimOptions&)> holds;
};

void PrintTo(const OptionCase& c, std::ostream* os) {
    *os << c.name;
}

class ScenarioOption : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ScenarioOption, LandsInTheScenario) {
    const SimOptionsResult result = ParseSimOptions(GetParam().arguments);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(GetParam().holds(result.options));
}

using O = const sim::SimOptions&;

INSTANTIATE_TEST_SUITE_P(
    Each, ScenarioOption,
    ::testing::Values(
        OptionCase{"Baud", {"--baud", "2400"}, [](O o) { return o.scenario.baudRate == 2400; }},
        OptionCase{
            "BaudInline", {"--baud=115200"}, [](O o) { return o.scenario.baudRate == 115200; }},
        OptionCase{"SystemKeepsOtherSettings",
                   {"--frequency-index", "3", "--system", "merovane"},
                   [](O o) {
                       return o.scenario.systemTypeText == "MRV" &&
                              o.scenario.versionText.find("MRV") != std::string::npos &&
                              o.scenario.frequencyIndex == 3;
                   }},
        OptionCase{"WavesReplyMayBeEmpty",
                   {"--waves-reply", ""},
                   [](O o) { return o.scenario.wavesReply == std::string(); }},
        OptionCase{"PlusOnly",
                   {"--plus-only"},
                   [](O o) { return o.scenario.sleeping && !o.scenario.wakesOnBreak; }},
        OptionCase{"RecorderFilesRepeat",
                   {"--recorder-file", "DEP01.QPX,1048576,2001/03/05 14:02:09", "--recorder-file",
                    "B,0,1999/12/31 23:59:59"},
                   [](O o) {
                       const auto& f = o.scenario.recorderFiles;
                       return f.size() == 2 && f[0].name == "DEP01.QPX" && f[0].size == 1048576u &&
                              f[0].year == 2001 && f[0].month == 3 && f[0].day == 5 &&
                              f[0].hour == 14 && f[0].minute == 2 && f[0].second == 9 &&
                              f[1].year == 1999;
                   }},
        OptionCase{"Clock",
                   {"--clock", "2026/12/07 18:05:59"},
                   [](O o) {
                       const Scenario& s = o.scenario;
                       return s.clockYear == 2026 && s.clockMonth == 12 && s.clockDay == 7 &&
                              s.clockHour == 18 && s.clockMinute == 5 && s.clockSecond == 59;
                   }},
        OptionCase{"TriggerWithTimes",
                   {"--wrong-echo", "Get CONF:2"},
                   [](O o) {
                       return o.scenario.wrongEcho->when.command == "Get CONF" &&
                              o.scenario.wrongEcho->when.times == 2;
                   }},
        // A time of day ends in ":NN" itself; only an explicit count is cut off.
        OptionCase{"TriggerWithColonsInTheCommand",
                   {"--replace-reply", "StartTime 12:00:00:-1"},
                   [](O o) {
                       return o.scenario.replacedReply->when.command == "StartTime 12:00:00" &&
                              o.scenario.replacedReply->when.times == -1;
                   }},
        OptionCase{
            "FrameFaultsCombine",
            {"--frame-on", "Get OPER:1", "--frame-checksum-delta", "1", "--frame-drop-after", "10"},
            [](O o) {
                const auto& f = *o.scenario.frameFault;
                return f.when.command == "Get OPER" && f.when.times == 1 && f.checksumDelta == 1 &&
                       f.dropLineAfter == 10 && !f.missing;
            }},
        OptionCase{
            "BlockFaults",
            {"--block-bad-checksum", "3@2", "--block-drop", "4", "--block-extra-files", "600"},
            [](O o) {
                const auto& b = *o.scenario.blockFault;
                return b.badChecksumTimes == 3 && b.badChecksumBlock == 2 &&
                       b.dropLineInBlock == 4 && b.dropLineAfter == 2 && b.extraFileBlocks == 600;
            }},
        OptionCase{"Silence",
                   {"--silence-after-lines", "5", "--silence-at", "SaveSetup"},
                   [](O o) {
                       return o.scenario.silence->afterLines == 5 &&
                              o.scenario.silence->atCommand == "SaveSetup";
                   }},
        OptionCase{"ServerSettings",
                   {"--link", "/tmp/COM1", "--transcript", "t.txt", "--exit-at", "nc 25",
                    "--exit-mid-frame"},
                   [](O o) {
                       return o.linkPath == "/tmp/COM1" && o.transcriptPath == "t.txt" &&
                              o.exitAt == "nc 25" && o.exitMidFrame;
                   }},
        OptionCase{"ExecTakesTheRest",
                   {"--silent", "--exec", "qpxctl", "--baud", "x"},
                   [](O o) {
                       return o.scenario.silent &&
                              o.exec == std::vector<std::string>{"qpxctl", "--baud", "x"} &&
                              o.scenario.baudRate == 9600;
                   }}),
    [](const ::testing::TestParamInfo<OptionCase>& p) { return p.param.name; });

class RefusedOption : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(RefusedOption, IsAUsageError) {
    const SimOptionsResult result = ParseSimOptions(GetParam());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Each, RefusedOption,
    ::testing::Values(
        std::vector<std::string>{"--baud", "fast"}, std::vector<std::string>{"--baud"},
        std::vector<std::string>{"--frequency-index", "8"},
        std::vector<std::string>{"--waves", "3"}, std::vector<std::string>{"--system", "adcp"},
        std::vector<std::string>{"--clock", "2001/13/01 00:00:00"},
        std::vector<std::string>{"--clock", "2001/07/04"},
        std::vector<std::string>{"--recorder-file", "A,-1,2001/01/01 00:00:00"},
        std::vector<std::string>{"--recorder-file", "THIRTEEN.CHAR,1,2001/01/01 0:0:0"},
        std::vector<std::string>{"--recorder-capacity", "4294967296"},
        std::vector<std::string>{"--user", "numberOfCells=70000"},
        std::vector<std::string>{"--user", "noSuchField=1"},
        std::vector<std::string>{"--user", "deploymentName=TOOLONGNAME"},
        std::vector<std::string>{"--oper", "pulseLength"},
        std::vector<std::string>{"--wrong-echo", ":2"},
        std::vector<std::string>{"--sleeping=maybe"}, std::vector<std::string>{"--exec"},
        std::vector<std::string>{"--scenario", "/nonexistent/file"},
        std::vector<std::string>{"stray"}));

TEST(StructureOverrides, StartFromTheDefaultsOfTheFinalFrequencyAndWaves) {
    // The override comes first, the frequency index later: both must count.
    const SimOptionsResult result = ParseSimOptions(
        {"--user", "numberOfCells=30", "--frequency-index", "2", "--waves", "1", "--user",
         "deploymentName=ABCDE", "--conf", "serialNumber=Q123", "--oper", "pulseLength=77"});
    ASSERT_TRUE(result.ok) << result.message;
    const Scenario& s = result.options.scenario;
    Scenario plain;
    plain.frequencyIndex = 2;
    plain.wavesOption = 1;
    sim::InstrumentStructures expected = sim::MakeInstrumentStructures(plain);
    expected.userSetup.numberOfCells = 30;
    expected.userSetup.deploymentName = {'A', 'B', 'C', 'D', 'E'};
    expected.systemConfiguration.serialNumber = {'Q', '1', '2', '3'};
    expected.operationConfiguration.pulseLength = 77;
    ASSERT_TRUE(s.userSetup && s.systemConfiguration && s.operationConfiguration);
    EXPECT_EQ(*s.userSetup, expected.userSetup);
    EXPECT_EQ(*s.systemConfiguration, expected.systemConfiguration);
    EXPECT_EQ(*s.operationConfiguration, expected.operationConfiguration);
}

TEST(StructureOverrides, SignedFieldsTakeNegativeValues) {
    const SimOptionsResult result = ParseSimOptions({"--user", "defaultTemperature=-15"});
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.options.scenario.userSetup->defaultTemperature, -15);
    EXPECT_FALSE(ParseSimOptions({"--user", "defaultTemperature=40000"}).ok);
}

TEST(ScenarioFile, SettingsCommentsQuotesAndSwitches) {
    const SimOptionsResult result = ParseScenarioSettings("# a sleeping Merovane\n"
                                                          "\n"
                                                          "  system = merovane   # identity\n"
                                                          "sleeping\n"
                                                          "format-aborted = no\n"
                                                          "waves-reply = \"YES # really\"\n"
                                                          "recorder-file = A.QPX,10,2001/01/02 "
                                                          "03:04:05\r\n");
    ASSERT_TRUE(result.ok) << result.message;
    const Scenario& s = result.options.scenario;
    EXPECT_EQ(s.systemTypeText, "MRV");
    EXPECT_TRUE(s.sleeping);
    EXPECT_FALSE(s.format.aborted);
    EXPECT_EQ(s.wavesReply, "YES # really");
    ASSERT_EQ(s.recorderFiles.size(), 1u);
    EXPECT_EQ(s.recorderFiles[0].second, 5);
}

TEST(ScenarioFile, ErrorsNameTheLine) {
    const SimOptionsResult unknown = ParseScenarioSettings("baud = 1200\ncolour = blue\n");
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.message.find("line 2"), std::string::npos) << unknown.message;
    const SimOptionsResult bad = ParseScenarioSettings("\n\nbaud = slow\n");
    EXPECT_NE(bad.message.find("line 3"), std::string::npos) << bad.message;
    EXPECT_FALSE(ParseScenarioSettings("baud =\n").ok);
    EXPECT_FALSE(ParseScenarioSettings("two words = 1\n").ok);
}

TEST(ScenarioFile, AppliesWhereItStandsOnTheCommandLine) {
    TempDir dir;
    const std::string path = (dir.path() / "s.scenario").string();
    std::ofstream(path) << "baud = 1200\nfrequency-index = 4\n";
    const SimOptionsResult result =
        ParseSimOptions({"--frequency-index", "2", "--scenario", path, "--baud", "4800"});
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.options.scenario.frequencyIndex, 4); // the file overrides what came before
    EXPECT_EQ(result.options.scenario.baudRate, 4800);    // and later options override the file
}

} // namespace
} // namespace qpx::test
