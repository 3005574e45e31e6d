#pragma once

#include "cli/CliEnvironment.h"
#include "link/Link.h"
#include "link/MessageSink.h"
#include "link/Port.h"
#include "link/SystemType.h"

#include <memory>
#include <optional>
#include <string>

namespace qpx::cli {

struct ConnectionOptions {
    std::string port;
    int baud = 9600;
};

// An identified instrument on an open port, and the link the commands talk over.
class InstrumentConnection {
public:
    InstrumentConnection(std::unique_ptr<link::Port> port, link::MessageSink& messages,
                         const std::optional<std::filesystem::path>& logDirectory, int systemType,
                         std::string where);
    ~InstrumentConnection();
    InstrumentConnection(const InstrumentConnection&) = delete;
    InstrumentConnection& operator=(const InstrumentConnection&) = delete;

    link::Link& link() { return link_; }
    int systemType() const { return systemType_; }
    const std::string& where() const { return where_; }

private:
    std::unique_ptr<link::Port> port_;
    link::Link link_;
    int systemType_;
    std::string where_;
};

struct ConnectResult {
    std::unique_ptr<InstrumentConnection> connection; // none on failure
    int exitCode = kExitLinkFailure;                  // kExitSuccess with a connection
    int systemType = 0;                               // what answered, when the port opened
};

// What "Go!" does, on standard error: "Open Port" with its result, then with `identify`
// "Waking up System" with its result and "QPX found on COM1" (or on the device path); only a QPX
// or a Merovane is kept, anything else closes the port. Without `identify` the port is only
// opened: every operation of the core begins with its own wake-up and identification, so a
// second one here would cost a wake-up's waiting for nothing. The window's 2000 ms pause before
// it hides is not made: no window hides.
// A --port argument that names no port is wrong usage (kExitUsage); a port that does not open or
// an instrument that does not answer is kExitLinkFailure, with the opener's reason.
ConnectResult ConnectInstrument(CliEnvironment& env, const ConnectionOptions& options,
                                link::MessageSink& messages, bool identify);

using link::SystemName;

} // namespace qpx::cli
