// The least time a qpxctl command can take on the line: the same command run in-process against
// the simulated instrument on virtual time, adding up every pause it takes through the clock
// (the pauses the sequence prescribes, the display's ticks included) and the time its bytes
// spend on the line, 10 bits per byte, each direction counted in full. Prints the floor in ms.
//
//     bench_qpxctl_floor --baud B qpxctl-arguments...
//
// The --port of the arguments is replaced by COM1, the simulated instrument at B baud. The
// --watch seconds are time the user asked for, not waiting: the command runs with --watch 0 and
// the watch is added to the floor whole.

#include "PauseCountingClock.h"
#include "cli/CliEnvironment.h"
#include "cli/QpxCtl.h"
#include "link/Port.h"
#include "link/PortDevice.h"
#include "link/VirtualClock.h"
#include "model/TextFormat.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"
#include "sim/SimulatedPortDevice.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace qpx;

using bench::PauseCountingClock;

// Counts the bytes that cross the line in each direction.
class CountingDevice : public link::PortDevice {
public:
    CountingDevice(std::unique_ptr<link::PortDevice> inner, std::int64_t& sent,
                   std::int64_t& received)
        : inner_(std::move(inner)), sent_(sent), received_(received) {}
    int available() override { return inner_->available(); }
    int read(std::uint8_t* destination, int max) override {
        const int got = inner_->read(destination, max);
        received_ += got > 0 ? got : 0;
        return got;
    }
    int peek() override { return inner_->peek(); }
    int write(const std::uint8_t* source, int count) override {
        const int put = inner_->write(source, count);
        sent_ += put > 0 ? put : 0;
        return put;
    }
    int clearRx() override { return inner_->clearRx(); }
    int clearTx() override { return inner_->clearTx(); }
    int sendBreak(int milliseconds) override { return inner_->sendBreak(milliseconds); }
    bool waitReadable(int timeoutMs) override { return inner_->waitReadable(timeoutMs); }
    bool waitWritten(int timeoutMs) override { return inner_->waitWritten(timeoutMs); }
    void close() override { inner_->close(); }

private:
    std::unique_ptr<link::PortDevice> inner_;
    std::int64_t& sent_;
    std::int64_t& received_;
};

// One simulated instrument behind COM1; every open reaches a fresh one, as qpx-sim keeps
// serving after the host reopens its device.
class BenchPorts : public cli::PortAccess, public link::PortOpener {
public:
    BenchPorts(link::VirtualClock& virtualClock, PauseCountingClock& clock, int baud)
        : virtualClock_(virtualClock), clock_(clock), baud_(baud) {}

    link::PortOpener& opener() override { return *this; }
    cli::PortTarget resolve(std::string_view) override { return {0, "COM1", {}}; }
    link::OpenResult open(const cli::PortTarget&, int baud) override {
        return open(0, baud, 'N', 8, 1);
    }
    link::OpenResult open(int index, int, char, int, int) override {
        link::OpenResult result;
        if (index != 0) {
            return result;
        }
        sim::Scenario scenario = sim::QpxScenario();
        scenario.baudRate = baud_;
        instruments_.push_back(std::make_unique<sim::Instrument>(scenario));
        auto device =
            std::make_unique<sim::SimulatedPortDevice>(*instruments_.back(), virtualClock_);
        result.port = std::make_unique<link::Port>(
            std::make_unique<CountingDevice>(std::move(device), sent, received), clock_);
        result.status = link::kPortOk;
        return result;
    }
    std::string deviceName(int index) override { return index == 0 ? "simulated" : ""; }

    std::int64_t sent = 0;
    std::int64_t received = 0;

private:
    link::VirtualClock& virtualClock_;
    PauseCountingClock& clock_;
    int baud_;
    std::deque<std::unique_ptr<sim::Instrument>> instruments_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::string(argv[1]) != "--baud") {
        std::fputs("usage: bench_qpxctl_floor --baud B qpxctl-arguments...\n", stderr);
        return 2;
    }
    const auto baud = model::ParseInteger(argv[2]);
    if (!baud || *baud < 300 || *baud > 115200) {
        std::fputs("bench_qpxctl_floor: --baud takes 300 to 115200\n", stderr);
        return 2;
    }
    std::vector<std::string> args;
    double watchMs = 0.0;
    for (int i = 3; i < argc; ++i) {
        args.emplace_back(argv[i]);
        if (args.back() == "--watch" && i + 1 < argc) {
            watchMs = model::ParseDouble(argv[i + 1]).value_or(0.0) * 1000.0;
            args.emplace_back("0");
            ++i;
        }
    }
    link::VirtualClock virtualClock;
    PauseCountingClock clock(virtualClock);
    BenchPorts ports(virtualClock, clock, static_cast<int>(*baud));
    std::ostringstream out;
    std::ostringstream err;
    cli::CliEnvironment env{out, err, clock, ports, std::nullopt};
    const int code = cli::RunQpxCtl(args, env);
    if (code != 0) {
        std::fprintf(stderr, "bench_qpxctl_floor: the command ended with %d:\n%s", code,
                     err.str().c_str());
        return 1;
    }
    const double lineMs =
        static_cast<double>(ports.sent + ports.received) * 10000.0 / static_cast<double>(*baud);
    const double floorMs = static_cast<double>(clock.pausedMs) + lineMs + watchMs;
    std::fputs(model::FormatText("%.0f %lld %.0f %lld\n", floorMs,
                                 static_cast<long long>(clock.pausedMs), lineMs,
                                 static_cast<long long>(virtualClock.nowMs()))
                   .c_str(),
               stdout);
    return 0;
}
