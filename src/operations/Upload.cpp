#include "operations/Upload.h"

#include "link/CommandExchange.h"
#include "link/PortFunctions.h"
#include "link/ProgressStep.h"
#include "link/WakeAndIdentify.h"
#include "model/FieldText.h"
#include "model/TextFormat.h"
#include "operations/SettingsTable.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace qpx::operations {
namespace {

constexpr int kCommandPauseMs = 150;
constexpr int kCommentPauseMs = 500;
constexpr int kCommentReadSize = 300;

// "Comments" opens a three-line dialogue without a prompt, so it cannot go through the echoed
// command exchange. Every line ends with a CR: without it the instrument never takes the line.
bool SendComments(link::Link& link, const model::UserSetup& user) {
    link::Port& port = link.port;
    link::Clock& clock = link.clock();
    std::array<char, kCommentReadSize + 1> reply{};
    // The dialogue's lines have no echo check; the journal still lists each with the time.
    const auto journal = [&](std::string_view line) {
        if (link.journal != nullptr) {
            link.journal->begin(line, clock.localTime(), false);
        }
    };
    const auto sent = [&] {
        if (link.journal != nullptr) {
            link.journal->attempted(false);
        }
    };
    journal("Comments");
    if (link::WriteStringTimed(port, "Comments\r", link::kLineTerminator, 500) < 0) {
        return false;
    }
    sent();
    link::ReadStringTimed(port, reply.data(), kCommentReadSize, link::kLineTerminator, 500);
    link::ReadStringTimed(port, reply.data(), kCommentReadSize, link::kLineTerminator, 500);
    clock.sleepMs(kCommentPauseMs);
    std::string lastEcho;
    std::string lastComment;
    for (const auto* comment : {&user.comment1, &user.comment2, &user.comment3}) {
        lastComment = model::FieldText(*comment);
        journal(lastComment);
        if (link::WriteStringTimed(port, lastComment + "\r", link::kLineTerminator, 1000) < 0) {
            return false;
        }
        sent();
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
    const bool ok = (lastEcho + reply.data()).find("OK") != std::string::npos;
    if (link.journal != nullptr) {
        link.journal->awaitReply();
        if (ok) {
            link.journal->replied("OK");
        }
    }
    return ok;
}

} // namespace

std::string DeploymentNameCommand(const model::UserSetup& user) {
    return model::FormatText("Deployment %s",
                             std::string(model::FieldText(user.deploymentName)).c_str());
}

std::array<std::string, 2> StartCommands(const link::CalendarTime& start) {
    return {model::FormatText("StartDate %d/%02d/%02d", start.year, start.month, start.day),
            model::FormatText("StartTime %02d:%02d:%02d", start.hour, start.minute, start.second)};
}

std::vector<UploadCommand> SettingsCommands(const ChangeDetection& changes) {
    std::vector<UploadCommand> out;
    for (const SettingRow* row : CommandRows()) {
        if (!changes.flags.marked(*row->item)) {
            continue;
        }
        if (std::optional<std::string> command = row->command(changes)) {
            out.push_back(
                {link::StepLabel(row->stepName), std::move(*command), std::string(row->stepName)});
        }
    }
    out.push_back({link::StepLabel("Set Output Format"), "of ascii", "Set Output Format"});
    out.push_back({link::StepLabel("Set AutoSleep"), "AutoSleep on", "Set AutoSleep"});
    out.push_back({link::StepLabel("Save Setup"), "SaveSetup", "Save Setup"});
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
    const auto noteStep = [&](std::string_view name) {
        if (link.journal != nullptr) {
            link.journal->stepBegun(name);
        }
    };
    const auto run = [&](std::string_view name, int pauseMs, const std::function<bool()>& action) {
        noteStep(name);
        return steps.run(name, pauseMs, action);
    };

    if (!run("Waking up System", 300,
             [&] { return link::IsServedSystem(link::WakeAndIdentify(link)); })) {
        return 0;
    }
    link::AppendLogText(view, "Transmit System Variables..............\r\n");

    const model::UserSetup& user = changes.userSetup;
    const bool sent =
        (!changes.flags.marked(ChangeItem::DeploymentName) ||
         run("Update Deployment Name", kCommandPauseMs,
             [&] { return expectOk(DeploymentNameCommand(user)); })) &&
        (!changes.flags.marked(ChangeItem::StartDateTime) ||
         run("Update Deployment Start Time", kCommandPauseMs,
             [&] {
                 const auto [date, time] = StartCommands(start);
                 return expectOk(date) && expectOk(time);
             })) &&
        (!changes.flags.marked(ChangeItem::Comments) ||
         run("Update Comments", kCommandPauseMs, [&] { return SendComments(link, user); }));
    if (!sent) {
        return 0;
    }
    for (const UploadCommand& row : SettingsCommands(changes)) {
        noteStep(row.step);
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
