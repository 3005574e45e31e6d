#include "cli/InstrumentConnection.h"

#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"

namespace qpx::cli {

InstrumentConnection::InstrumentConnection(std::unique_ptr<link::Port> port,
                                           link::MessageSink& messages,
                                           const std::optional<std::filesystem::path>& logDirectory,
                                           int systemType, std::string where)
    : port_(std::move(port)), link_{*port_, messages, logDirectory}, systemType_(systemType),
      where_(std::move(where)) {}

InstrumentConnection::~InstrumentConnection() {
    port_->close();
}

std::string SystemName(int systemType) {
    switch (systemType) {
    case link::kSystemQpx:
        return "QPX";
    case link::kSystemWqs:
        return "WQS";
    case link::kSystemClv:
        return "CLV";
    case link::kSystemRill:
        return "Rill";
    case link::kSystemClvReportingWqs:
        return "CLV reporting WQS";
    case link::kSystemZeb:
        return "ZEB";
    case link::kSystemMerovane:
        return "Merovane";
    default:
        return "no instrument";
    }
}

ConnectResult ConnectInstrument(CliEnvironment& env, const ConnectionOptions& options,
                                link::MessageSink& messages, bool identify) {
    ConnectResult result;
    const PortTarget target = env.ports.resolve(options.port);
    if (!target.error.empty()) {
        env.err << target.error << '\n';
        result.exitCode = kExitUsage;
        return result;
    }
    env.err << "Open Port........................ " << std::flush;
    link::OpenResult opened = env.ports.open(target, options.baud);
    if (!opened.port || opened.port->clearRx() < 0) {
        env.err << "Failed\n";
        if (!opened.message.empty()) {
            env.err << opened.message << '\n';
        }
        env.err << std::flush;
        if (opened.port) {
            opened.port->close();
        }
        return result;
    }
    env.err << "Success\n" << std::flush;
    std::unique_ptr<link::Port> port = std::move(opened.port);
    if (!identify) {
        result.connection = std::make_unique<InstrumentConnection>(
            std::move(port), messages, env.logDirectory, 0, target.name());
        result.exitCode = kExitSuccess;
        return result;
    }
    env.err << "Waking up System................. " << std::flush;
    env.errLineOpen = true;

    link::Link probe{*port, messages, env.logDirectory};
    result.systemType = link::WakeAndIdentify(probe);
    if (env.errLineOpen) {
        env.errLineOpen = false;
    } else {
        env.err << "Waking up System................. "; // a message ended the label's line
    }
    if (!link::IsServedSystem(result.systemType)) {
        env.err << "Failed\n";
        if (result.systemType > 0) {
            env.err << "A " << SystemName(result.systemType) << " answered on " << target.name()
                    << "; only a QPX or a Merovane can be set up.\n";
        } else {
            env.err << "No QPX or Merovane answered on " << target.name() << ".\n";
        }
        env.err << std::flush;
        port->close();
        return result;
    }
    env.err << "Success\n"
            << SystemName(result.systemType) << " found on " << target.name() << '\n'
            << std::flush;
    result.connection = std::make_unique<InstrumentConnection>(
        std::move(port), messages, env.logDirectory, result.systemType, target.name());
    result.exitCode = kExitSuccess;
    return result;
}

} // namespace qpx::cli
