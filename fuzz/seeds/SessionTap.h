#pragma once

#include "link/PortDevice.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace qpx::fuzz {

// A backend in front of another that records what the instrument sent, cut into the segments the
// replay device hands out: a new segment at each host event (a CR, a space at the start of a
// line, a break), the instrument's echo of the host's own bytes left out. A session run through
// a tap over the simulator replays the same way from its recording.
class SessionTap final : public link::PortDevice {
public:
    explicit SessionTap(std::unique_ptr<link::PortDevice> inner) : inner_(std::move(inner)) {}

    // As ReplayDevice::stopEchoAfterLine: after this line the instrument echoes nothing.
    std::string stopEchoAfterLine;

    const std::vector<std::vector<std::uint8_t>>& segments() const { return segments_; }

    int available() override { return inner_->available(); }
    int read(std::uint8_t* destination, int max) override;
    int peek() override { return inner_->peek(); }
    int write(const std::uint8_t* source, int count) override;
    int clearRx() override;
    int clearTx() override { return inner_->clearTx(); }
    int sendBreak(int milliseconds) override;
    bool waitReadable(int timeoutMs) override { return inner_->waitReadable(timeoutMs); }
    bool waitWritten(int timeoutMs) override { return inner_->waitWritten(timeoutMs); }
    void close() override { inner_->close(); }

private:
    void received(const std::uint8_t* bytes, int count);

    std::unique_ptr<link::PortDevice> inner_;
    std::vector<std::vector<std::uint8_t>> segments_;
    std::deque<std::uint8_t> expectedEcho_;
    std::string line_;
    bool echo_ = true;
};

} // namespace qpx::fuzz
