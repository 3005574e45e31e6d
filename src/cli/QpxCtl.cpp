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

} // namespace

int RunQpxCtl(const std::vector<std::string>& args, CliEnvironment& env) {
    CLI::App app{"qpxctl: set up, plan and deploy a QPX current profiler from the command line.\n"
                 "Exit codes: 0 success, 1 refused by a check or the user, 2 wrong usage, "
                 "3 link or instrument failure.",
                 "qpxctl"};
    app.require_subcommand(1);

    bool json = false;
    ConnectionOptions connection;
    OutputOptions output;

    auto* ports = app.add_subcommand("ports", "COM1 to COM8: the device, its availability code "
                                              "and what it means");
    ports->add_flag("--json", json, "Print JSON");

    auto* identify = app.add_subcommand("identify", "Wake up and identify the instrument; exit 0 "
                                                    "only for a QPX or a Merovane");
    AddConnection(identify, connection);
    identify->add_flag("--json", json, "Print JSON");

    auto* show = app.add_subcommand("show", "Download the configuration and show it: hardware, "
                                            "planner values and estimates, waves, recorder");
    AddConnection(show, connection);
    AddUnits(show, output.unitSystem);
    show->add_flag("--json", output.json, "Print JSON");

    PlanOptions plan;
    auto* planCommand = app.add_subcommand(
        "plan", "Plan a deployment with no instrument: defaults for the frequency, the settings "
                "applied, the planner's texts and the \"&Deploy\" checks");
    std::vector<int> frequencies{3000, 1500, 750, 500, 250, 1000, 5000};
    planCommand->add_option("--frequency", plan.frequencyKhz, "kHz (default 1500)")
        ->check(CLI::IsMember(frequencies));
    planCommand->add_option("--recorder-mb", plan.recorderMegabytes, "Recorder size (default 5)")
        ->check(CLI::IsMember(std::vector<int>{5, 10, 20, 32, 40, 85, 192, 340, 660, 880}));
    planCommand
        ->add_option("--waves", plan.wavesOption, "none (default), non-directional or directional")
        ->transform(CLI::CheckedTransformer(kWavesNames, CLI::ignore_case));
    AddUnits(planCommand, plan.output.unitSystem);
    planCommand->add_flag("--json", plan.output.json, "Print JSON");
    planCommand->add_option("settings", plan.settings, kSettingsHelp);

    DeployOptions deploy;
    auto* deployCommand = app.add_subcommand(
        "deploy", "Download, apply the settings, check, upload, \"deploy\", show the output");
    AddConnection(deployCommand, deploy.connection);
    AddUnits(deployCommand, deploy.unitSystem);
    deployCommand
        ->add_option("--watch", deploy.watchSeconds,
                     "Seconds of the instrument's output to show after \"deploy\" (default 0)")
        ->check(CLI::Range(0.0, 86400.0));
    deployCommand->add_flag("--dry-run", deploy.dryRun,
                            "Stop after the checks and print the command lines the upload would "
                            "send");
    deployCommand->add_option("settings", deploy.settings, kSettingsHelp);

    auto* recorder = app.add_subcommand("recorder", "The recorder: list (default) or format");
    AddConnection(recorder, connection);
    recorder->add_flag("--json", json, "Print JSON");
    recorder->require_subcommand(0, 1);
    auto* recorderList = recorder->add_subcommand("list", "List the files on the memory card");
    recorderList->fallthrough();
    bool yes = false;
    auto* recorderFormat =
        recorder->add_subcommand("format", "Erase the memory card (asks unless --yes)");
    recorderFormat->add_flag("--yes", yes, "Answer the format warning with OK");
    recorderFormat->fallthrough();

    auto* clock = app.add_subcommand("clock", "The instrument clock: show (default) or set");
    AddConnection(clock, connection);
    clock->add_flag("--json", json, "Print JSON");
    clock->require_subcommand(0, 1);
    auto* clockShow = clock->add_subcommand("show", "The instrument and computer clocks");
    clockShow->fallthrough();
    std::optional<std::string> manual;
    auto* clockSet =
        clock->add_subcommand("set", "Set the instrument clock to the computer's, or to --manual");
    clockSet->add_option("--manual", manual, "\"YYYY/MM/DD HH:MM:SS\"");
    clockSet->fallthrough();

    auto* pcqpx = app.add_subcommand("pcqpx", "PC-QPX pulse settings: show (default) or set");
    AddConnection(pcqpx, connection);
    AddUnits(pcqpx, output.unitSystem);
    pcqpx->add_flag("--json", output.json, "Print JSON");
    pcqpx->require_subcommand(0, 1);
    auto* pcqpxShow = pcqpx->add_subcommand("show", "The pulse settings and velocity limits");
    pcqpxShow->fallthrough();
    std::vector<std::string> pulseValues;
    auto* pcqpxSet = pcqpx->add_subcommand(
        "set", "Check and send pulse-length=V pulse-lag=V res-lag=V (m or ft)");
    pcqpxSet->add_option("values", pulseValues, "pulse-length=V pulse-lag=V res-lag=V");
    pcqpxSet->fallthrough();

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, env.out, env.err);
        return code == 0 ? kExitSuccess : kExitUsage;
    }

    if (ports->parsed()) {
        return RunPorts(env, json);
    }
    if (identify->parsed()) {
        return RunIdentify(env, connection, json);
    }
    if (show->parsed()) {
        return RunShow(env, connection, output);
    }
    if (planCommand->parsed()) {
        return RunPlan(env, plan);
    }
    if (deployCommand->parsed()) {
        return RunDeploy(env, deploy);
    }
    if (recorder->parsed()) {
        return recorderFormat->parsed() ? RunRecorderFormat(env, connection, yes, json)
                                        : RunRecorderList(env, connection, json);
    }
    if (clock->parsed()) {
        return clockSet->parsed() ? RunClockSet(env, connection, manual, json)
                                  : RunClockShow(env, connection, json);
    }
    if (pcqpx->parsed()) {
        return pcqpxSet->parsed() ? RunPcQpxSet(env, connection, output, pulseValues)
                                  : RunPcQpxShow(env, connection, output);
    }
    return kExitUsage;
}

} // namespace qpx::cli
