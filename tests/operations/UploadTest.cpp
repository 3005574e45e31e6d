#include "operations/Upload.h"

#include "ScriptedQpx.h"
#include "operations/ChangeDetection.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::ChangeDetection;
using operations::ChangeItem;
using operations::SettingsCommands;
using operations::TransmitSystemVariables;
using Lines = std::vector<std::string>;

const link::CalendarTime kStart{2001, 7, 4, 9, 5, 0};

// The downloaded setup with only the start time marked, as an untouched plan leaves it.
ChangeDetection Untouched(const model::UserSetup& user) {
    ChangeDetection changes;
    changes.userSetup = user;
    changes.flags.mark(ChangeItem::StartDateTime);
    return changes;
}

std::vector<std::string> Commands(const ChangeDetection& changes) {
    std::vector<std::string> out;
    for (const auto& row : SettingsCommands(changes)) {
        out.push_back(row.command);
    }
    return out;
}

TEST(TransmitSystemVariables, NoSettingChangedSendsExactlyFiveCommandsOnABarOfFive) {
    ScriptedQpx qpx;
    ASSERT_EQ(TransmitSystemVariables(qpx.link, qpx.views, Untouched(qpx.user), kStart), 1);
    EXPECT_EQ(qpx.linesFrom("Ver"), (Lines{"Ver", "StartDate 2001/07/04", "StartTime 09:05:00",
                                           "of ascii", "AutoSleep on", "SaveSetup"}));
    ASSERT_EQ(qpx.views.views.size(), 1u);
    const auto& view = qpx.views.views.front();
    EXPECT_EQ(view.low(), 0);
    EXPECT_EQ(view.high(), 5);
    EXPECT_EQ(view.position(), 5);
    EXPECT_TRUE(view.succeeded());
    EXPECT_EQ(view.text(), "Waking up System............... Success\r\n"
                           "Transmit System Variables..............\r\n"
                           "Update Deployment Start Time... Success\r\n"
                           "Set Output Format.............. Success\r\n"
                           "Set AutoSleep.................. Success\r\n"
                           "Save Setup..................... Success\r\n");
    EXPECT_TRUE(qpx.port.isOpen()); // kept for "deploy"
    EXPECT_EQ(qpx.views.destroyed, 1);
}

TEST(TransmitSystemVariables, ChangedCellCountGoesBetweenTheStartTimeAndTheOutputFormat) {
    ScriptedQpx qpx;
    ChangeDetection changes = Untouched(qpx.user);
    changes.userSetup.numberOfCells = 25;
    changes.flags.mark(ChangeItem::NumberOfCells);
    ASSERT_EQ(TransmitSystemVariables(qpx.link, qpx.views, changes, kStart), 1);
    EXPECT_EQ(qpx.linesFrom("StartTime 09:05:00"),
              (Lines{"StartTime 09:05:00", "nc 25", "of ascii", "AutoSleep on", "SaveSetup"}));
    EXPECT_EQ(qpx.views.views.front().high(), 6);
}

TEST(TransmitSystemVariables, DefaultIsAcceptedInPlaceOfOk) {
    ScriptedQpx qpx;
    qpx.device.replies["of ascii"] = "Default\r\n>";
    EXPECT_EQ(TransmitSystemVariables(qpx.link, qpx.views, Untouched(qpx.user), kStart), 1);
    EXPECT_EQ(qpx.lines.back(), "SaveSetup");
}

TEST(TransmitSystemVariables, ClosedPortFailsAtOnceWithoutWindow) {
    ScriptedQpx qpx;
    qpx.port.close();
    EXPECT_EQ(TransmitSystemVariables(qpx.link, qpx.views, Untouched(qpx.user), kStart), 0);
    EXPECT_TRUE(qpx.views.views.empty());
}

