#include "cli/QpxCtl.h"

#include "cli/Commands.h"
#include "operations/Connection.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>

namespace qpx::cli {
namespace {

const std::map<std::string, int> kUnitNames{{"metric", 1}, {"english", 0}};
const std::map<std::string, int> kWavesNames{
    {"none", 0}, {"non-directional", 1}, {"directional", 2}};

constexpr const char* kSettingsHelp =
    "Settings applied in the order given, each as typed into its box: file-name, start "
    "(\"YYYY/MM/DD HH:MM:SS\"), comment1, comment2, comment3, averaging-interval, "
    "profiling-interval, coordinate-system (beam, xyz, enu), cells, cell-size, blanking, "
    "output-mode (auto, polled), battery-type (alkaline, lithium), battery-packs, "
    "temperature-mode (user, measured), temperature, salinity, burst-mode (disabled, enabled), "
    "burst-interval, profiles-per-burst, wave-every, wave-rate (1, 2, 4), wave-length, "
    "wave-type (none, p, puv). Lengths and temperatures in the chosen unit system.";

void AddConnection(CLI::App* command, ConnectionOptions& connection) {
    command->add_option("--port", connection.port, "COM1 to COM8, or a device path")->required();
    std::vector<int> rates(operations::kBaudRates.begin(), operations::kBaudRates.end());
    command->add_option("--baud", connection.baud, "Line rate (default 9600)")
        ->check(CLI::IsMember(rates));
}

void AddUnits(CLI::App* command, int& unitSystem) {
    command->add_option("--units", unitSystem, "metric (default) or english: lengths in m or ft")
        ->transform(CLI::CheckedTransformer(kUnitNames, CLI::ignore_case));
}

constexpr const char* kPlanFileHelp =
    "Enter the plan file FILE (key = value lines, as --save writes them) before the settings, "
    "which then change it further. A refused file (\"FILE, line N: reason\") gives code 1; its "
    "warnings and notes go to standard error.";

void AddPlanFiles(CLI::App* command, PlanFiles& files, const std::string& planHelp,
                  const char* saveHelp) {
    command->add_option("--plan", files.plan, planHelp)->type_name("FILE");
    command
        ->add_option("--save", files.save,
                     std::string(saveHelp) +
                         ". A file there is replaced only when the new one is written whole; a "
                         "save that fails gives code 3.")
        ->type_name("FILE");
}

void AddViewOptions(CLI::App* command, ViewOptions& views) {
    command
        ->add_option("--surface", views.surface,
                     "Distance from the instrument to the surface (or the bottom, looking down), "
                     "in the unit system's length: marks the cells its side-lobe echoes reach")
        ->check(CLI::PositiveNumber)
        ->type_name("DISTANCE");
    CLI::Option* sweep = command->add_flag(
        "--sweep", views.sweep,
        "Add the endurance sweep: battery and recorder days for profiling intervals from the "
        "averaging interval to the longest accepted");
    command->add_flag("--csv", views.csv, "Print the sweep alone as CSV (needs --sweep)")
        ->needs(sweep);
    command
        ->add_option("--ping-rate", views.pingRate,
                     "Pings per second the precision estimate assumes (default 1)")
        ->check(CLI::PositiveNumber)
        ->type_name("RATE");
}

// Where CLI11 puts what it parses, and the subcommands to ask which one was given. Bound by
// reference, so it stays where it was made until the command has run.
struct CommandLine {
    bool json = false;
    ConnectionOptions connection;
    OutputOptions output;
    ShowOptions showOptions;
    PlanOptions plan;
    DeployOptions deploy;
    bool yes = false;
    std::optional<std::string> manual;
    ClockRecordOptions clockRecord;
    std::vector<std::string> pulseValues;

