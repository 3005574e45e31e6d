#pragma once

#include "link/PortDevice.h"
#include "link/VirtualClock.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::test {

// How the scripted instrument echoes one command line.
enum class Echo {
    Correct,
    Wrong, // the first character comes back as '#'
    None,  // nothing comes back, and no answer either
};

// A serial backend on the virtual clock with exact control over what arrives when. Raw bytes can
// be scheduled at given times; on top of that it plays a minimal instrument: while awake it
// echoes every byte, answers a space at the start of a line with '>', and after the echo of the
// CR that ends a line sends the answer to that line (by default LF, then the reply from
// `replies`, or just '>' for an empty line or an unknown command).
class ScriptedDevice final : public link::PortDevice {
public:
    explicit ScriptedDevice(link::VirtualClock& clock) : clock_(clock) {}

    void arriveAt(std::int64_t atMs, std::string_view bytes);
    void arriveIn(int delayMs, std::string_view bytes) {
        arriveAt(clock_.nowMs() + delayMs, bytes);
    }
    // Bytes scheduled or waiting, not yet read or cleared.
    std::size_t pending() const { return arrivals_.size(); }

    // The instrument.
    bool awake = true;
    int echoDelayMs = 1;
    std::vector<Echo> echoPlan; // one entry per non-empty line; Correct once used up
    std::map<std::string, std::string, std::less<>> replies; // line -> what follows its LF
    // Replaces the default answer: everything sent after the echoed CR of `line`.
    std::function<std::string(const std::string& line)> answer;
    // Called after a break has ended, and after every write with the bytes written.
    std::function<void()> onBreak;
    std::function<void(std::string_view)> onWrite;

    // Faults: the n-th call (1-based) and every later one fails; 0 never.
    int clearRxFailsFrom = 0;
    int clearTxFailsFrom = 0;
    bool breakFails = false;
    std::function<bool(std::string_view)> writeFails;

    // What happened.
    std::string written;
    std::vector<std::int64_t> writeTimes; // one per byte written
    std::vector<std::int64_t> breakTimes;
    std::vector<std::string> lines; // every non-empty line received, without its CR
    int clearRxCalls = 0;
    int clearTxCalls = 0;
    int waitReadableCalls = 0;
    bool closed = false;

    // PortDevice
    int available() override;
    int read(std::uint8_t* destination, int max) override;
    int peek() override;
    int write(const std::uint8_t* source, int count) override;
    int clearRx() override;
    int clearTx() override;
    int sendBreak(int milliseconds) override;
    bool waitReadable(int timeoutMs) override;
    bool waitWritten(int timeoutMs) override;
    void close() override { closed = true; }

private:
    struct Arrival {
        std::int64_t atMs;
        std::uint8_t byte;
    };

    void receive(std::uint8_t byte);
    std::string answerTo(const std::string& line);

    link::VirtualClock& clock_;
    std::deque<Arrival> arrivals_; // in order of arrival
    std::string line_;
    bool inLine_ = false;
    Echo lineEcho_ = Echo::Correct;
    std::size_t nextEcho_ = 0;
};

} // namespace qpx::test
