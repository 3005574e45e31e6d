#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "model/TextFormat.h"

namespace qpx::cli {

int RunIdentify(CliEnvironment& env, const ConnectionOptions& connection, bool json) {
    ConsoleMessageSink messages(env);
    const ConnectResult connected = ConnectInstrument(env, connection, messages, true);
    if (!connected.connection) {
        return connected.exitCode;
    }
    Report report;
    auto& system = report.section("system", "System");
    system.add("system", "System:", std::string(SystemName(connected.systemType)));
    system.add("system-type", "System Type:", model::FormatText("%d", connected.systemType));
    system.add("port", "Port:", connected.connection->where());
    PrintReport(env, report, json);
    return kExitSuccess;
}

} // namespace qpx::cli
