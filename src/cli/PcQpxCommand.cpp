#include "cli/Commands.h"
#include "cli/ConnectedDownload.h"
#include "cli/ConsoleMessageSink.h"
#include "cli/ConsoleProgressView.h"
#include "instrument/PcQpxSettings.h"
#include "instrument/PcQpxTransmit.h"
#include "operations/ConnectedSetup.h"

#include <array>

namespace qpx::cli {
namespace {

struct PulseValue {
    std::string_view key;
    void (instrument::PcQpxSettings::*apply)(std::string);
};
constexpr std::array<PulseValue, 3> kPulseValues{{
    {"pulse-length", &instrument::PcQpxSettings::pulseLengthChanged},
    {"pulse-lag", &instrument::PcQpxSettings::userPulseLagChanged},
    {"res-lag", &instrument::PcQpxSettings::userResLagChanged},
}};

void AddPcQpxSection(Report& report, const instrument::PcQpxSettings& settings) {
    using namespace instrument;
    auto& section = report.section("pcqpx", std::string(kPcQpxSettingsTitle));
    section.add("pulse-length", std::string(settings.label(kPulseLengthLabelId)),
                settings.pulseLengthText());
    section.add("pulse-lag", std::string(settings.label(kUserPulseLagLabelId)),
                settings.userPulseLagText());
    section.add("res-lag", std::string(settings.label(kUserResLagLabelId)),
                settings.userResLagText());
    section.add("system-lag", std::string(settings.label(kSystemLagLabelId)),
                settings.systemLagText());
    section.add("system-res-lag", std::string(settings.label(kSystemResLagLabelId)),
                settings.systemResLagText());
    section.add("max-vertical-velocity", std::string(settings.label(kMaxVerticalVelLabelId)),
                settings.maxVerticalVelocityText());
    section.add("max-horizontal-velocity", std::string(settings.label(kMaxHorizontalVelLabelId)),
                settings.maxHorizontalVelocityText());
    section.add("min-corr-level", std::string(kMinCorrLevelLabel), settings.minCorrLevelText());
}

// Connects, downloads the structures the dialog is opened on and runs `body` on the dialog.
template <typename Body>
int WithPcQpxSettings(CliEnvironment& env, const ConnectionOptions& connection,
                      const OutputOptions& output, Body body) {
    ConsoleMessageSink messages(env);
    ConnectedDownload connected = ConnectAndDownload(env, connection, output.unitSystem, messages);
    if (connected.exitCode != kExitSuccess) {
        return connected.exitCode;
    }
    const operations::Download& download = connected.download;
    link::Link& link = connected.connected.connection->link();
    if (download.inputs.user.pulseCoherentMode == 0) {
        env.err << "This system is not a PC-QPX: it has no pulse settings.\n";
        return kExitRefused;
    }
    instrument::PcQpxSettings settings(output.unitSystem, download.inputs.system,
                                       download.inputs.user, download.inputs.operation);
    const int code = body(settings, link);
    if (code == kExitSuccess) {
        Report report;
        AddPcQpxSection(report, settings);
        PrintReport(env, report, output.json);
    }
    return code;
}

} // namespace

int RunPcQpxShow(CliEnvironment& env, const ConnectionOptions& connection,
                 const OutputOptions& output) {
    return WithPcQpxSettings(env, connection, output,
                             [](instrument::PcQpxSettings&, link::Link&) { return kExitSuccess; });
}

int RunPcQpxSet(CliEnvironment& env, const ConnectionOptions& connection,
                const OutputOptions& output, const std::vector<std::string>& values) {
    // Checked before anything is sent: each NAME=VALUE must name one of the three inputs.
    std::vector<std::pair<const PulseValue*, std::string>> edits;
    for (const auto& arg : values) {
        const auto equals = arg.find('=');
        const PulseValue* found = nullptr;
        for (const auto& value : kPulseValues) {
            if (equals != std::string::npos && arg.compare(0, equals, value.key) == 0) {
                found = &value;
            }
        }
        if (found == nullptr) {
            env.err << "\"" << arg << "\" is not pulse-length=V, pulse-lag=V or res-lag=V.\n";
            return kExitUsage;
        }
        edits.emplace_back(found, arg.substr(equals + 1));
    }
    if (edits.empty()) {
        env.err << "pcqpx set needs at least one of pulse-length=V, pulse-lag=V, res-lag=V.\n";
        return kExitUsage;
    }
    ConsoleProgressViews views(env);
    return WithPcQpxSettings(
        env, connection, output, [&](instrument::PcQpxSettings& settings, link::Link& link) {
            for (const auto& [value, text] : edits) {
                (settings.*(value->apply))(text);
            }
            const auto outcome = instrument::UpdatePcQpxSettings(settings, &link, views);
            if (outcome.message) {
                env.err << outcome.message->text << '\n';
                return kExitRefused;
            }
            return outcome.value == instrument::PcQpxTransmitResult::Success ? kExitSuccess
                                                                             : kExitLinkFailure;
        });
}

} // namespace qpx::cli
