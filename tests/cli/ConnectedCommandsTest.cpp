#include "CliBench.h"
#include "instrument/DeploymentRecord.h"
#include "link/CalendarMath.h"
#include "model/TextFormat.h"
#include "planning/DefaultStructures.h"
#include "platform/TextFile.h"
#include "sim/Instrument.h"
#include "sim/InstrumentStructures.h"

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Lines = std::vector<std::string>;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The command lines after the last wake-up's "Ver".
Lines AfterLastVer(const Lines& transcript) {
    const auto ver = std::find(transcript.rbegin(), transcript.rend(), "Ver");
    return Lines(ver.base(), transcript.end());
}

sim::Scenario WithFiles() {
    sim::Scenario s = sim::QpxScenario();
    s.recorderFiles = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9, 50},
                       {"DEF00002.QPX", 65536, 2001, 3, 6, 0, 0, 0, 0}};
    s.recorderUsed = 16u * 65536u;
    return s;
}

struct ConnectedBench : CliBench {
    ConnectedBench() { ports.simulated.instruments[0] = WithFiles(); }
};

TEST(PortsCommand, EachPortsCodeAndMeaning) {
    CliBench bench;
    bench.ports.simulated.instruments[0] = sim::QpxScenario();
    bench.ports.simulated.busy = {2};
    EXPECT_EQ(bench.run({"ports"}), 0);
    EXPECT_TRUE(Has(bench.out, "COM1  "));
    const auto row = [&](int port) {
        const auto start = bench.out.find(model::FormatText("  COM%d ", port));
        return bench.out.substr(start, bench.out.find('\n', start) - start);
    };
    EXPECT_TRUE(Has(row(1), " 2 ") && Has(row(1), "available")) << row(1);
    EXPECT_TRUE(Has(row(3), " 3 ") && Has(row(3), "in use")) << row(3);
    EXPECT_TRUE(Has(row(2), " 0 ") && Has(row(2), "cannot be opened")) << row(2);
    // Every port was opened at 9600 8N1 for the test, and closed again.
    ASSERT_EQ(bench.ports.simulated.requests.size(), 8u);
    EXPECT_EQ(bench.ports.simulated.requests[0].baud, 9600);
    EXPECT_EQ(bench.ports.simulated.lines.front().closes, 1);
}

