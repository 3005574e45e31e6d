#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "instrument/SystemTimeDialogModel.h"

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

constexpr std::string_view kClockNotRead = "The instrument clock could not be read.";

} // namespace

int RunClockShow(CliEnvironment& env, const ConnectionOptions& connection, bool json) {
    ConsoleMessageSink messages(env);
    const ConnectResult connected = ConnectInstrument(env, connection, messages, false);
    if (!connected.connection) {
        return connected.exitCode;
    }
    Report report;
    bool shown = false;
    // The dialog is shown and cancelled: nothing is sent.
    instrument::RunSystemTime(&connected.connection->link(),
                              [&](instrument::SystemTimeDialogModel& dialog) {
                                  AddClockSection(report, dialog);
                                  shown = true;
                                  return false;
                              });
    if (!shown) {
        env.err << kClockNotRead << '\n';
        return kExitLinkFailure;
    }
    PrintReport(env, report, json);
    return kExitSuccess;
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
    ConsoleMessageSink messages(env);
    const ConnectResult connected = ConnectInstrument(env, connection, messages, false);
    if (!connected.connection) {
        return connected.exitCode;
    }
    Report report;
    bool shown = false;
    const bool set = instrument::RunSystemTime(&connected.connection->link(),
                                               [&](instrument::SystemTimeDialogModel& dialog) {
                                                   AddClockSection(report, dialog);
                                                   shown = true;
                                                   if (manualTime) {
                                                       dialog.selectManual();
                                                       dialog.setControlTime(*manualTime);
                                                   }
                                                   return true;
                                               });
    if (!shown) {
        env.err << kClockNotRead << '\n';
        return kExitLinkFailure;
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
