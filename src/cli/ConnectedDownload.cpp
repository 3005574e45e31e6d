#include "cli/ConnectedDownload.h"

#include "cli/ConsoleProgressView.h"

namespace qpx::cli {

ConnectedDownload ConnectAndDownload(CliEnvironment& env, const ConnectionOptions& connection,
                                     int unitSystem, link::MessageSink& messages) {
    ConnectedDownload result;
    result.connected = ConnectInstrument(env, connection, messages, false);
    if (!result.connected.connection) {
        result.exitCode = result.connected.exitCode;
        return result;
    }
    ConsoleProgressView view(env);
    if (operations::DownloadConfiguration(result.connected.connection->link(), &view, unitSystem,
                                          result.download)) {
        result.exitCode = kExitSuccess;
    }
    return result;
}

} // namespace qpx::cli
