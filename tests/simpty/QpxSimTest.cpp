#include "simpty/SimProcess.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kVerReply = "Ver\r\nKelvra QPX Current Profiler Version 1.70\r\n>";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST(QpxSim, PrintsItsDeviceAndAnswersOnItUntilTerminated) {
    SimProcess sim({});
    ASSERT_EQ(sim.firstLine().rfind("/dev/", 0), 0u) << sim.errors();
    HostPort host(sim.firstLine());
    ASSERT_TRUE(host.ok());
    host.send(" ");
    EXPECT_EQ(host.readUntil(">", 1000), " >");
    host.send("Ver\r");
    EXPECT_EQ(host.readUntil("\r\n>", 1000), kVerReply);

    sim.signal(SIGTERM);
    EXPECT_EQ(sim.waitExit(2000), 0);
}

TEST(QpxSim, KeepsServingWhenTheHostClosesAndReopens) {
    SimProcess sim({});
    for (int open = 0; open < 3; ++open) {
        HostPort host(sim.firstLine());
        ASSERT_TRUE(host.ok()) << open;
        host.send("Ver\r");
        EXPECT_EQ(host.readUntil("\r\n>", 1000), kVerReply) << open;
    }
    EXPECT_FALSE(sim.waitExit(0).has_value());
}

TEST(QpxSim, TranscriptHoldsEachCommandLineAsItArrives) {
    TempDir dir;
    const std::filesystem::path transcript = dir.path() / "lines.txt";
    SimProcess sim({"--transcript", transcript.string()});
    HostPort host(sim.firstLine());
    host.send("Ver\r");
    host.readUntil("\r\n>", 1000);
    host.send("\r"); // an empty line is no command line
    host.readUntil(">", 1000);
    host.send("Deployment ABC\r");
    host.readUntil("\r\n>", 1000);
    // Read while it runs: each line is flushed as it comes.
    EXPECT_EQ(ReadFile(transcript), "Ver\nDeployment ABC\n");
}

TEST(QpxSim, SleepingInstrumentWakesOnThePlusStringAndTheWakeIsTranscribed) {
    TempDir dir;
    const std::filesystem::path transcript = dir.path() / "lines.txt";
    SimProcess sim({"--sleeping", "--transcript", transcript.string()});
    HostPort host(sim.firstLine());
    host.send(" ");
    EXPECT_EQ(host.readUntil(">", 300), "");
    host.send("++++++++++");
    EXPECT_EQ(host.readUntil(">", 2000), "\r\nKelvra QPX Current Profiler\r\n>");
    host.send("Ver\r");
    EXPECT_EQ(host.readUntil("\r\n>", 1000), kVerReply);
    EXPECT_EQ(ReadFile(transcript), "++++++++++\nVer\n");
}