TEST(TransmitSystemVariables, CommentLinesEndWithCarriageReturnsAndNeedOkAtTheEnd) {
    ScriptedQpx qpx;
    ChangeDetection changes = Untouched(qpx.user);
    changes.userSetup.comment1 = {'N', 'o', 'r', 't', 'h'};
    changes.userSetup.comment2 = {'p', 'i', 'e', 'r'};
    changes.userSetup.comment3 = {'1', '2', ' ', 'm'};
    changes.flags.mark(ChangeItem::Comments);
    ASSERT_EQ(TransmitSystemVariables(qpx.link, qpx.views, changes, kStart), 1);
    EXPECT_EQ(qpx.linesFrom("Comments"), (Lines{"Comments", "North", "pier", "12 m", "of ascii",
                                                "AutoSleep on", "SaveSetup"}));
    EXPECT_NE(qpx.views.views.front().text().find("Update Comments................ Success\r\n"),
              std::string::npos);
}

struct Refusal {
    const char* name;
    std::string refused;   // the line answered "ERROR"
    std::string lastLabel; // what the log ends with before "Failed"
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class UploadStep : public testing::TestWithParam<Refusal> {};

// Each step that fails stops the upload there: its label is followed by "Failed", nothing more
// is sent (never "SaveSetup"), the bar is not full of successes and the port is closed once.
TEST_P(UploadStep, FailureStopsEverythingAfterIt) {
    const Refusal& step = GetParam();
    ScriptedQpx qpx;
    ChangeDetection changes = Untouched(qpx.user);
    changes.userSetup.numberOfCells = 25;
    changes.userSetup.comment1 = {'x'};
    changes.flags.mark(ChangeItem::NumberOfCells);
    changes.flags.mark(ChangeItem::Comments);
    changes.flags.mark(ChangeItem::DeploymentName);
    if (step.refused == "comments-end") {
        qpx.commentsEnd = "ERROR\r\n>";
    } else {
        qpx.refused.push_back(step.refused);
    }
    EXPECT_EQ(TransmitSystemVariables(qpx.link, qpx.views, changes, kStart), 0);
    const std::string& log = qpx.views.views.front().text();
    EXPECT_EQ(log.substr(log.size() - step.lastLabel.size() - 8), step.lastLabel + "Failed\r\n");
    EXPECT_FALSE(qpx.views.views.front().succeeded());
    EXPECT_EQ(qpx.port.closeCount(), 1);
    EXPECT_FALSE(qpx.port.isOpen());
    const auto saves = std::count(qpx.lines.begin(), qpx.lines.end(), std::string("SaveSetup"));
    EXPECT_EQ(saves, step.refused == "SaveSetup" ? 1 : 0);
    if (step.refused != "comments-end") {
        EXPECT_EQ(qpx.lines.back(), step.refused);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, UploadStep,
    testing::Values(Refusal{"wakeUp", "Ver", "Waking up System............... "},
                    Refusal{"name", "Deployment DEF", "Update Deployment Name......... "},
                    Refusal{"startDate", "StartDate 2001/07/04",
                            "Update Deployment Start Time... "},
                    Refusal{"startTime", "StartTime 09:05:00", "Update Deployment Start Time... "},
                    Refusal{"comments", "comments-end", "Update Comments................ "},
                    Refusal{"cells", "nc 25", "Update Number of Cells......... "},
                    Refusal{"outputFormat", "of ascii", "Set Output Format.............. "},
                    Refusal{"autoSleep", "AutoSleep on", "Set AutoSleep.................. "},
                    Refusal{"saveSetup", "SaveSetup", "Save Setup..................... "}),
    [](const auto& param) { return std::string(param.param.name); });

struct SettingCase {
    const char* name;
    ChangeItem item;
    void (*set)(ChangeDetection&);
    std::string command;
};

void PrintTo(const SettingCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingCommand : public testing::TestWithParam<SettingCase> {};

// Each marked setting goes out as its command text, numbers formatted exactly, ahead of the
// three commands that always follow.
TEST_P(SettingCommand, IsSentAsItsText) {
    const SettingCase& c = GetParam();
    ChangeDetection changes = Untouched(planning::MakeDefaultUserSetup(1));
    c.set(changes);
    changes.flags.mark(c.item);
    EXPECT_EQ(Commands(changes), (Lines{c.command, "of ascii", "AutoSleep on", "SaveSetup"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingCommand,
    testing::Values(
        SettingCase{"averaging", ChangeItem::AveragingInterval,
                    [](ChangeDetection& c) { c.userSetup.averagingInterval = 120; },
                    "ai       120"},
        SettingCase{"profiling", ChangeItem::ProfilingInterval,
                    [](ChangeDetection& c) { c.userSetup.profilingInterval = 1200; },
                    "pri      1200"},
        // A PC-QPX holds tenths of a second; they go out as held.
        SettingCase{"pulseCoherentTenths", ChangeItem::AveragingInterval,
                    [](ChangeDetection& c) {
                        c.userSetup.pulseCoherentMode = 1;
                        c.userSetup.averagingInterval = 15;
                    },
                    "ai        15"},
        SettingCase{"profilingMax", ChangeItem::ProfilingInterval,
                    [](ChangeDetection& c) { c.userSetup.profilingInterval = 65535; },
                    "pri     65535"},
        SettingCase{"cellSize", ChangeItem::CellSize,
                    [](ChangeDetection& c) { c.userSetup.cellSize = 50; }, "cs 0.50"},
        SettingCase{"cellSize35", ChangeItem::CellSize,
                    [](ChangeDetection& c) { c.userSetup.cellSize = 35; }, "cs 0.35"},
        SettingCase{"blanking", ChangeItem::BlankingDistance,
                    [](ChangeDetection& c) { c.userSetup.blankingDistance = 40; }, "bd 0.40"},
        SettingCase{"coordinates", ChangeItem::CoordinateSystem,
                    [](ChangeDetection& c) { c.userSetup.coordinateSystem = 2; }, "Cy ENU"},
        SettingCase{"beam", ChangeItem::CoordinateSystem,
                    [](ChangeDetection& c) { c.userSetup.coordinateSystem = 0; }, "Cy BEAM"},
        SettingCase{"output", ChangeItem::OutputMode,
                    [](ChangeDetection& c) { c.userSetup.outputMode = 1; }, "om Polled"},
        SettingCase{"tempMode", ChangeItem::TemperatureMode,
                    [](ChangeDetection& c) { c.userSetup.temperatureMode = 1; },
                    "TempMode Measured"},
        SettingCase{"temperature", ChangeItem::DefaultTemperature,
                    [](ChangeDetection& c) { c.userSetup.defaultTemperature = 200; },
                    "Temp     20.00"},
        SettingCase{"negativeTemperature", ChangeItem::DefaultTemperature,
                    [](ChangeDetection& c) { c.userSetup.defaultTemperature = -15; },
                    "Temp     -1.50"},
        SettingCase{"salinity", ChangeItem::DefaultSalinity,
                    [](ChangeDetection& c) { c.userSetup.salinity = 345; }, "Sal     34.50"},
        SettingCase{"burstMode", ChangeItem::BurstMode,
                    [](ChangeDetection& c) { c.userSetup.burstMode = 1; }, "bm Enabled"},
        SettingCase{"burstInterval", ChangeItem::BurstInterval,
                    [](ChangeDetection& c) { c.userSetup.burstInterval = 1200; }, "bi      1200"},
        SettingCase{"perBurst", ChangeItem::ProfilesPerBurst,
                    [](ChangeDetection& c) { c.userSetup.profilesPerBurst = 1; }, "sb         1"},
        SettingCase{"waveRate", ChangeItem::WaveSeriesRate,
                    [](ChangeDetection& c) { c.waveRateIndex = 2; }, "wsr 4"},
        SettingCase{"waveType", ChangeItem::WaveSeriesType,
                    [](ChangeDetection& c) { c.waveType = 2; }, "wst PUV_SERIES"},
        SettingCase{"waveLength", ChangeItem::WaveSeriesLength,
                    [](ChangeDetection& c) { c.userSetup.waveSamples = 1024; }, "wsl 1024"},
        SettingCase{"waveEvery", ChangeItem::RecordWaveSeriesEvery,
                    [](ChangeDetection& c) { c.userSetup.waveInterval = 200; }, "rws 200"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace qpx::test
