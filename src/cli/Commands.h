#pragma once

#include "cli/CliEnvironment.h"
#include "cli/InstrumentConnection.h"
#include "cli/Report.h"
#include "cli/SettingArgument.h"
#include "planning/DeploymentPlanner.h"

#include <optional>
#include <string>
#include <vector>

// The commands of qpxctl, each returning its exit code.
namespace qpx::cli {

struct OutputOptions {
    int unitSystem = 1; // 1 metric, 0 English
    bool json = false;
};

int RunPorts(CliEnvironment& env, bool json);
int RunIdentify(CliEnvironment& env, const ConnectionOptions& connection, bool json);
int RunShow(CliEnvironment& env, const ConnectionOptions& connection, const OutputOptions& output);

struct PlanOptions {
    int frequencyKhz = 1500;
    int recorderMegabytes = 5;
    int wavesOption = 0;
    OutputOptions output;
    std::vector<std::string> settings;
};
int RunPlan(CliEnvironment& env, const PlanOptions& options);

struct DeployOptions {
    ConnectionOptions connection;
    int unitSystem = 1;
    std::vector<std::string> settings;
    double watchSeconds = 0.0;
    bool dryRun = false;
};
int RunDeploy(CliEnvironment& env, const DeployOptions& options);

int RunRecorderList(CliEnvironment& env, const ConnectionOptions& connection, bool json);
int RunRecorderFormat(CliEnvironment& env, const ConnectionOptions& connection, bool yes,
                      bool json);

int RunClockShow(CliEnvironment& env, const ConnectionOptions& connection, bool json);
// `manual`: "YYYY/MM/DD HH:MM:SS"; none: the computer's clock.
int RunClockSet(CliEnvironment& env, const ConnectionOptions& connection,
                const std::optional<std::string>& manual, bool json);

int RunPcQpxShow(CliEnvironment& env, const ConnectionOptions& connection,
                 const OutputOptions& output);
// `values`: pulse-length=V, pulse-lag=V, res-lag=V, in the unit system's lengths.
int RunPcQpxSet(CliEnvironment& env, const ConnectionOptions& connection,
                const OutputOptions& output, const std::vector<std::string>& values);

// Shared by the commands.

// All arguments parsed before anything is done; the first that is not a setting is wrong usage.
std::optional<std::vector<SettingArgument>> ParseSettings(const std::vector<std::string>& args,
                                                          std::ostream& err);
// Applies them in order; the first refused one gives its message on `err` and kExitRefused.
int ApplySettings(planning::DeploymentPlanner& planner,
                  const std::vector<SettingArgument>& settings, std::ostream& err);
void PrintReport(CliEnvironment& env, const Report& report, bool json);

} // namespace qpx::cli
