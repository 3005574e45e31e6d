#include "cli/NoSerialPortAccess.h"

#include "cli/QpxCtl.h"
#include "link/VirtualClock.h"
#include "platform/StandardClock.h"
#include "support/TempDir.h"

#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// qpxctl as built without the serial backend, on virtual time.
CliRun RunWithoutPorts(const std::vector<std::string>& args) {
    link::VirtualClock clock{{2001, 7, 4, 9, 0, 0}};
    cli::NoSerialPortAccess ports;
    TempDir logDir;
    std::ostringstream out;
    std::ostringstream err;
    cli::CliEnvironment env{out, err, clock, ports, logDir.path()};
    CliRun run;
    run.code = cli::RunQpxCtl(args, env);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(QpxCtlWithoutSerialPorts, PlansButOpensNoPortAndSaysWhy) {
    const CliRun plan = RunWithoutPorts({"plan", "--frequency", "5000", "cells=10"});
    EXPECT_EQ(plan.code, cli::kExitSuccess) << plan.err;
    EXPECT_NE(plan.out.find("  Number of Cells: 10\n"), std::string::npos) << plan.out;

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"identify", "--port", "COM1"},
          std::vector<std::string>{"show", "--port", "com8"},
          std::vector<std::string>{"deploy", "--port", "\\\\.\\COM12", "--dry-run"}}) {
        SCOPED_TRACE(args[0] + " " + args[2]);
        const CliRun run = RunWithoutPorts(args);
        EXPECT_EQ(run.code, cli::kExitLinkFailure);
        EXPECT_NE(run.err.find(std::string("Failed\n") + cli::kNoSerialPortsMessage),
                  std::string::npos)
            << run.err;
    }

    const CliRun badPort = RunWithoutPorts({"identify", "--port", "COM9"});
    EXPECT_EQ(badPort.code, cli::kExitUsage) << "the port argument is still read as usual";
}

TEST(StandardClock, TellsTheLocalTimeAndPausesNoLongerThanAsked) {
    platform::StandardClock clock;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    const link::CalendarTime time = clock.localTime();
    EXPECT_EQ(time.year, local.tm_year + 1900);
    EXPECT_GE(time.month, 1);
    EXPECT_LE(time.month, 12);

    const std::int64_t before = clock.nowMs();
    clock.sleepMs(-5);
    clock.sleepMs(0);
    clock.sleepMs(20);
    const std::int64_t slept = clock.nowMs() - before;
    EXPECT_GE(slept, 20);
    EXPECT_LT(slept, 2000);
}

} // namespace
} // namespace qpx::test
