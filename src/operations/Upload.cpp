#include "operations/Upload.h"

#include "link/CommandExchange.h"
#include "link/PortFunctions.h"
#include "link/ProgressStep.h"
#include "link/WakeAndIdentify.h"
#include "model/TextFormat.h"

#include <array>
#include <cstring>
#include <memory>
#include <string_view>

namespace qpx::operations {
namespace {

constexpr int kCommandPauseMs = 150;
constexpr int kCommentPauseMs = 500;
constexpr int kCommentReadSize = 300;

// A NUL-terminated text field, never read past its end.
template <std::size_t N>
std::string FieldText(const std::array<char, N>& field) {
    const auto* end = static_cast<const char*>(std::memchr(field.data(), '\0', N));
    return std::string(field.data(),
                       end != nullptr ? static_cast<std::size_t>(end - field.data()) : N);
}

const char* Pick(std::initializer_list<const char*> names, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        return nullptr;
    }
    return names.begin()[index];
}

// "Comments" opens a three-line dialogue without a prompt, so it cannot go through the echoed
// command exchange. Every line ends with a CR: without it the instrument never takes the line.
bool SendComments(link::Link& link, const model::UserSetup& user) {
    link::Port& port = link.port;
    link::Clock& clock = link.clock();
    std::array<char, kCommentReadSize + 1> reply{};
    if (link::WriteStringTimed(port, "Comments\r", link::kLineTerminator, 500) < 0) {
        return false;
    }
    link::ReadStringTimed(port, reply.data(), kCommentReadSize, link::kLineTerminator, 500);
    link::ReadStringTimed(port, reply.data(), kCommentReadSize, link::kLineTerminator, 500);
    clock.sleepMs(kCommentPauseMs);
    std::string lastEcho;
    std::string lastComment;
    for (const auto* comment : {&user.comment1, &user.comment2, &user.comment3}) {
        lastComment = FieldText(*comment);
        if (link::WriteStringTimed(port, lastComment + "\r", link::kLineTerminator, 1000) < 0) {
            return false;
        }
        clock.sleepMs(kCommentPauseMs);
        reply.fill('\0');
        link::ReadStringTimed(port, reply.data(), kCommentReadSize, link::kLineTerminator, 1000);
        lastEcho = reply.data();
        clock.sleepMs(kCommentPauseMs);
    }
    reply.fill('\0');
    link::ReadStringTimed(port, reply.data(), kCommentReadSize, link::kLineTerminator, 500);
    // The echo of an empty third line is a bare CR LF, which does not end a line read, so that
    // read also takes the "OK" that follows it. Look for it in both reads, past the echoed text
    // (a comment may itself say "OK").
    if (lastEcho.starts_with(lastComment)) {
        lastEcho.erase(0, lastComment.size());
    }
    return (lastEcho + reply.data()).find("OK") != std::string::npos;
}

} // namespace