    CLI::App* ports = nullptr;
    CLI::App* identify = nullptr;
    CLI::App* show = nullptr;
    CLI::App* planCommand = nullptr;
    CLI::Option* frequency = nullptr;
    CLI::Option* recorderSize = nullptr;
    CLI::Option* waves = nullptr;
    CLI::App* deployCommand = nullptr;
    CLI::App* recorder = nullptr;
    CLI::App* recorderFormat = nullptr;
    CLI::App* clock = nullptr;
    CLI::App* clockSet = nullptr;
    CLI::App* pcqpx = nullptr;
    CLI::App* pcqpxSet = nullptr;
};

// The commands that only look: the ports, the instrument's identity, its configuration.
void AddLookingCommands(CLI::App& app, CommandLine& line) {
    line.ports = app.add_subcommand("ports", "COM1 to COM8: the device, its availability code "
                                             "and what it means");
    line.ports->add_flag("--json", line.json, "Print JSON");

    line.identify = app.add_subcommand("identify", "Wake up and identify the instrument; exit 0 "
                                                   "only for a QPX or a Merovane");
    AddConnection(line.identify, line.connection);
    line.identify->add_flag("--json", line.json, "Print JSON");

    ShowOptions& show = line.showOptions;
    line.show = app.add_subcommand(
        "show", "Download the configuration and show it: hardware, planner values and estimates, "
                "waves, recorder; with --plan or settings, as the planner would show them after "
                "entering those (nothing is sent)");
    AddConnection(line.show, show.connection);
    AddUnits(line.show, show.output.unitSystem);
    line.show->add_flag("--json", show.output.json, "Print JSON");
    AddPlanFiles(line.show, show.files, kPlanFileHelp,
                 "Write the plan shown (the instrument's values, after --plan and the settings) "
                 "to FILE, naming the instrument's serial number");
    AddViewOptions(line.show, show.views);
    line.show->add_option("settings", show.settings, kSettingsHelp);
}

void AddPlanCommand(CLI::App& app, CommandLine& line) {
    PlanOptions& plan = line.plan;
    line.planCommand = app.add_subcommand(
        "plan", "Plan a deployment with no instrument: defaults for the frequency, the settings "
                "applied, the planner's texts and the \"&Deploy\" checks");
    std::vector<int> frequencies{3000, 1500, 750, 500, 250, 1000, 5000};
    line.frequency = line.planCommand
                         ->add_option("--frequency", plan.frequencyKhz,
                                      "kHz (default 1500, or the --plan file's)")
                         ->check(CLI::IsMember(frequencies));
    line.recorderSize =
        line.planCommand
            ->add_option("--recorder-mb", plan.recorderMegabytes,
                         "Recorder size (default 5, or the --plan file's)")
            ->check(CLI::IsMember(std::vector<int>{5, 10, 20, 32, 40, 85, 192, 340, 660, 880}));
    line.waves = line.planCommand
                     ->add_option("--waves", plan.wavesOption,
                                  "none (default, or the --plan file's), non-directional or "
                                  "directional")
                     ->transform(CLI::CheckedTransformer(kWavesNames, CLI::ignore_case));
    AddUnits(line.planCommand, plan.output.unitSystem);
    line.planCommand->add_flag("--json", plan.output.json, "Print JSON");
    AddPlanFiles(line.planCommand, plan.files,
                 std::string(kPlanFileHelp) +
                     " Its header gives the frequency, the recorder size and the waves option; "
                     "--frequency, --recorder-mb or --waves given on the command line win over it.",
                 "Write the plan (after --plan and the settings) to FILE, also when the "
                 "\"&Deploy\" checks refuse it");
    AddViewOptions(line.planCommand, plan.views);
    line.planCommand->add_option("settings", plan.settings, kSettingsHelp);
}

void AddDeployCommand(CLI::App& app, CommandLine& line) {
    DeployOptions& deploy = line.deploy;
    line.deployCommand = app.add_subcommand(
        "deploy", "Download, apply the settings, check, upload, \"deploy\", show the output");
    line.deployCommand
        ->add_option("--port", deploy.ports,
                     "COM1 to COM8, or a device path; given more than once, the same plan is "
                     "deployed to each in turn and a line per instrument ends the output. Code "
                     "0 only when every one was deployed, else the highest code of any (3 over 1)")
        ->required()
        ->allow_extra_args(false);
    std::vector<int> rates(operations::kBaudRates.begin(), operations::kBaudRates.end());
    line.deployCommand->add_option("--baud", deploy.baud, "Line rate (default 9600)")
        ->check(CLI::IsMember(rates));
    AddUnits(line.deployCommand, deploy.unitSystem);
    line.deployCommand->add_option("--plan", deploy.planFile, kPlanFileHelp)->type_name("FILE");
    line.deployCommand->add_flag("--stop-on-failure", deploy.stopOnFailure,
                                 "With several ports: stop at the first that is not deployed (the "
                                 "rest listed as not tried)");
    line.deployCommand
        ->add_option("--watch", deploy.watchSeconds,
                     "Seconds of the instrument's output to show after \"deploy\" (default 0)")
        ->check(CLI::Range(0.0, 86400.0));
    line.deployCommand->add_flag(
        "--dry-run", deploy.dryRun,
        "Stop after the checks and print the command lines the upload would "
        "send");
    line.deployCommand
        ->add_option("--save-commands", deploy.saveCommands,
                     "With --dry-run and one port: also write the command lines to FILE, under a "
                     "line naming the instrument and the time; a save that fails gives code 3")
        ->type_name("FILE");
    line.deployCommand->add_flag("--strict", deploy.strict,
                                 "Refuse to deploy when the review gives any warning (code 1, "
                                 "nothing sent)");
    line.deployCommand->add_flag(
        "--check-clock", deploy.checkClock,
        "Read the instrument clock before the review, for its offset and the record");
    line.deployCommand
        ->add_option("--planned-days", deploy.plannedDays,
                     "The planned duration in days, checked against both estimates")
        ->type_name("DAYS");
    line.deployCommand->add_option("--remarks", deploy.remarks,
                                   "Operator and remarks, kept in the deployment record");
    line.deployCommand
        ->add_option("--record", deploy.recordFolder,
                     "Folder for the deployment record (default: the current folder; if it "
                     "cannot be written, the user data folder, then the temporary folder)")
        ->type_name("DIR");
    line.deployCommand->add_option("settings", deploy.settings, kSettingsHelp);
}

// The commands with a show and a change: the recorder, the clock, the PC-QPX pulse settings. Each
// takes the connection (and the units, where given), --json, and at most one of its two
// subcommands, the show being the default. Returns the change subcommand.
struct Described {
    const char* name;
    const char* description;
};
CLI::App* AddShowAndChange(CLI::App& app, CommandLine& line, CLI::App*& command, bool& json,
                           int* unitSystem, Described parent, Described show, Described change) {
    command = app.add_subcommand(parent.name, parent.description);
    AddConnection(command, line.connection);
    if (unitSystem != nullptr) {
        AddUnits(command, *unitSystem);
    }
    command->add_flag("--json", json, "Print JSON");
    command->require_subcommand(0, 1);
    command->add_subcommand(show.name, show.description)->fallthrough();
    CLI::App* changing = command->add_subcommand(change.name, change.description);
    changing->fallthrough();
    return changing;
}

void AddRecorderCommand(CLI::App& app, CommandLine& line) {
    line.recorderFormat = AddShowAndChange(app, line, line.recorder, line.json, nullptr,
                                           {"recorder", "The recorder: list (default) or format"},
                                           {"list", "List the files on the memory card"},
                                           {"format", "Erase the memory card (asks unless --yes)"});
    line.recorderFormat->add_flag("--yes", line.yes, "Answer the format warning with OK");
}

void AddClockCommand(CLI::App& app, CommandLine& line) {
    line.clockSet =
        AddShowAndChange(app, line, line.clock, line.json, nullptr,
                         {"clock", "The instrument clock: show (default) or set"},
                         {"show", "The instrument and computer clocks"},
                         {"set", "Set the instrument clock to the computer's, or to --manual"});
    line.clockSet->add_option("--manual", line.manual, "\"YYYY/MM/DD HH:MM:SS\"");
    CLI::App* show = line.clock->get_subcommand("show");
    show->add_option("--record", line.clockRecord.folder,
                     "Also write a clock-check record (DIR/SERIAL_TIME_clock.txt and .json; if DIR "
                     "cannot be written, the current folder, the user data folder, then the "
                     "temporary folder); the serial number is read from the instrument first")
        ->type_name("DIR");
    show->add_option("--deployment", line.clockRecord.deployment,
                     "With --record: the deployment record (.json) of the same instrument, to "
                     "work out the clock's drift since its clock reading")
        ->type_name("RECORD");
}

void AddPcQpxCommand(CLI::App& app, CommandLine& line) {
    line.pcqpxSet =
        AddShowAndChange(app, line, line.pcqpx, line.output.json, &line.output.unitSystem,
                         {"pcqpx", "PC-QPX pulse settings: show (default) or set"},
                         {"show", "The pulse settings and velocity limits"},
                         {"set", "Check and send pulse-length=V pulse-lag=V res-lag=V (m or ft)"});
    line.pcqpxSet->add_option("values", line.pulseValues, "pulse-length=V pulse-lag=V res-lag=V");
}

int RunParsed(const CommandLine& line, CliEnvironment& env) {
    if (line.ports->parsed()) {
        return RunPorts(env, line.json);
    }
    if (line.identify->parsed()) {
        return RunIdentify(env, line.connection, line.json);
    }
    if (line.show->parsed()) {
        return RunShow(env, line.showOptions);
    }
    if (line.planCommand->parsed()) {
        PlanOptions plan = line.plan;
        plan.frequencyGiven = line.frequency->count() > 0;
        plan.recorderGiven = line.recorderSize->count() > 0;
        plan.wavesGiven = line.waves->count() > 0;
        return RunPlan(env, plan);
    }
    if (line.deployCommand->parsed()) {
        return RunDeploy(env, line.deploy);
    }
    if (line.recorder->parsed()) {
        return line.recorderFormat->parsed()
                   ? RunRecorderFormat(env, line.connection, line.yes, line.json)
                   : RunRecorderList(env, line.connection, line.json);
    }
    if (line.clock->parsed()) {
        return line.clockSet->parsed()
                   ? RunClockSet(env, line.connection, line.manual, line.json)
                   : RunClockShow(env, line.connection, line.json, line.clockRecord);
    }
    if (line.pcqpx->parsed()) {
        return line.pcqpxSet->parsed()
                   ? RunPcQpxSet(env, line.connection, line.output, line.pulseValues)
                   : RunPcQpxShow(env, line.connection, line.output);
    }
    return kExitUsage;
}

} // namespace

int RunQpxCtl(const std::vector<std::string>& args, CliEnvironment& env) {
    CLI::App app{"qpxctl: set up, plan and deploy a QPX current profiler from the command line.\n"
                 "Exit codes: 0 success, 1 refused by a check, a plan file or the user, 2 wrong "
                 "usage, 3 link or instrument failure, or a file that could not be saved.",
                 "qpxctl"};
    app.require_subcommand(1);

    CommandLine line;
    AddLookingCommands(app, line);
    AddPlanCommand(app, line);
    AddDeployCommand(app, line);
    AddRecorderCommand(app, line);
    AddClockCommand(app, line);
    AddPcQpxCommand(app, line);

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, env.out, env.err);
        return code == 0 ? kExitSuccess : kExitUsage;
    }
    return RunParsed(line, env);
}

} // namespace qpx::cli
