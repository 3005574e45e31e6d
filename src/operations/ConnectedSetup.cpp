#include "operations/ConnectedSetup.h"

#include "link/CommandExchange.h"
#include "link/FetchStructure.h"
#include "link/PortFunctions.h"
#include "link/ProgressStep.h"
#include "link/WakeAndIdentify.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"
#include "operations/ChangeDetection.h"
#include "operations/Upload.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace qpx::operations {
namespace {

constexpr int kDownloadSteps = 7;
constexpr int kStepPauseMs = 300;

// Reports a structure that arrived whole but does not decode; the download cannot go on with it.
template <typename T>
bool Take(const model::DecodeResult<T>& decoded, T& into, link::MessageSink& messages) {
    if (!decoded.ok()) {
        messages.showMessage(decoded.error());
        return false;
    }
    into = decoded.value();
    return true;
}

bool ReadWavesOption(link::Link& link, int& option) {
    if (link::SendCommand(link, "enablewaves", '>', true) == 0) {
        return false;
    }
    std::array<char, 80> reply{};
    link::ReadStringTimed(link.port, reply.data(), 79, link::kLineTerminator, 100);
    option = DecodeWavesOption(reply.data());
    return true;
}

// The echo alone does not say the instrument took "deploy": one that answers "ERROR" is not
// recording, and the user must not be told to disconnect it. Reads up to the "OK" (or
// "Default") and no further, so that the output after it is left for the display.
bool ReadDeployAcknowledgement(link::Port& port, std::string& reply) {
    constexpr int kReads = 3;
    constexpr int kReadMs = 1000;
    constexpr std::size_t kMaxReply = 99;
    int quiet = 0;
    while (quiet < kReads && reply.size() < kMaxReply) {
        const int byte = link::ReadCharTimed(port, kReadMs);
        if (byte < 0) {
            ++quiet;
            continue;
        }
        reply.push_back(static_cast<char>(byte));
        if (reply.find("OK") != std::string::npos || reply.find("Default") != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A reply as one line of a record: control characters as "?", at most 60 characters.
std::string PrintableReply(std::string_view reply) {
    std::string text;
    for (const char c : reply.substr(0, 60)) {
        const auto byte = static_cast<unsigned char>(c);
        text.push_back(byte < 0x20 || byte == 0x7F ? '?' : c);
    }
    return text;
}

// Passes every message on and keeps the last, for the record of a failed upload.
class RecordingSink final : public link::MessageSink {
public:
    explicit RecordingSink(link::MessageSink& next) : next_(next) {}
    void showMessage(std::string_view text) override {
        last_ = std::string(text);
        next_.showMessage(text);
    }
    bool askOkCancel(std::string_view text, std::string_view title) override {
        return next_.askOkCancel(text, title);
    }
    void showInformation(std::string_view title, std::string_view text) override {
        next_.showInformation(title, text);
    }
    const std::string& last() const { return last_; }

private:
    link::MessageSink& next_;
    std::string last_;
};

} // namespace

std::string_view OutcomeName(ConnectedSetupOutcome outcome) {
    switch (outcome) {
    case ConnectedSetupOutcome::NoPort:
        return "the port did not open";
    case ConnectedSetupOutcome::DownloadFailed:
        return "the download failed";
    case ConnectedSetupOutcome::Cancelled:
        return "cancelled";
    case ConnectedSetupOutcome::UploadFailed:
        return "the upload failed";
    case ConnectedSetupOutcome::DeployRefused:
        return "the instrument did not take \"deploy\"";
    case ConnectedSetupOutcome::Deployed:
        return "deployed";
    }
    return "";
}

int DecodeWavesOption(std::string_view reply) {
    std::string upper(reply);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto has = [&](std::string_view word) { return upper.find(word) != std::string::npos; };
    if (has("YES") || has("BASIC") || has("FREQUENCY")) {
        return 1;
    }
    return has("DIRECTIONAL") ? 2 : 0;
}

bool DownloadConfiguration(link::Link& link, link::ProgressView* view, int unitSystem,
                           Download& download) {
    planning::PlannerInputs& inputs = download.inputs;
    inputs = planning::PlannerInputs{};
    inputs.unitSystem = unitSystem;
    inputs.planning = false;

    link::ProgressSteps steps(view, link.clock(), [&] { link.port.close(); });
    const auto step = [&](std::string_view name, const std::function<bool()>& action) {
        return steps.run(name, kStepPauseMs, action);
    };

    return step("Waking up System",
                [&] { return link::IsServedSystem(link::WakeAndIdentify(link)); }) &&
           step("Get System Configuration",
                [&] {
                    std::array<std::uint8_t, model::kSystemConfigurationSize> bytes{};
                    int length = 0;
                    if (link::FetchStructure(link, "Get CONF", bytes, &length) == 0) {
                        return false;
                    }
                    return Take(
                        model::CopyReceivedSystemConfiguration(std::span<const std::uint8_t>(
                            bytes.data(), static_cast<std::size_t>(length))),
                        inputs.system, link.messages);
                }) &&
           step("Get Sensor Operation Config",
                [&] {
                    std::array<std::uint8_t, model::kOperationConfigurationWireSize> bytes{};
                    int length = 0;
                    if (link::FetchStructure(link, "Get OPER", bytes, &length) == 0) {
                        link.messages.showMessage(kOperFailedMessage);
                        return false;
                    }
                    // Only what the frame carried: a short frame padded with zeros is no
                    // configuration.
                    return Take(model::WidenOperationConfiguration(
                                    std::span<const std::uint8_t>(bytes.data(),
                                                                  static_cast<std::size_t>(length)),
                                    inputs.system.cpuSoftwareVersion),
                                inputs.operation, link.messages);
                }) &&
           step("Get User Setup",
                [&] {
                    std::array<std::uint8_t, model::kUserSetupSize> bytes{};
                    int length = 0;
                    if (link::FetchStructure(link, "Get USER", bytes, &length) == 0) {
                        return false;
                    }
                    return Take(model::DecodeUserSetup(std::span<const std::uint8_t>(
                                    bytes.data(), static_cast<std::size_t>(length))),
                                inputs.user, link.messages);
                }) &&
           step("Get Waves Option", [&] { return ReadWavesOption(link, inputs.wavesOption); }) &&
           step("Get Recorder Settings", [&] {
               if (ReadRecorderDirectory(link, download.recorder) < 0) {
                   return false;
               }
               inputs.recorder = download.recorder.space();
               return true;
           });
}

ConnectedSetupOutcome RunConnectedSetup(link::Link& link, link::ProgressViewFactory& views,
                                        ConnectedSetupFrontEnd& frontEnd, int unitSystem) {
    link::Port& port = link.port;
    if (!port.isOpen()) {
        return ConnectedSetupOutcome::NoPort;
    }
    // Some 40 kB with the directory's 512 slots: kept off the stack.
    auto download = std::make_unique<Download>();
    {
        std::unique_ptr<link::ProgressView> window = views.open();
        if (window) {
            window->setRange(0, kDownloadSteps);
            window->setPosition(0);
            window->setStep(1);
        }
        const bool downloaded = DownloadConfiguration(link, window.get(), unitSystem, *download);
        if (window) {
            if (downloaded) {
                window->setPosition(kDownloadSteps);
            }
            window->finish(downloaded);
        }
        if (!downloaded) {
            return ConnectedSetupOutcome::DownloadFailed;
        }
    }

    const std::optional<planning::AcceptedPlan> plan = frontEnd.runPlanner(download->inputs, link);
    if (!plan) {
        port.close();
        return ConnectedSetupOutcome::Cancelled;
    }
    const ChangeDetection changes = DetectChanges(*plan, download->inputs.user);
    // The upload and "deploy" go over a link that journals every line and keeps the last
    // message: the same bytes on the wire, and a record of them.
    link::CommandJournal journal;
    RecordingSink messages(link.messages);
    link::Link journalled{port, messages, link.logDirectory, &journal, link.identity};
    UploadRun run;
    const auto finish = [&](ConnectedSetupOutcome outcome, std::string_view fallback) {
        run.outcome = outcome;
        run.sent = journal.entries();
        if (outcome != ConnectedSetupOutcome::Deployed) {
            run.failedStep = journal.step();
            run.failureMessage = messages.last().empty() ? std::string(fallback) : messages.last();
        }
        frontEnd.uploadFinished(run);
        return outcome;
    };
    if (TransmitSystemVariables(journalled, views, changes, plan->start) == 0) {
        port.close();
        return finish(ConnectedSetupOutcome::UploadFailed,
                      "the instrument did not answer as expected");
    }
    journal.stepBegun("Deploy");
    std::string acknowledgement;
    const bool echoed = link::SendCommand(journalled, "deploy", '>', true) != 0;
    if (echoed) {
        journal.awaitReply();
    }
    if (!echoed || !ReadDeployAcknowledgement(port, acknowledgement)) {
        port.close();
        return finish(ConnectedSetupOutcome::DeployRefused,
                      acknowledgement.empty()
                          ? "no \"OK\" after \"deploy\""
                          : "the instrument answered \"" + PrintableReply(acknowledgement) + "\"");
    }
    journal.replied(acknowledgement.find("OK") != std::string::npos ? "OK" : "Default");
    finish(ConnectedSetupOutcome::Deployed, {});
    {
        DeploymentDisplay display(port, changes.userSetup);
        display.showReceived(acknowledgement);
        frontEnd.runDisplay(display);
        display.close();
    }
    link.messages.showInformation(kDisconnectTitle, kDisconnectMessage);
    port.close();
    return ConnectedSetupOutcome::Deployed;
}

} // namespace qpx::operations
