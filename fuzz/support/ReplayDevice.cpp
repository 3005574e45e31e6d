#include "fuzz/support/ReplayDevice.h"

#include <algorithm>
#include <utility>

namespace qpx::fuzz {

ReplayDevice::ReplayDevice(link::VirtualClock& clock,
                           std::vector<std::vector<std::uint8_t>> segments)
    : clock_(clock), segments_(std::move(segments)) {}

void ReplayDevice::deliverNext() {
    if (next_ < segments_.size()) {
        const auto& segment = segments_[next_++];
        received_.insert(received_.end(), segment.begin(), segment.end());
    }
}

int ReplayDevice::available() {
    return closed_ ? -1 : static_cast<int>(received_.size());
}

int ReplayDevice::read(std::uint8_t* destination, int max) {
    if (closed_) {
        return -1;
    }
    const int count = std::min(max, static_cast<int>(received_.size()));
    for (int i = 0; i < count; ++i) {
        destination[i] = received_.front();
        received_.pop_front();
    }
    return count;
}

int ReplayDevice::peek() {
    return received_.empty() ? -1 : received_.front();
}

int ReplayDevice::write(const std::uint8_t* source, int count) {
    if (closed_) {
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        const std::uint8_t byte = source[i];
        written_.push_back(byte);
        if (echo_) {
            received_.push_back(byte);
        }
        if (!echo_) {
            // In a block transfer every ACK or NAK is answered with the next block.
            deliverNext();
        } else if (byte == '\r') {
            lines_.push_back(line_);
            const bool lastEcho = !stopEchoAfterLine.empty() && line_ == stopEchoAfterLine;
            line_.clear();
            deliverNext();
            if (lastEcho) {
                echo_ = false;
            }
        } else if (byte == ' ' && line_.empty() && count == 1) {
            deliverNext();
        } else {
            line_.push_back(static_cast<char>(byte));
        }
    }
    return count;
}

int ReplayDevice::clearRx() {
    received_.clear();
    return 0;
}

int ReplayDevice::sendBreak(int milliseconds) {
    clock_.sleepMs(milliseconds);
    line_.clear();
    deliverNext();
    return 0;
}

bool ReplayDevice::waitReadable(int timeoutMs) {
    if (!received_.empty()) {
        return true;
    }
    clock_.sleepMs(timeoutMs);
    return false;
}

bool ReplayDevice::waitWritten(int) {
    return true;
}

} // namespace qpx::fuzz
