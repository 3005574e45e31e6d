#pragma once

#include "cli/CliEnvironment.h"
#include "cli/InstrumentConnection.h"
#include "cli/PlanViewSections.h"
#include "cli/Report.h"
#include "cli/SettingArgument.h"
#include "model/SystemConfiguration.h"
#include "operations/PlanFile.h"
#include "operations/RecordNaming.h"
#include "planning/DeploymentPlanner.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The commands of qpxctl, each returning its exit code.
namespace qpx::cli {

struct OutputOptions {
    int unitSystem = 1; // 1 metric, 0 English
    bool json = false;
};

int RunPorts(CliEnvironment& env, bool json);
int RunIdentify(CliEnvironment& env, const ConnectionOptions& connection, bool json);

// A plan file to start from (entered before the NAME=VALUE settings), and one to write the result
// to.
struct PlanFiles {
    std::optional<std::string> plan;
    std::optional<std::string> save;
};

struct ShowOptions {
    ConnectionOptions connection;
    OutputOptions output;
    ViewOptions views;
    PlanFiles files;
    std::vector<std::string> settings;
};
int RunShow(CliEnvironment& env, const ShowOptions& options);

struct PlanOptions {
    int frequencyKhz = 1500;
    int recorderMegabytes = 5;
    int wavesOption = 0;
    // Given on the command line: then they win over the plan file's header.
    bool frequencyGiven = false;
    bool recorderGiven = false;
    bool wavesGiven = false;
    OutputOptions output;
    ViewOptions views;
    PlanFiles files;
    std::vector<std::string> settings;
};
int RunPlan(CliEnvironment& env, const PlanOptions& options);

struct DeployOptions {
    std::vector<std::string> ports; // deployed in this order
    int baud = 9600;
    int unitSystem = 1;
    std::optional<std::string> planFile;
    std::vector<std::string> settings;
    double watchSeconds = 0.0;
    bool dryRun = false;
    std::optional<std::string> saveCommands; // with dryRun and one port only
    bool stopOnFailure = false;
    // The review: refuse on any warning; read the instrument clock first; its planned duration
    // and remarks; where the record goes.
    bool strict = false;
    bool checkClock = false;
    std::optional<std::string> plannedDays;
    std::string remarks;
    std::string recordFolder = ".";
};
int RunDeploy(CliEnvironment& env, const DeployOptions& options);

int RunRecorderList(CliEnvironment& env, const ConnectionOptions& connection, bool json);
int RunRecorderFormat(CliEnvironment& env, const ConnectionOptions& connection, bool yes,
                      bool json);

int RunClockShow(CliEnvironment& env, const ConnectionOptions& connection, bool json);
// The clock check at recovery: `folder` (--record) is where the record goes, falling back to the
// current folder and the per-user data folder; `deployment` a deployment record to take the drift
// from, which must be of the same instrument.
struct ClockRecordOptions {
    std::optional<std::string> folder;
    std::optional<std::string> deployment;
};
int RunClockShow(CliEnvironment& env, const ConnectionOptions& connection, bool json,
                 const ClockRecordOptions& record);
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
// Applies them in order; the first refused one gives its message on `err` (and in `refusal`, when
// given) and kExitRefused.
int ApplySettings(planning::DeploymentPlanner& planner,
                  const std::vector<SettingArgument>& settings, std::ostream& err,
                  std::string* refusal = nullptr);
void PrintReport(CliEnvironment& env, const Report& report, bool json);

// The instrument's serial number for a file's header or a summary line: a byte that is no text (a
// line break would start a line of its own in a command file) shown as '?'.
using operations::SerialNumberText;

// The plan file read and its form checked; none after its refusal ("FILE, line N: reason") was
// given on `err`.
std::optional<operations::PlanDocument> ReadPlanFile(const std::string& path, std::ostream& err);
// Enters the plan, its warnings and notes on `err`; kExitRefused after a refusal (its text also in
// `refusal`, when given), which leaves the planner as it was.
int EnterPlan(planning::DeploymentPlanner& planner, const operations::PlanDocument& plan,
              const std::string& path, std::ostream& err, std::string* refusal = nullptr);
// A command's NAME=VALUE settings and --plan file, read and checked before anything is done.
struct PlanAndSettings {
    std::vector<SettingArgument> settings;
    std::optional<operations::PlanDocument> plan;
    int exitCode = kExitSuccess; // else kExitUsage for a setting, kExitRefused for the file
};
PlanAndSettings ReadPlanAndSettings(const std::vector<std::string>& settings,
                                    const std::optional<std::string>& planFile, std::ostream& err);
// The plan (when there is one), then the settings, entered into the planner: the first refusal's
// code (its text also in `refusal`, when given).
int EnterPlanAndSettings(planning::DeploymentPlanner& planner, const operations::PlanDocument* plan,
                         const std::string& planPath, const std::vector<SettingArgument>& settings,
                         std::ostream& err, std::string* refusal = nullptr);
// Writes `contents` (a plan or command file) in place of `path`: kExitSuccess, or kExitFileFailure
// with the file and the reason on `err`; an old file there is kept whole on failure.
int SaveDocument(const std::string& path, std::string_view contents, std::string_view what,
                 std::ostream& err);
// The planner's plan, saved with its origin.
int SavePlan(const planning::DeploymentPlanner& planner, const operations::PlanOrigin& origin,
             const std::string& path, std::ostream& err);

} // namespace qpx::cli
