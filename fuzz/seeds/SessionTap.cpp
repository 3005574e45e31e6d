#include "fuzz/seeds/SessionTap.h"

#include <array>

namespace qpx::fuzz {

void SessionTap::received(const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        if (!expectedEcho_.empty()) {
            if (bytes[i] == expectedEcho_.front()) {
                expectedEcho_.pop_front();
                continue;
            }
            // Not an echo: the instrument is not echoing (asleep, or in a transfer).
            expectedEcho_.clear();
        }
        if (!segments_.empty()) {
            segments_.back().push_back(bytes[i]);
        }
    }
}

int SessionTap::read(std::uint8_t* destination, int max) {
    const int count = inner_->read(destination, max);
    if (count > 0) {
        received(destination, count);
    }
    return count;
}

int SessionTap::clearRx() {
    std::array<std::uint8_t, 256> dropped{};
    for (;;) {
        const int count = inner_->read(dropped.data(), static_cast<int>(dropped.size()));
        if (count <= 0) {
            break;
        }
        received(dropped.data(), count);
    }
    return inner_->clearRx();
}

int SessionTap::write(const std::uint8_t* source, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint8_t byte = source[i];
        if (echo_) {
            expectedEcho_.push_back(byte);
        }
        if (!echo_) {
            segments_.emplace_back();
        } else if (byte == '\r') {
            const bool lastEcho = !stopEchoAfterLine.empty() && line_ == stopEchoAfterLine;
            line_.clear();
            segments_.emplace_back();
            if (lastEcho) {
                echo_ = false;
            }
        } else if (byte == ' ' && line_.empty() && count == 1) {
            segments_.emplace_back();
        } else {
            line_.push_back(static_cast<char>(byte));
        }
    }
    return inner_->write(source, count);
}

int SessionTap::sendBreak(int milliseconds) {
    expectedEcho_.clear();
    line_.clear();
    segments_.emplace_back();
    return inner_->sendBreak(milliseconds);
}

} // namespace qpx::fuzz