TEST(QpxSim, LinkNamesTheDeviceAndGoesWithAnInterrupt) {
    TempDir dir;
    const std::filesystem::path link = dir.path() / "COM1";
    SimProcess sim({"--link", link.string()});
    ASSERT_FALSE(sim.firstLine().empty()) << sim.errors();
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.firstLine());
    HostPort host(link.string());
    host.send("Ver\r");
    EXPECT_EQ(host.readUntil("\r\n>", 1000), kVerReply);

    sim.signal(SIGINT);
    EXPECT_EQ(sim.waitExit(2000), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

struct ExecCase {
    const char* name;
    const char* script;
    int exitCode;
    bool printsDevice; // the script echoes DEPLOYQPX_PORTS
};

class QpxSimExec : public ::testing::TestWithParam<ExecCase> {};

TEST_P(QpxSimExec, RunsTheProgramOnTheDeviceAndEndsWithIt) {
    SimProcess sim({"--exec", "sh", "-c", GetParam().script});
    ASSERT_FALSE(sim.firstLine().empty()) << sim.errors();
    EXPECT_EQ(sim.waitExit(5000), GetParam().exitCode) << sim.errors();
    const std::string output = sim.restOfOutput(1000);
    if (GetParam().printsDevice) {
        EXPECT_EQ(output, sim.firstLine() + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, QpxSimExec,
    ::testing::Values(
        ExecCase{"PortsVariableAndExitCode", "echo \"$DEPLOYQPX_PORTS\"; exit 3", 3, true},
        // The program talks to the simulator through the variable, like qpxctl does on COM1.
        ExecCase{"TalksOverThePort",
                 "exec 3<>\"$DEPLOYQPX_PORTS\"; stty raw -echo <&3; printf 'Ver\\r' >&3; "
                 "sleep 0.3; dd bs=200 count=1 <&3 2>/dev/null | grep -q 'QPX Current'",
                 0, false},
        ExecCase{"KilledBySignal", "kill -TERM $$", 128 + SIGTERM, false},
        ExecCase{"MissingProgram", "exec /nonexistent/program", 127, false}),
    [](const ::testing::TestParamInfo<ExecCase>& p) { return p.param.name; });

TEST(QpxSim, InterruptIsForwardedToTheProgram) {
    SimProcess sim({"--exec", "sh", "-c", "trap 'exit 7' INT; while :; do sleep 0.05; done"});
    ASSERT_FALSE(sim.firstLine().empty());
    std::this_thread::sleep_for(200ms);
    sim.signal(SIGINT);
    EXPECT_EQ(sim.waitExit(3000), 7);
}

TEST(QpxSim, ExitAtACommandHangsUpTheLine) {
    SimProcess sim({"--exit-at", "Get CONF"});
    HostPort host(sim.firstLine());
    host.send("Ver\r");
    ASSERT_EQ(host.readUntil("\r\n>", 1000), kVerReply);
    host.send("Get CONF\r");
    EXPECT_TRUE(host.hangsUp(2000));
    EXPECT_EQ(sim.waitExit(2000), 1);
}

TEST(QpxSim, ExitMidFrameSendsHalfOfTheFrameThenHangsUp) {
    SimProcess sim({"--exit-mid-frame", "--baud", "115200"});
    HostPort host(sim.firstLine());
    host.send("Ver\r");
    ASSERT_EQ(host.readUntil("\r\n>", 1000), kVerReply);
    host.send("Get USER\r");
    const std::string got = host.readUntil("never comes", 1500);
    const std::string head = "Get USER\r\nOK\r\n";
    ASSERT_EQ(got.substr(0, head.size()), head);
    EXPECT_EQ(got.size() - head.size(), 130u); // half of 2 + 256 + 2
    EXPECT_EQ(sim.waitExit(2000), 1);
}

TEST(QpxSim, ScenarioFileAndLaterOptionsSetTheInstrument) {
    TempDir dir;
    const std::filesystem::path file = dir.path() / "mrv.scenario";
    std::ofstream(file) << "# a Merovane that answers slowly\nsystem = merovane\nbaud = 1200\n";
    SimProcess sim({"--scenario", file.string(), "--baud", "115200"});
    HostPort host(sim.firstLine());
    host.send("Ver\r");
    // 40 bytes at 1200 baud would take a third of a second.
    EXPECT_EQ(host.readUntil("\r\n>", 150), "Ver\r\nKelvra MRV Merovane Version 1.20\r\n>");
}

TEST(QpxSim, WrongUsageExitsWithTwoAndServesNothing) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--baud", "fast"}, {"--no-such-option"}, {"--exec"}}) {
        SimProcess sim(arguments);
        EXPECT_EQ(sim.firstLine(), "");
        EXPECT_EQ(sim.waitExit(2000), 2) << arguments.front();
        EXPECT_NE(sim.errors().find("qpx-sim --help"), std::string::npos);
    }
}

// Bytes leave one byte time after the other, never early; the loop sleeps between them.
TEST(QpxSim, OutputIsPacedAtTheLineRateWithoutSpinning) {
    SimProcess sim({"--baud", "9600"});
    HostPort host(sim.firstLine());
    host.send("Ver\r");
    host.readUntil("\r\n>", 1000);

    const double idleStart = ProcessCpuMs(sim.pid());
    std::this_thread::sleep_for(1s);
    const double idleMs = ProcessCpuMs(sim.pid()) - idleStart;
    EXPECT_LT(idleMs, 30.0);

    host.send("Get USER\r");
    const auto start = std::chrono::steady_clock::now();
    // Echo and acknowledgement, the 260-byte frame, the prompt.
    const std::string got = host.readCount(14 + 260 + 1, 3000);
    const double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // The line is full duplex: the first command byte's way there, then every byte back.
    const double nominalMs = static_cast<double>(1 + got.size()) * 10'000.0 / 9600.0;
    ASSERT_EQ(got.size(), 275u);
    EXPECT_GE(elapsedMs, nominalMs * 0.97);
    EXPECT_LE(elapsedMs, nominalMs + 40.0);
    std::printf("[ figures ] idle CPU %.1f ms/s; Get USER %zu bytes in %.1f ms (nominal %.1f)\n",
                idleMs, got.size(), elapsedMs, nominalMs);
}

} // namespace
} // namespace qpx::test
