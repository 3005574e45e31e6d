#include "instrument/PcQpxTransmit.h"

#include "link/CommandExchange.h"
#include "link/FetchStructure.h"
#include "link/ProgressStep.h"
#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "model/OperationConfiguration.h"

#include <array>
#include <memory>
#include <string_view>

namespace qpx::instrument {
namespace {

constexpr int kBarEnd = 6;
constexpr int kAfterWakeMs = 300;
constexpr int kBeforeDisplayMs = 150;

constexpr int kCommandPauseMs = 150;

constexpr std::array<std::string_view, 3> kSettingNames{
    "Update Pulse Length",
    "Update User Pulse Lag",
    "Update User ResLag",
};

// The steps up to the read-back; false at the first that failed.
bool Send(link::Link& link, link::ProgressView* view, PcQpxSettings& settings,
          const PulseSettings& values) {
    link::ProgressSteps steps(view, link.clock());
    if (!steps.run("Waking up System", kAfterWakeMs,
                   [&] { return link::IsServedSystem(link::WakeAndIdentify(link)); })) {
        return false;
    }

    link::AppendLogText(view, "Transmit PC-QPX Settings...............\r\n");
    const auto send = [&](std::string_view name, const std::string& command) {
        return steps.run(name, kCommandPauseMs,
                         [&] { return link::SendCommandExpectOk(link, command, 3000) != 0; });
    };
    const auto commands = PulseSettingCommands(values);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (!send(kSettingNames[i], commands[i])) {
            return false;
        }
    }
    if (!send("Save Setup", "SaveSetup")) {
        return false;
    }

    std::array<std::uint8_t, model::kOperationConfigurationWireSize> received{};
    // A block of the wrong kind is no more use than none.
    // A frame shorter than the structure is refused too, not read as one padded with zeros.
    int length = 0;
    const auto oper =
        link::FetchStructure(link, "Get OPER", received, &length) == 1
            ? std::optional(model::WidenOperationConfiguration(
                  std::span<const std::uint8_t>(received.data(), static_cast<std::size_t>(length)),
                  settings.systemConfiguration().cpuSoftwareVersion))
            : std::nullopt;
    if (!oper || !oper->ok()) {
        link.messages.showMessage(kOperationReadBackFailed);
        // The steps all went through; the read-back's failure ends the last line.
        link::AppendLogText(view, "Failed\r\n");
        return false;
    }
    link.clock().sleepMs(kBeforeDisplayMs);
    settings.applyReadBack(oper->value());
    return true;
}

} // namespace

PcQpxTransmitResult TransmitPcQpxSettings(link::Link* link, link::ProgressViewFactory& progress,
                                          PcQpxSettings& settings, const PulseSettings& values) {
    if (link == nullptr || !link->port.isOpen()) {
        return PcQpxTransmitResult::NoPort;
    }
    const std::unique_ptr<link::ProgressView> view = progress.open();
    if (!view) {
        settings.display();
        return PcQpxTransmitResult::Success;
    }
    view->setRange(0, kBarEnd);
    view->setPosition(0);
    view->setStep(1);

    const bool sent = Send(*link, view.get(), settings, values);
    view->setPosition(kBarEnd);
    // The window holds its full bar for a moment itself.
    view->finish(sent);
    return sent ? PcQpxTransmitResult::Success : PcQpxTransmitResult::Failure;
}

PcQpxUpdateOutcome UpdatePcQpxSettings(PcQpxSettings& settings, link::Link* link,
                                       link::ProgressViewFactory& progress) {
    const PcQpxUpdate checked = settings.update();
    if (checked.message) {
        return {std::nullopt, checked.message};
    }
    if (!checked.value) {
        return {};
    }
    return {TransmitPcQpxSettings(link, progress, settings, *checked.value), std::nullopt};
}

} // namespace qpx::instrument
