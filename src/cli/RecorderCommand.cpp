#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "cli/ConsoleProgressView.h"
#include "cli/ReportSections.h"
#include "instrument/RecorderDialogModel.h"

namespace qpx::cli {
namespace {

RecorderListing ListingOf(const instrument::RecorderDialogModel& model) {
    return {model.rows(), model.fileCountText(), model.usedText(), model.freeText()};
}

constexpr std::string_view kDirectoryNotRead = "The recorder directory could not be read.";

} // namespace

int RunRecorderList(CliEnvironment& env, const ConnectionOptions& connection, bool json) {
    ConsoleMessageSink messages(env);
    // The list's refresh goes on after a wake-up that found another system; identifying here
    // keeps "bdir" from ever reaching one, and that one wake-up serves the directory read too.
    const ConnectResult connected = ConnectInstrument(env, connection, messages, true);
    if (!connected.connection) {
        return connected.exitCode;
    }
    instrument::RecorderDialogModel model;
    if (model.open(connected.connection->link(),
                   instrument::RecorderDialogModel::Wake::AlreadyIdentified) < 0) {
        env.err << kDirectoryNotRead << '\n';
        return kExitLinkFailure;
    }
    Report report;
    AddRecorderSection(report, ListingOf(model));
    PrintReport(env, report, json);
    return kExitSuccess;
}

int RunRecorderFormat(CliEnvironment& env, const ConnectionOptions& connection, bool yes,
                      bool json) {
    ConsoleMessageSink messages(env, yes);
    const ConnectResult connected = ConnectInstrument(env, connection, messages, false);
    if (!connected.connection) {
        return connected.exitCode;
    }
    instrument::RecorderDialogModel model;
    ConsoleProgressViews views(env);
    switch (model.format(connected.connection->link(), views)) {
    case instrument::FormatOutcome::Cancelled:
        return kExitRefused;
    case instrument::FormatOutcome::Failed:
        return kExitLinkFailure;
    case instrument::FormatOutcome::ListNotRead:
        env.err << kDirectoryNotRead << '\n';
        return kExitLinkFailure;
    case instrument::FormatOutcome::Formatted:
        break;
    }
    Report report;
    AddRecorderSection(report, ListingOf(model));
    PrintReport(env, report, json);
    return kExitSuccess;
}

} // namespace qpx::cli
