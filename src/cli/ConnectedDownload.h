#pragma once

#include "cli/CliEnvironment.h"
#include "cli/InstrumentConnection.h"
#include "link/MessageSink.h"
#include "operations/ConnectedSetup.h"

namespace qpx::cli {

// An instrument connected and its configuration downloaded, as "Set up a Connected System"
// begins.
struct ConnectedDownload {
    ConnectResult connected;
    operations::Download download;
    int exitCode = kExitLinkFailure; // kExitSuccess when both worked
};

// Connects without a wake-up of its own (the download makes one) and downloads, each step on
// standard error.
ConnectedDownload ConnectAndDownload(CliEnvironment& env, const ConnectionOptions& connection,
                                     int unitSystem, link::MessageSink& messages);

} // namespace qpx::cli
