#pragma once

#include "link/PortDevice.h"
#include "link/VirtualClock.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace qpx::fuzz {

// A serial backend that plays an instrument from a script: it echoes what the host writes (as
// the instrument does at its prompt) and, at each host event, puts the next scripted segment in
// the receive buffer at once. Host events are what an instrument answers: a CR (the end of a
// line, empty or not), a space at the start of a line (the gentle wake-up) and a break. Time is
// virtual: a wait on an empty buffer moves the clock to its deadline and finds nothing.
class ReplayDevice final : public link::PortDevice {
public:
    ReplayDevice(link::VirtualClock& clock, std::vector<std::vector<std::uint8_t>> segments);

    // The instrument stops echoing once it has received this line: a block transfer such as
    // "bdir" answers each byte the host sends (ACK, NAK) with the next segment, not an echo.
    // Empty: echo throughout.
    std::string stopEchoAfterLine;

    // Segments not yet handed out; lines the host completed, without their CR.
    std::size_t segmentsLeft() const { return segments_.size() - next_; }
    const std::vector<std::string>& lines() const { return lines_; }
    const std::vector<std::uint8_t>& written() const { return written_; }

    int available() override;
    int read(std::uint8_t* destination, int max) override;
    int peek() override;
    int write(const std::uint8_t* source, int count) override;
    int clearRx() override;
    int clearTx() override { return 0; }
    int sendBreak(int milliseconds) override;
    bool waitReadable(int timeoutMs) override;
    bool waitWritten(int timeoutMs) override;
    void close() override { closed_ = true; }

private:
    void deliverNext();

    link::VirtualClock& clock_;
    std::vector<std::vector<std::uint8_t>> segments_;
    std::size_t next_ = 0;
    std::deque<std::uint8_t> received_;
    std::string line_;
    std::vector<std::string> lines_;
    std::vector<std::uint8_t> written_;
    bool echo_ = true;
    bool closed_ = false;
};

} // namespace qpx::fuzz
