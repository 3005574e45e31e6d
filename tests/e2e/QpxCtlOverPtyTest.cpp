// qpxctl against qpx-sim over a real pseudo-terminal, in real time: the tool as a user runs it,
// the simulator as a separate process, the instrument's transcript of command lines read back.

#include "ChildProcess.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Lines = std::vector<std::string>;

std::string Executable(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? value : "";
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

Lines SplitLines(const std::string& text) {
    Lines lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Whether `wanted` appear in `lines` in this order (others may come between them).
bool InOrder(const Lines& lines, const Lines& wanted) {
    auto at = lines.begin();
    for (const auto& line : wanted) {
        at = std::find(at, lines.end(), line);
        if (at == lines.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

class OverPty : public ::testing::Test {
protected:
    void SetUp() override {
        qpxctl = Executable("QPXCTL");
        simulator = Executable("QPX_SIM");
        ASSERT_FALSE(qpxctl.empty()) << "QPXCTL not set";
        ASSERT_FALSE(simulator.empty()) << "QPX_SIM not set";
    }

    std::string transcriptPath() const { return (dir.path() / "transcript.txt").string(); }
    Lines transcript() const { return SplitLines(dir.read("transcript.txt")); }

    // A simulator at 115200 baud with a transcript and `more` options.
    std::vector<std::string> simArgs(const std::vector<std::string>& more) const {
        std::vector<std::string> args{"--baud", "115200", "--transcript", transcriptPath()};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    ProcessResult ctl(const std::vector<std::string>& args, int timeoutMs = 30000) const {
        std::vector<std::string> argv{qpxctl};
        argv.insert(argv.end(), args.begin(), args.end());
        // "LogFile" is written in the folder the tool runs in.
        return RunProcess(argv, {{"DEPLOYQPX_PORTS", ""}}, timeoutMs, dir.path());
    }

    TempDir dir;
    std::string qpxctl;
    std::string simulator;
};

TEST_F(OverPty, IdentifyShowRecorderAndClock) {
    SimulatorProcess sim(
        simulator,
        simArgs({"--sleeping", "--recorder-file", "DEF00001.QPX,2048,2001/03/05 14:02:09",
                 "--recorder-used", "1048576", "--clock", "2001/07/04 09:05:00", "--waves", "2"}),
        dir.path() / "sim.err");
    ASSERT_FALSE(sim.device().empty());
    const std::string& device = sim.device();

    auto identify = ctl({"identify", "--port", device, "--baud", "115200"});
    EXPECT_EQ(identify.exitCode, 0) << identify.err;
    EXPECT_TRUE(Has(identify.out, "  System: QPX\n")) << identify.out;
    EXPECT_TRUE(Has(identify.err, "QPX found on " + device + "\n")) << identify.err;
    EXPECT_TRUE(InOrder(transcript(), {"Ver"}));

    auto show = ctl({"show", "--port", device, "--baud", "115200"});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_TRUE(
        InOrder(transcript(), {"Ver", "Get CONF", "Get OPER", "Get USER", "enablewaves", "bdir"}));
    for (const char* part :
         {"  Serial No.: DEFAULT\n", "  Waves Option: Directional\n", "  Number of Cells: 20\n",
          "  1 File found in Recorder\n", "  DEF00001.QPX  2048  2001/03/05  14:02:09\n"}) {
        EXPECT_TRUE(Has(show.out, part)) << part << "\nin\n" << show.out;
    }
    EXPECT_TRUE(Has(show.err, "Get Recorder Settings.......... Success\n")) << show.err;

    auto recorder = ctl({"recorder", "--port", device, "--baud", "115200", "list"});
    EXPECT_EQ(recorder.exitCode, 0) << recorder.err;
    EXPECT_TRUE(Has(recorder.out, "  DEF00001.QPX  2048  2001/03/05  14:02:09\n")) << recorder.out;
    EXPECT_TRUE(Has(recorder.out, "  Used Space: 1.00M\n")) << recorder.out;

    auto clock = ctl({"clock", "--port", device, "--baud", "115200", "show"});
    EXPECT_EQ(clock.exitCode, 0) << clock.err;
    EXPECT_TRUE(Has(clock.out, "  System Time: 2001/07/04 09:0")) << clock.out;
    EXPECT_TRUE(InOrder(transcript(), {"Date", "Time"}));
}

TEST_F(OverPty, DeployWithAChangedSettingThroughExec) {
    // The simulator starts qpxctl with COM1 on its pseudo-terminal and hands on its exit code.
    std::vector<std::string> argv{simulator};
    for (const auto& arg :
         simArgs({"--deploy-interval-ms", "300", "--exec", qpxctl, "deploy", "--port", "COM1",
                  "--baud", "115200", "cells=25", "start=2001/07/04 10:00:00", "--watch", "1.5"})) {
        argv.push_back(arg);
    }
    const auto run = RunProcess(argv, {}, 40000, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(InOrder(transcript(), {"Get CONF", "Get OPER", "Get USER", "enablewaves", "bdir",
                                       "Ver", "StartDate 2001/07/04", "StartTime 10:00:00", "nc 25",
                                       "of ascii", "AutoSleep on", "SaveSetup", "deploy"}))
        << dir.read("transcript.txt");
    EXPECT_TRUE(Has(run.err, "Update Number of Cells......... Success\n")) << run.err;
    EXPECT_TRUE(Has(run.err, "Now disconnect the communication cable from \nthe system for "
                             "deployment.\n"))
        << run.err;
    EXPECT_TRUE(Has(run.out, "  Number of Cells: 25\n")) << run.out;
}

// A simulator that dies mid-exchange is a line that goes dead: the tool says so and ends with 3
// within its time-outs, never hangs.
TEST_F(OverPty, SimulatorDyingMidFrameOrMidUploadIsALinkFailure) {
    {
        SimulatorProcess sim(simulator, simArgs({"--exit-mid-frame"}), dir.path() / "sim1.err");
        ASSERT_FALSE(sim.device().empty());
        const auto show = ctl({"show", "--port", sim.device(), "--baud", "115200"}, 60000);
        EXPECT_FALSE(show.timedOut);
        EXPECT_EQ(show.exitCode, 3) << show.err;
        EXPECT_TRUE(Has(show.err, "Get System Configuration....... ")) << show.err;
        EXPECT_LT(show.elapsed.count(), 20000);
    }
    {
        SimulatorProcess sim(simulator, simArgs({"--exit-at", "nc 25"}), dir.path() / "sim2.err");
        ASSERT_FALSE(sim.device().empty());
        const auto deploy =
            ctl({"deploy", "--port", sim.device(), "--baud", "115200", "cells=25"}, 60000);
        EXPECT_FALSE(deploy.timedOut);
        EXPECT_EQ(deploy.exitCode, 3) << deploy.err;
        // The label, the link's own message about the dead line, then the result.
        const auto label = deploy.err.find("Update Number of Cells......... ");
        ASSERT_NE(label, std::string::npos) << deploy.err;
        EXPECT_NE(deploy.err.find("Failed\n", label), std::string::npos) << deploy.err;
        EXPECT_FALSE(Has(deploy.err, "Now disconnect"));
        EXPECT_LT(deploy.elapsed.count(), 20000);
        // The lost line still leaves its deployment record, naming the step it died in.
        const auto named = deploy.err.find("Deployment record: ./");
        ASSERT_NE(named, std::string::npos) << deploy.err;
        const std::string stem =
            deploy.err.substr(named + 21, deploy.err.find(".txt", named) - named - 21);
        const std::string record = dir.read(stem + ".txt");
        EXPECT_TRUE(Has(record, "  Result         the upload failed\n")) << record;
        EXPECT_TRUE(Has(record, "  Step     Update Number of Cells\n")) << record;
    }
}

// One plan to two instruments in turn: the first takes it, the second dies as the upload reaches
// the plan's change. Each gets its line at the end, and the code says not all were deployed.
TEST_F(OverPty, OnePlanToTwoInstrumentsTheSecondFailingAtItsUpload) {
    const auto transcriptOf = [&](const char* name) { return (dir.path() / name).string(); };
    SimulatorProcess first(simulator,
                           {"--baud", "115200", "--transcript", transcriptOf("first.txt")},
                           dir.path() / "first.err");
    SimulatorProcess second(
        simulator,
        {"--baud", "115200", "--transcript", transcriptOf("second.txt"), "--exit-at", "nc 25"},
        dir.path() / "second.err");
    ASSERT_FALSE(first.device().empty());
    ASSERT_FALSE(second.device().empty());
    const std::string plan = (dir.path() / "mooring.qpxplan").string();
    std::ofstream(plan) << "units = metric\ncomment1 = Pier 4\ncells = 25\n";

    const auto deploy = ctl({"deploy", "--plan", plan, "--port", first.device(), "--port",
                             second.device(), "--baud", "115200"},
                            60000);
    EXPECT_FALSE(deploy.timedOut);
    EXPECT_EQ(deploy.exitCode, 3) << deploy.err;
    EXPECT_TRUE(Has(deploy.out, "\nDeployments:\n  " + first.device() + "  DEFAULT  deployed\n  " +
                                    second.device() + "  DEFAULT  the upload failed\n"))
        << deploy.out;
    EXPECT_TRUE(
        InOrder(SplitLines(dir.read("first.txt")),
                {"Get USER", "bdir", "Ver", "Comments", "Pier 4", "nc 25", "SaveSetup", "deploy"}))
        << dir.read("first.txt");
    const Lines secondSent = SplitLines(dir.read("second.txt"));
    EXPECT_TRUE(InOrder(secondSent, {"Get USER", "bdir", "Ver"})) << dir.read("second.txt");
    EXPECT_TRUE(std::find(secondSent.begin(), secondSent.end(), "deploy") == secondSent.end());
}

TEST_F(OverPty, ADeviceTheUserMayNotOpenGivesTheAccessMessage) {
    SimulatorProcess sim(simulator, simArgs({}), dir.path() / "sim.err");
    ASSERT_FALSE(sim.device().empty());
    std::vector<std::string> argv;
    if (::geteuid() == 0) {
        // Root opens anything: run the tool as nobody, to whom the terminal is closed.
        argv = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", qpxctl};
    } else {
        ASSERT_EQ(::chmod(sim.device().c_str(), 0), 0);
        argv = {qpxctl};
    }
    for (const char* arg : {"identify", "--port"}) {
        argv.emplace_back(arg);
    }
    argv.push_back(sim.device());
    const auto run = RunProcess(argv, {{"DEPLOYQPX_PORTS", ""}}, 20000, dir.path());
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(Has(run.err, "Permission denied for " + sim.device() + ": ")) << run.err;
}

TEST_F(OverPty, APortListWithNothingBehindItGivesCodeZeroEverywhere) {
    const auto ports = ctl({"ports"});
    EXPECT_EQ(ports.exitCode, 0) << ports.err;
    for (int port = 1; port <= 8; ++port) {
        EXPECT_TRUE(Has(ports.out, "  COM" + std::to_string(port) + "  -       0     cannot"))
            << ports.out;
    }
    const auto identify = ctl({"identify", "--port", "COM1"});
    EXPECT_EQ(identify.exitCode, 2);
    EXPECT_TRUE(Has(identify.err, "COM1 has no serial device behind it.")) << identify.err;
}

} // namespace
} // namespace qpx::test
