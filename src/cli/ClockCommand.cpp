#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "instrument/ClockCheckRecord.h"
#include "instrument/DeploymentReview.h"
#include "instrument/SystemTimeDialogModel.h"
#include "platform/RecordFiles.h"
#include "platform/TextFile.h"

#include <filesystem>
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

// Runs on the connected link before the clock is read; kExitSuccess to go on.
using BeforeClock = std::function<int(link::Link&)>;

// Connects and opens the clock dialog on the instrument's time: its texts go into `report`, then
// `decide` answers it (true: set the clock). kExitSuccess once the dialog was shown, with `set`
// saying whether the clock was set.
int RunClockDialog(CliEnvironment& env, const ConnectionOptions& connection, Report& report,
                   bool& set, const std::function<bool(instrument::SystemTimeDialogModel&)>& decide,
                   const BeforeClock& before = {}) {
    ConsoleMessageSink messages(env);
    const ConnectResult connected = ConnectInstrument(env, connection, messages, false);
    if (!connected.connection) {
        return connected.exitCode;
    }
    if (before) {
        if (const int code = before(connected.connection->link()); code != kExitSuccess) {
            return code;
        }
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
    return RunClockShow(env, connection, json, ClockRecordOptions{});
}

int RunClockShow(CliEnvironment& env, const ConnectionOptions& connection, bool json,
                 const ClockRecordOptions& record) {
    if (record.deployment && !record.folder) {
        env.err << "--deployment needs --record DIR.\n";
        return kExitUsage;
    }
    // The deployment record is judged before anything is sent.
    std::optional<instrument::DeploymentRecordFile> deployment;
    if (record.deployment) {
        const platform::DeploymentRecordRead read =
            platform::ReadDeploymentRecord(*record.deployment);
        if (!read.record) {
            env.err << "The deployment record " << *record.deployment
                    << " cannot be read: " << read.error << ".\n";
            return kExitRefused;
        }
        deployment = read.record;
        if (const std::string refusal = instrument::DeploymentRecordRefusal(*deployment);
            !refusal.empty()) {
            env.err << refusal << '\n';
            return kExitRefused;
        }
    }

    Report report;
    bool set = false;
    std::string serialNumber;
    std::optional<planning::ClockReading> reading;
    const BeforeClock readSerialNumber = [&](link::Link& link) {
        const auto serial = instrument::ReadInstrumentSerialNumber(link);
        if (!serial) {
            env.err << "The instrument's serial number could not be read.\n";
            return kExitLinkFailure;
        }
        serialNumber = *serial;
        if (deployment) {
            if (const std::string refusal =
                    instrument::SerialNumberRefusal(*deployment, serialNumber);
                !refusal.empty()) {
                env.err << refusal << '\n';
                return kExitRefused;
            }
        }
        return kExitSuccess;
    };
    // The dialog is shown and cancelled: nothing is sent.
    const int code = RunClockDialog(
        env, connection, report, set,
        [&](instrument::SystemTimeDialogModel& dialog) {
            reading = planning::ClockReading{dialog.computerTime(), env.clock.utcOffsetSeconds(),
                                             dialog.instrumentTime()};
            return false;
        },
        record.folder ? readSerialNumber : BeforeClock{});
    if (code != kExitSuccess) {
        return code;
    }
    if (!record.folder || !reading) {
        PrintReport(env, report, json);
        return kExitSuccess;
    }

    const instrument::ClockCheck check = instrument::MakeClockCheck(serialNumber, *reading);
    const instrument::ClockCheckOutcome outcome =
        instrument::MakeClockCheckRecord(check, deployment);
    if (!outcome.record) {
        env.err << outcome.refusal << '\n';
        return kExitRefused;
    }
    if (!outcome.note.empty()) {
        env.err << outcome.note << '\n';
    }
    auto& section = report.section("clock-check", "Clock Check");
    section.add("serial-number", "Serial Number:", serialNumber);
    section.add("offset", "Offset:", instrument::ClockOffsetText(instrument::OffsetSeconds(check)));
    if (const auto& drift = outcome.record->drift) {
        section.add("drift", "Drift:", instrument::DriftSecondsText(drift->driftSeconds));
        section.add("elapsed-days", "Elapsed:", instrument::ElapsedDaysText(drift->elapsedDays));
        section.add("drift-per-day",
                    "Drift per Day:", instrument::DriftRateText(drift->driftSecondsPerDay));
    }
    PrintReport(env, report, json);

    const platform::RecordSaved saved =
        platform::SaveRecord(instrument::ClockCheckRecordTexts(*outcome.record),
                             platform::RecordFolders(*record.folder, env.currentFolder));
    for (const auto& problem : saved.problems) {
        env.err << "The clock check record could not be written to " << problem << '\n';
    }
    if (!saved.folder) {
        env.err << "The clock check record could not be written anywhere.\n";
        return kExitFileFailure;
    }
    env.err << "Clock check record: "
            << (*saved.folder / instrument::ClockCheckStem(check)).string() << ".txt and .json\n";
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