TEST(IdentifyCommand, QpxAndMerovaneOnlyGiveCodeZero) {
    struct Case {
        sim::Scenario scenario;
        int code;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases{
        {sim::QpxScenario(), 0, "  System: QPX\n",
         "Open Port........................ Success\nWaking up System................. "
         "Success\nQPX found on COM1\n"},
        {sim::SleepingScenario(), 0, "  System: QPX\n", "QPX found on COM1\n"},
        {sim::SystemScenario(sim::SystemKind::Merovane), 0, "  System: Merovane\n",
         "Merovane found on COM1\n"},
        {sim::SystemScenario(sim::SystemKind::Clv), 3, "",
         "A CLV answered on COM1; only a QPX or a Merovane can be set up.\n"},
    };
    for (const auto& c : cases) {
        CliBench bench;
        bench.ports.simulated.instruments[0] = c.scenario;
        EXPECT_EQ(bench.run({"identify", "--port", "COM1", "--baud", "19200"}), c.code) << c.err;
        EXPECT_TRUE(Has(bench.out, c.out)) << bench.out;
        EXPECT_TRUE(Has(bench.err, c.err)) << bench.err;
        EXPECT_EQ(bench.ports.simulated.requests.back().baud, 19200);
        EXPECT_EQ(bench.ports.simulated.lines.back().closes, 1);
    }
}

TEST(IdentifyCommand, NothingBehindThePortIsALinkFailure) {
    CliBench silent;
    sim::Scenario s = sim::QpxScenario();
    s.silent = true;
    silent.ports.simulated.instruments[0] = s;
    EXPECT_EQ(silent.run({"identify", "--port", "COM1"}), 3);
    EXPECT_TRUE(Has(silent.err, "Success\nWaking up System................. Failed\n"
                                "No QPX or Merovane answered on COM1.\n"))
        << silent.err;

    CliBench empty;
    EXPECT_EQ(empty.run({"identify", "--port", "COM2"}), 3);
    EXPECT_TRUE(Has(empty.err, "Open Port........................ Failed\n")) << empty.err;
    EXPECT_EQ(empty.run({"identify", "--port", "/dev/ttyNothing"}), 3);
    EXPECT_TRUE(Has(empty.err, "/dev/ttyNothing does not exist.")) << empty.err;
}

TEST(ShowCommand, DownloadThenHardwarePlannerWavesAndRecorder) {
    ConnectedBench bench;
    bench.ports.simulated.instruments[0].wavesOption = 2;
    ASSERT_EQ(bench.run({"show", "--port", "COM1"}), 0) << bench.err;
    EXPECT_EQ(AfterLastVer(bench.transcript()),
              (Lines{"Get CONF", "Get OPER", "Get USER", "enablewaves", "bdir"}));
    for (const char* part :
         {"Open Port........................ Success\nWaking up System............... Success\n",
          "Get Recorder Settings.......... Success\n"}) {
        EXPECT_TRUE(Has(bench.err, part)) << part;
    }
    for (const char* part :
         {"  Serial No.: DEFAULT\n", "  System Frequency: 1500 kHz\n",
          "  Waves Option: Directional\n", "  Number of Cells: 20\n",
          "  Profiling Range:   0.90 -  20.90 m\n", "  Wave Series Type: PUV Series\n",
          "  2 Files found in Recorder\n", "  Used Space: 1.00M\n", "  Free Space: 63.00M\n",
          "  DEF00001.QPX  2048   2001/03/05  14:02:09\n"}) {
        EXPECT_TRUE(Has(bench.out, part)) << part << "\nin\n" << bench.out;
    }
    ASSERT_EQ(bench.run({"show", "--port", "COM1", "--json", "--units", "english"}), 0);
    EXPECT_TRUE(Has(bench.out, "\"cell-size\": \"3.28\"")) << bench.out;
    EXPECT_TRUE(Has(bench.out, "      {\n        \"name\": \"DEF00002.QPX\",\n        \"size\": "
                               "\"65536\",\n        \"date\": \"2001/03/06\",\n        \"time\": "
                               "\"00:00:00\"\n      }"))
        << bench.out;
}

TEST(DeployCommand, ChangedSettingUploadedDeployedWatchedAndDisconnected) {
    ConnectedBench bench;
    bench.ports.simulated.instruments[0].deploy.outputIntervalMs = 500;
    ASSERT_EQ(bench.run({"deploy", "--port", "COM1", "cells=25", "start=2001/07/04 10:00:00",
                         "--watch", "2"}),
              0)
        << bench.err;
    EXPECT_EQ(AfterLastVer(bench.transcript()),
              (Lines{"StartDate 2001/07/04", "StartTime 10:00:00", "nc 25", "of ascii",
                     "AutoSleep on", "SaveSetup", "deploy"}));
    EXPECT_TRUE(Has(bench.err, "Update Number of Cells......... Success\n"));
    EXPECT_TRUE(Has(bench.err, "Time between Profiles: 1200 seconds\n"));
    EXPECT_TRUE(Has(bench.err, "QPX deployment: Now disconnect the communication cable from "
                               "\nthe system for deployment.\n"));
    EXPECT_TRUE(Has(bench.out, "  Number of Cells: 25\n"));
    EXPECT_TRUE(Has(bench.out, "Deployment started\n")) << bench.out;
    // The saved setup keeps the change.
    EXPECT_EQ(bench.ports.simulated.lastInstrument().savedStructures().userSetup.numberOfCells,
              25u);
}

// The same rule as the desktop planner's: a held start no calendar has is replaced by the
// computer's time, never sent back as it is.
TEST(DeployCommand, StartNoCalendarHasGoesOutAsTheComputersTime) {
    ConnectedBench bench;
    model::UserSetup user = planning::MakeDefaultUserSetup(1);
    user.startDate.year = 2001;
    user.startDate.month = 4;
    user.startDate.day = 0;
    bench.ports.simulated.instruments[0].userSetup = user;
    ASSERT_EQ(bench.run({"deploy", "--port", "COM1", "cells=25"}), 0) << bench.err;
    const Lines sent = AfterLastVer(bench.transcript());
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(sent[0].starts_with("StartDate 2001/07/04")) << sent[0];
    EXPECT_FALSE(bench.received("StartDate 2001/04/00"));
}

TEST(DeployCommand, DryRunPrintsTheUploadAndSendsNothing) {
    ConnectedBench bench;
    ASSERT_EQ(bench.run({"deploy", "--port", "COM1", "--dry-run", "file-name=ABC",
                         "start=2002/01/02 03:04:05", "comment1=Pier", "cells=25",
                         "temperature-mode=user", "temperature=12.5"}),
              0)
        << bench.err;
    const std::string preview = "The upload would send, after waking the instrument:\n"
                                "Deployment ABC\n"
                                "StartDate 2002/01/02\n"
                                "StartTime 03:04:05\n"
                                "Comments\n"
                                "Pier\n"
                                "\n"
                                "\n"
                                "nc 25\n"
                                "TempMode User\n"
                                "Temp     12.50\n"
                                "of ascii\n"
                                "AutoSleep on\n"
                                "SaveSetup\n"
                                "\n"
                                "Deployments:\n"
                                "  COM1  DEFAULT  dry run: nothing sent\n";
    EXPECT_TRUE(bench.out.ends_with(preview)) << bench.out;
    EXPECT_EQ(bench.transcript().back(), "bdir");
    EXPECT_FALSE(bench.received("SaveSetup"));
}

TEST(DeployCommand, RefusalsGiveCodeOneAndSendNoSettings) {
    for (const Lines& settings : {Lines{"cells=0"}, Lines{"cells=30"}, Lines{"file-name="},
                                  Lines{"coordinate-system=enu"}}) {
        ConnectedBench bench;
        Lines args{"deploy", "--port", "COM1"};
        args.insert(args.end(), settings.begin(), settings.end());
        EXPECT_EQ(bench.run(args), 1) << settings[0];
        EXPECT_EQ(bench.transcript().back(), "bdir") << settings[0];
        EXPECT_FALSE(bench.err.empty());
    }
}

TEST(DeployCommand, LinkFailuresGiveCodeThree) {
    // The upload stops at the changed setting; a frame never comes; "deploy" is not taken.
    sim::Scenario dying = WithFiles();
    dying.silence = sim::SilenceFault{-1, "nc 25"};
    sim::Scenario noFrame = WithFiles();
    noFrame.frameFault = sim::FrameFault{{"Get USER", -1}, true};
    sim::Scenario refusing = WithFiles();
    refusing.wrongEcho = sim::EchoFault{{"deploy", -1}};
    for (const auto& [scenario, failedLine] :
         {std::pair{dying, "Update Number of Cells......... Failed\n"},
          std::pair{noFrame, "Get User Setup................. \nError Getting System Variable "
                             "Structure"},
          std::pair{refusing, "Save Setup..................... Success\n"}}) {
        CliBench bench;
        bench.ports.simulated.instruments[0] = scenario;
        EXPECT_EQ(bench.run({"deploy", "--port", "COM1", "cells=25"}), 3) << failedLine;
        EXPECT_TRUE(Has(bench.err, failedLine)) << bench.err;
        EXPECT_FALSE(Has(bench.err, "Now disconnect"));
        EXPECT_EQ(bench.ports.simulated.lines.back().closes, 1);
    }
}

TEST(RecorderCommand, ListAndFormatOnlyWhenConfirmed) {
    ConnectedBench bench;
    ASSERT_EQ(bench.run({"recorder", "--port", "COM1"}), 0) << bench.err;
    EXPECT_TRUE(Has(bench.out, "  2 Files found in Recorder\n")) << bench.out;
    EXPECT_TRUE(Has(bench.out, "  DEF00002.QPX  65536  2001/03/06  00:00:00\n")) << bench.out;

    EXPECT_EQ(bench.run({"recorder", "--port", "COM1", "format"}), 1);
    EXPECT_TRUE(Has(bench.err, "WARNING: Formatting will erase ALL data on the memory card."));
    EXPECT_FALSE(bench.received("format"));

    ASSERT_EQ(bench.run({"recorder", "format", "--yes", "--port", "COM1"}), 0) << bench.err;
    EXPECT_TRUE(bench.received("format"));
    EXPECT_TRUE(Has(bench.err, "Formatting memory card......... Success\n")) << bench.err;
    EXPECT_TRUE(Has(bench.out, "  0 Files found in Recorder\n")) << bench.out;
}

TEST(ClockCommand, ShowAndSetByHand) {
    ConnectedBench bench;
    bench.clock.setLocalTime({2001, 7, 4, 10, 0, 0});
    ASSERT_EQ(bench.run({"clock", "--port", "COM1", "show"}), 0) << bench.err;
    EXPECT_TRUE(Has(bench.out, "  Computer Time: 2001/07/04 10:00:0")) << bench.out;
    EXPECT_TRUE(Has(bench.out, "  System Time: 2001/07/04 09:0")) << bench.out;
    EXPECT_TRUE(Has(bench.out, "  Difference:        0 00:5")) << bench.out;
    EXPECT_FALSE(bench.received("Time 10:00:01"));

    ASSERT_EQ(bench.run({"clock", "--port", "COM1", "set", "--manual", "2001/07/04 09:05:30"}), 0)
        << bench.err;
    bench.clock.sleepMs(500);
    const auto& lines = bench.transcript();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Date 2001/07/04");
    EXPECT_EQ(lines.back(), "Time 09:05:31");
}

// The instrument's clock two minutes behind the computer's: the record keeps the signed offset,
// the drift against a deployment record of the same instrument, and refuses another's before the
// clock is read.
TEST(ClockCommand, RecordsTheCheckAtRecovery) {
    CliBench bench;
    sim::Scenario s = sim::QpxScenario();
    s.systemConfiguration = sim::MakeInstrumentStructures(s).systemConfiguration;
    s.systemConfiguration->serialNumber = {'Q', 'P', 'X', '0', '0', '4', '2'};
    s.clockHour = 8;
    s.clockMinute = 58;
    bench.ports.simulated.instruments[0] = s;
    bench.clock.setUtcOffsetSeconds(3600);
    TempDir records;
    const std::string folder = records.path().string();
    const auto deploymentFile = [&](const std::string& serial, std::int64_t offset) {
        instrument::DeploymentRecord deployed;
        deployed.serialNumber = serial;
        const link::CalendarTime then = link::AddSeconds(bench.clock.localTime(), -30 * 86400);
        deployed.clock = planning::ClockReading{then, 3600, link::AddSeconds(then, offset)};
        const auto path = records.path() / (serial + "_deploy.json");
        EXPECT_EQ(
            platform::SaveFileReplacing(path, instrument::FormatDeploymentRecordJson(deployed)),
            "");
        return path.string();
    };
    // The newest clock-check record in the folder, parsed.
    const auto lastRecord = [&] {
        std::filesystem::path newest;
        for (const auto& entry : std::filesystem::directory_iterator(records.path())) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with("_clock.json") && name > newest.filename().string()) {
                newest = entry.path();
            }
        }
        EXPECT_TRUE(
            std::filesystem::exists(std::filesystem::path(newest).replace_extension(".txt")));
        return nlohmann::json::parse(platform::ReadFileBounded(newest, 65536).contents.value_or(""),
                                     nullptr, false);
    };
    const auto seconds = [](const nlohmann::json& text) {
        link::CalendarTime t;
        EXPECT_EQ(std::sscanf(text.get<std::string>().c_str(), "%d/%d/%d %d:%d:%d", &t.year,
                              &t.month, &t.day, &t.hour, &t.minute, &t.second),
                  6);
        return link::SecondsFromCalendar(t);
    };

    ASSERT_EQ(bench.run({"clock", "--port", "COM1", "show", "--record", folder}), 0) << bench.err;
    EXPECT_TRUE(Has(bench.err,
                    "Clock check record: " + (std::filesystem::path(folder) / "QPX0042_").string()))
        << bench.err;
    EXPECT_TRUE(Has(bench.out, "  Serial Number: QPX0042\n")) << bench.out;
    nlohmann::json check = lastRecord();
    ASSERT_FALSE(check.is_discarded());
    const std::int64_t offset = check["offsetSeconds"];
    EXPECT_EQ(offset, seconds(check["instrumentTime"]) - seconds(check["computerTime"]["local"]));
    EXPECT_LT(offset, -100);
    EXPECT_EQ(check["instrumentAhead"], false);
    EXPECT_TRUE(check["drift"].is_null());

    bench.clock.sleepMs(5000);
    ASSERT_EQ(bench.run({"clock", "--port", "COM1", "show", "--record", folder, "--deployment",
                         deploymentFile("QPX0042", -180)}),
              0)
        << bench.err;
    check = lastRecord();
    ASSERT_FALSE(check.is_discarded());
    EXPECT_EQ(check["drift"]["offsetAtDeploymentSeconds"], -180);
    EXPECT_EQ(check["drift"]["driftSeconds"], check["offsetSeconds"].get<std::int64_t>() + 180);
    EXPECT_NEAR(check["drift"]["elapsedDays"].get<double>(), 30.0, 0.01);

    const auto before = std::distance(std::filesystem::directory_iterator(records.path()),
                                      std::filesystem::directory_iterator());
    const std::string other = deploymentFile("QPX9999", 0);
    EXPECT_EQ(
        bench.run({"clock", "--port", "COM1", "show", "--record", folder, "--deployment", other}),
        1);
    EXPECT_TRUE(Has(bench.err, "QPX9999") && Has(bench.err, "QPX0042")) << bench.err;
    EXPECT_FALSE(bench.received("Time"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(records.path()),
                            std::filesystem::directory_iterator()),
              before + 1); // only the other instrument's deployment record

    // Refused before a port is opened: not a deployment record, or no folder to record in.
    const auto opened = bench.ports.simulated.requests.size();
    const auto notDeployment = records.path() / "notes.json";
    ASSERT_EQ(platform::SaveFileReplacing(notDeployment, R"({"record": "clock check"})"), "");
    EXPECT_EQ(bench.run({"clock", "--port", "COM1", "show", "--record", folder, "--deployment",
                         notDeployment.string()}),
              1);
    EXPECT_TRUE(Has(bench.err, "not a deployment record")) << bench.err;
    EXPECT_EQ(bench.run({"clock", "--port", "COM1", "show", "--deployment", other}), 2);
    EXPECT_EQ(bench.ports.simulated.requests.size(), opened);
}

