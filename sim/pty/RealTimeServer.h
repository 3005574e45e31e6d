#pragma once

#include "sim/CommandLineLog.h"
#include "sim/Instrument.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim {

struct ServerSettings {
    bool exitMidFrame = false;         // the line dies half way through the next frame
    std::optional<std::string> exitAt; // the line dies when this command line arrives
};

// Serves an Instrument on the master of a pseudo-terminal in real time. The instrument's time
// zero is the moment the server is built. Bytes from the host reach the instrument at the line
// rate, one byte time after the other; the instrument's output is written to the master when
// its arrival time has come. The loop sleeps in ppoll until the next byte is due or input
// comes, never spinning; bytes whose time falls within one millisecond are written together.
class RealTimeServer {
public:
    enum class End {
        Stopped,   // `stop` said so
        LineFault, // --exit-at or --exit-mid-frame fired: the caller kills the line
        Failed,    // the master failed
    };

    RealTimeServer(Instrument& instrument, int master, ServerSettings settings);

    // Each transcript line as it arrives: every complete command line, without CR.
    std::function<void(std::string_view)> onLine;
    // Asked after every wake-up; true ends run() with End::Stopped.
    std::function<bool()> stop;

    // `waitMask`: the signal mask while asleep in ppoll (signals the caller blocks elsewhere so
    // that they arrive only there), or null for the current mask.
    End run(const sigset_t* waitMask = nullptr);

    // Output bytes the host's side did not take because its input queue was full.
    std::int64_t overrunBytes() const { return overrun_; }

private:
    struct Incoming {
        Micros at;
        std::uint8_t byte;
    };

    Micros now() const;
    bool readHost(Micros at);
    // Hands the instrument what has reached it by `at`; false when a line fault fired.
    bool deliver(Micros at);
    void reportNewLines();
    void writeDue(Micros at);
    std::optional<Micros> nextWake() const;

    Instrument& instrument_;
    int master_;
    ServerSettings settings_;
    std::chrono::steady_clock::time_point start_;
    std::shared_ptr<bool> frameCut_;
    CommandLineLog log_;
    std::deque<Incoming> incoming_;
    Micros inputFreeAt_ = 0;
    Micros lastWrite_ = -1'000'000;
    bool exitAtFired_ = false;
    bool hungUp_ = false;
    std::vector<std::uint8_t> due_;
    std::int64_t overrun_ = 0;
};

} // namespace qpx::sim
