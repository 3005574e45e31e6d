#include "SessionReplay.h"

#include "cli/CliEnvironment.h"
#include "cli/QpxCtl.h"
#include "link/VirtualClock.h"
#include "sim/CommandLineLog.h"
#include "sim/Instrument.h"
#include "sim/SimulatedPortDevice.h"
#include "support/TempDir.h"

#include <memory>
#include <sstream>

namespace qpx::test {
namespace {

// Reads the instrument's new command lines after every call the host makes. qpx-sim reads
// them after every byte; between two host calls the instrument sees at most one wake-up string
// and no line around it, so the order comes out the same.
class LoggedDevice final : public link::PortDevice {
public:
    LoggedDevice(std::unique_ptr<link::PortDevice> inner, sim::CommandLineLog& log,
                 std::string& transcript)
        : inner_(std::move(inner)), log_(log), transcript_(transcript) {}

    int available() override { return noted(inner_->available()); }
    int read(std::uint8_t* destination, int max) override {
        return noted(inner_->read(destination, max));
    }
    int peek() override { return noted(inner_->peek()); }
    int write(const std::uint8_t* source, int count) override {
        return noted(inner_->write(source, count));
    }
    int clearRx() override { return noted(inner_->clearRx()); }
    int clearTx() override { return noted(inner_->clearTx()); }
    int sendBreak(int milliseconds) override { return noted(inner_->sendBreak(milliseconds)); }
    bool waitReadable(int timeoutMs) override { return noted(inner_->waitReadable(timeoutMs)); }
    bool waitWritten(int timeoutMs) override { return noted(inner_->waitWritten(timeoutMs)); }
    void close() override {
        inner_->close();
        note();
    }

private:
    template <typename T>
    T noted(T result) {
        note();
        return result;
    }
    void note() {
        for (const sim::CommandLineLog::Entry& entry : log_.take()) {
            transcript_ += entry.text;
            transcript_ += '\n';
        }
    }

    std::unique_ptr<link::PortDevice> inner_;
    sim::CommandLineLog& log_;
    std::string& transcript_;
};

// COM1 is the one instrument, as qpx-sim --exec hands its device on as COM1; COM2 to COM8
// have nothing behind them.
class SessionPorts final : public cli::PortAccess, public link::PortOpener {
public:
    SessionPorts(const sim::Scenario& scenario, link::VirtualClock& clock)
        : clock_(clock), instrument_(scenario), log_(instrument_) {}

    const std::string& transcript() const { return transcript_; }

    link::PortOpener& opener() override { return *this; }
    cli::PortTarget resolve(std::string_view argument) override {
        cli::PortTarget target;
        if (argument.size() == 4 && argument.starts_with("COM") && argument[3] >= '1' &&
            argument[3] <= '8') {
            target.index = argument[3] - '1';
            target.device = std::string(argument);
        } else {
            target.error = "A session names its port COM1, not \"" + std::string(argument) + "\".";
        }
        return target;
    }
    link::OpenResult open(const cli::PortTarget& target, int baud) override {
        return open(target.index, baud, 'N', 8, 1);
    }

    // The host's baud setting does not matter, as on a pseudo-terminal: the instrument keeps
    // the line rate of its scenario.
    link::OpenResult open(int index, int, char, int, int) override {
        link::OpenResult result;
        if (index != 0) {
            result.message = "nothing behind this port";
            return result;
        }
        auto device = std::make_unique<sim::SimulatedPortDevice>(instrument_, clock_, &record_);
        result.port = std::make_unique<link::Port>(
            std::make_unique<LoggedDevice>(std::move(device), log_, transcript_), clock_);
        result.status = link::kPortOk;
        return result;
    }
    std::string deviceName(int index) override { return index == 0 ? "qpx-sim" : std::string(); }

private:
    link::VirtualClock& clock_;
    sim::Instrument instrument_;
    sim::CommandLineLog log_;
    sim::LineRecord record_;
    std::string transcript_;
};

} // namespace

SessionRun ReplaySession(const sim::Scenario& scenario, const std::vector<std::string>& args) {
    sim::Scenario served = scenario;
    // qpx-sim does the same: a pseudo-terminal carries no break, so a sleeping instrument there
    // wakes on the wake-up string only, and the replay must not wake it earlier.
    if (served.sleeping) {
        served.wakesOnBreak = false;
    }
    link::VirtualClock clock;
    SessionPorts ports(served, clock);
    TempDir logDir;
    std::ostringstream out;
    std::ostringstream err;
    cli::CliEnvironment env{out, err, clock, ports, logDir.path()};
    TempDir folder; // deployment records are written here, named relative to it
    env.currentFolder = folder.path();

    SessionRun run;
    run.exitCode = cli::RunQpxCtl(args, env);
    run.transcript = ports.transcript();
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace qpx::test