TEST(PcQpxCommand, OnlyForAPcQpxChecksThenSendsAndShowsTheReadBack) {
    ConnectedBench plain;
    EXPECT_EQ(plain.run({"pcqpx", "--port", "COM1"}), 1);
    EXPECT_TRUE(Has(plain.err, "not a PC-QPX")) << plain.err;

    CliBench bench;
    // A PC-QPX: the default setup with pulseCoherentMode set.
    sim::Scenario s = sim::QpxScenario();
    s.userSetup = sim::Instrument(sim::QpxScenario()).structures().userSetup;
    s.userSetup->pulseCoherentMode = 1;
    bench.ports.simulated.instruments[0] = s;
    ASSERT_EQ(bench.run({"pcqpx", "--port", "COM1", "show"}), 0) << bench.err;
    EXPECT_TRUE(Has(bench.out, "  Pulse Length (m): 0\n")) << bench.out;

    EXPECT_EQ(bench.run({"pcqpx", "--port", "COM1", "set", "pulse-length=1.005"}), 1);
    EXPECT_TRUE(Has(bench.err, "Pulse Length should be in the range of  0.02 to  1.00 m."))
        << bench.err;
    EXPECT_FALSE(bench.received("SaveSetup"));

    ASSERT_EQ(bench.run({"pcqpx", "--port", "COM1", "set", "pulse-length=0.5", "pulse-lag=0.4",
                         "res-lag=0"}),
              0)
        << bench.err;
    const auto tail = AfterLastVer(bench.transcript());
    ASSERT_GE(tail.size(), 5u);
    EXPECT_EQ(Lines(tail.end() - 5, tail.end()),
              (Lines{"pl   0.50", "pg   0.40", "rpg   0.00", "SaveSetup", "Get OPER"}));
    EXPECT_TRUE(Has(bench.out, "  Pulse Length (m): 0.5\n")) << bench.out;
}

} // namespace
} // namespace qpx::test