std::vector<UploadCommand> SettingsCommands(const ChangeDetection& changes) {
    using model::FormatText;
    const model::UserSetup& u = changes.userSetup;
    const auto marked = [&](ChangeItem item) { return changes.flags.marked(item); };
    std::vector<UploadCommand> out;
    const auto add = [&](ChangeItem item, std::string_view label, std::string command) {
        if (marked(item)) {
            out.push_back({std::string(label), std::move(command)});
        }
    };
    // A list index without a name never goes out as a command the instrument would refuse.
    const auto addNamed = [&](ChangeItem item, std::string_view label, const char* format,
                              const char* name) {
        if (name != nullptr) {
            add(item, label, FormatText(format, name));
        }
    };
    add(ChangeItem::AveragingInterval, "Update Averaging Interval...... ",
        FormatText("ai %9u", static_cast<unsigned>(u.averagingInterval)));
    add(ChangeItem::ProfilingInterval, "Update Profiling Interval...... ",
        FormatText("pri %9u", static_cast<unsigned>(u.profilingInterval)));
    add(ChangeItem::CellSize, "Update Cell Size............... ",
        FormatText("cs %.2f", static_cast<double>(static_cast<float>(u.cellSize) * 0.01f)));
    add(ChangeItem::NumberOfCells, "Update Number of Cells......... ",
        FormatText("nc %d", static_cast<int>(u.numberOfCells)));
    add(ChangeItem::BlankingDistance, "Update Blanking Distance....... ",
        FormatText("bd %.2f", static_cast<double>(static_cast<float>(u.blankingDistance) * 0.01f)));
    addNamed(ChangeItem::CoordinateSystem, "Update Coordinate System....... ", "Cy %s",
             Pick({"BEAM", "XYZ", "ENU"}, u.coordinateSystem));
    addNamed(ChangeItem::OutputMode, "Update Output Mode............. ", "om %s",
             Pick({"Auto", "Polled"}, u.outputMode));
    addNamed(ChangeItem::TemperatureMode, "Set Temperature Mode........... ", "TempMode %s",
             Pick({"User", "Measured"}, u.temperatureMode));
    add(ChangeItem::DefaultTemperature, "Update Default Temperature..... ",
        FormatText("Temp %9.2f",
                   static_cast<double>(static_cast<float>(u.defaultTemperature) * 0.1f)));
    add(ChangeItem::DefaultSalinity, "Update Default Salinity........ ",
        FormatText("Sal %9.2f", static_cast<double>(static_cast<float>(u.salinity) * 0.1f)));
    addNamed(ChangeItem::BurstMode, "Update Burst Mode.............. ", "bm %s",
             Pick({"Disabled", "Enabled"}, u.burstMode));
    add(ChangeItem::BurstInterval, "Update Burst Interval.......... ",
        FormatText("bi %9u", static_cast<unsigned>(u.burstInterval)));
    add(ChangeItem::ProfilesPerBurst, "Update Profiles Per Burst...... ",
        FormatText("sb %9u", static_cast<unsigned>(u.profilesPerBurst)));
    const char* rate = Pick({"1", "2", "4"}, changes.waveRateIndex);
    if (rate != nullptr) {
        add(ChangeItem::WaveSeriesRate, "Update Wave Series Rate........ ",
            FormatText("wsr %s", rate));
    }
    // Types 0, 3 and 4 have no command word; change detection never marks them.
    addNamed(ChangeItem::WaveSeriesType, "Update Wave Series Type........ ", "wst %s",
             Pick({"", "P_SERIES", "PUV_SERIES"}, changes.waveType == 0 ? -1 : changes.waveType));
    add(ChangeItem::WaveSeriesLength, "Update Wave Series Length...... ",
        FormatText("wsl %d", static_cast<int>(u.waveSamples)));
    add(ChangeItem::RecordWaveSeriesEvery, "Update Record Wave Series...... ",
        FormatText("rws %d", static_cast<int>(u.waveInterval)));
    out.push_back({"Set Output Format.............. ", "of ascii"});
    out.push_back({"Set AutoSleep.................. ", "AutoSleep on"});
    out.push_back({"Save Setup..................... ", "SaveSetup"});
    return out;
}

int TransmitSystemVariables(link::Link& link, link::ProgressViewFactory& views,
                            const ChangeDetection& changes, const link::CalendarTime& start) {
    if (!link.port.isOpen()) {
        return 0;
    }
    link::Clock& clock = link.clock();
    std::unique_ptr<link::ProgressView> window = views.open();
    link::ProgressView* view = window.get();
    if (view != nullptr) {
        view->setRange(0, changes.changedCount() + 4);
        view->setPosition(0);
        view->setStep(1);
    }
    link::ProgressSteps steps(view, clock, [&] {
        link.port.close();
        if (view != nullptr) {
            view->setPosition(changes.changedCount() + 4);
            view->finish(false);
        }
    });
    const auto expectOk = [&](const std::string& command) {
        return link::SendCommandExpectOk(link, command, 3000) != 0;
    };

    if (!steps.run("Waking up System", 300,
                   [&] { return link::IsServedSystem(link::WakeAndIdentify(link)); })) {
        return 0;
    }
    link::AppendLogText(view, "Transmit System Variables..............\r\n");

    const model::UserSetup& user = changes.userSetup;
    const bool sent =
        (!changes.flags.marked(ChangeItem::DeploymentName) ||
         steps.run("Update Deployment Name", kCommandPauseMs,
                   [&] {
                       return expectOk(model::FormatText("Deployment %s",
                                                         FieldText(user.deploymentName).c_str()));
                   })) &&
        (!changes.flags.marked(ChangeItem::StartDateTime) ||
         steps.run("Update Deployment Start Time", kCommandPauseMs,
                   [&] {
                       return expectOk(model::FormatText("StartDate %d/%02d/%02d", start.year,
                                                         start.month, start.day)) &&
                              expectOk(model::FormatText("StartTime %02d:%02d:%02d", start.hour,
                                                         start.minute, start.second));
                   })) &&
        (!changes.flags.marked(ChangeItem::Comments) ||
         steps.run("Update Comments", kCommandPauseMs, [&] { return SendComments(link, user); }));
    if (!sent) {
        return 0;
    }
    for (const UploadCommand& row : SettingsCommands(changes)) {
        if (!steps.runLabelled(row.label, kCommandPauseMs, [&] { return expectOk(row.command); })) {
            return 0;
        }
    }
    clock.sleepMs(kCommandPauseMs);
    if (view != nullptr) {
        view->setPosition(changes.changedCount() + 4);
        view->finish(true);
    }
    return 1;
}

} // namespace qpx::operations
