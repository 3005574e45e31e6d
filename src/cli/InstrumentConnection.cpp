#include "cli/InstrumentConnection.h"

#include "cli/ConsoleProgressView.h"
#include "operations/Connection.h"

#include <functional>
#include <string>

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

namespace {

// The connect steps on standard error. A message shown while a step runs ends the step's line,
// so the label is written again before its result.
class ConnectLog {
public:
    explicit ConnectLog(CliEnvironment& env) : env_(env), view_(env) {}

    void operator()(std::string_view text) {
        if (!text.empty() && text.back() != '\n') {
            label_ = text;
        } else if (!label_.empty()) {
            if (!env_.errLineOpen) {
                view_.appendText(label_);
            }
            label_.clear();
        }
        view_.appendText(text);
    }

private:
    CliEnvironment& env_;
    ConsoleProgressView view_;
    std::string label_;
};

} // namespace

ConnectResult ConnectInstrument(CliEnvironment& env, const ConnectionOptions& options,
                                link::MessageSink& messages, bool identify) {
    ConnectResult result;
    const PortTarget target = env.ports.resolve(options.port);
    if (!target.error.empty()) {
        env.err << target.error << '\n';
        result.exitCode = kExitUsage;
        return result;
    }
    ConnectLog log(env);
    operations::FoundInstrument found = operations::FindInstrument(
        [&] { return env.ports.open(target, options.baud); }, target.name(), identify, messages,
        env.logDirectory, std::ref(log));
    result.systemType = found.systemType;
    if (!found.port) {
        if (!found.portOpened) {
            if (!found.openMessage.empty()) {
                env.err << found.openMessage << '\n';
            }
        } else if (result.systemType > 0) {
            env.err << "A " << SystemName(result.systemType) << " answered on " << target.name()
                    << "; only a QPX or a Merovane can be set up.\n";
        } else {
            env.err << "No QPX or Merovane answered on " << target.name() << ".\n";
        }
        env.err << std::flush;
        return result;
    }
    result.connection = std::make_unique<InstrumentConnection>(
        std::move(found.port), messages, env.logDirectory, result.systemType, target.name());
    result.exitCode = kExitSuccess;
    return result;
}

} // namespace qpx::cli
