#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "instrument/SystemTimeDialogModel.h"

#include <functional>

namespace qpx::cli {
namespace {

void AddClockSection(Report& report, const instrument::SystemTimeDialogModel& dialog) {
    auto& clock = report.section("clock", std::string(instrument::kSystemTimeTitle));
    clock.add("computer-time", std::string(instrument::kComputerTimeLabel),
              dialog.computerTimeText());
    clock.add("system-time", std::string(instrument::kSystemTimeLabel),
              dialog.instrumentTimeText());
    clock.add("difference", std::string(instrument::kDifferenceLabel), dialog.differenceText());
}

// Connects and opens the clock dialog on the instrument's time: its texts go into `report`, then
// `decide` answers it (true: set the clock). kExitSuccess once the dialog was shown, with `set`
// saying whether the clock was set.
int RunClockDialog(CliEnvironment& env, const ConnectionOptions& connection, Report& report,
                   bool& set,
                   const std::function<bool(instrument::SystemTimeDialogModel&)>& decide) {
    ConsoleMessageSink messages(env);
    const ConnectResult connected = ConnectInstrument(env, connection, messages, false);
    if (!connected.connection) {
        return connected.exitCode;
    }
    bool shown = false;
    set = instrument::RunSystemTime(&connected.connection->link(),
                                    [&](instrument::SystemTimeDialogModel& dialog) {
                                        AddClockSection(report, dialog);
                                        shown = true;
                                        return decide(dialog);
                                    });
    if (!shown) {
        env.err << "The instrument clock could not be read.\n";
        return kExitLinkFailure;
    }
    return kExitSuccess;
}

} // namespace

int RunClockShow(CliEnvironment& env, const ConnectionOptions& connection, bool json) {
    Report report;
    bool set = false;
    // The dialog is shown and cancelled: nothing is sent.
    const int code = RunClockDialog(env, connection, report, set,
                                    [](instrument::SystemTimeDialogModel&) { return false; });
    if (code == kExitSuccess) {
        PrintReport(env, report, json);
    }
    return code;
}

int RunClockSet(CliEnvironment& env, const ConnectionOptions& connection,
                const std::optional<std::string>& manual, bool json) {
    std::optional<link::CalendarTime> manualTime;
    if (manual) {
        manualTime = ParseCalendarText(*manual);
        if (!manualTime) {
            env.err << "--manual takes \"YYYY/MM/DD HH:MM:SS\", not \"" << *manual << "\".\n";
            return kExitUsage;
        }
    }
    Report report;
    bool set = false;
    const int code = RunClockDialog(env, connection, report, set,
                                    [&](instrument::SystemTimeDialogModel& dialog) {
                                        if (manualTime) {
                                            dialog.selectManual();
                                            dialog.setControlTime(*manualTime);
                                        }
                                        return true;
                                    });
    if (code != kExitSuccess) {
        return code;
    }
    if (!set) {
        env.err << "The instrument clock could not be set.\n";
        return kExitLinkFailure;
    }
    report.sections.back().add("set-to", "Set To:",
                               manualTime ? instrument::CalendarText(*manualTime)
                                          : std::string("the computer's clock"));
    PrintReport(env, report, json);
    return kExitSuccess;
}

} // namespace qpx::cli
