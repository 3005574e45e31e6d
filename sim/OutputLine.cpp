#include "sim/OutputLine.h"

#include <algorithm>

namespace qpx::sim {

Micros OutputLine::send(std::uint8_t byte, Micros earliest) {
    const Micros at = std::max(earliest, freeAt_) + byteTime_;
    queue_.push_back({at, byte});
    freeAt_ = at;
    return at;
}

Micros OutputLine::send(std::span<const std::uint8_t> bytes, Micros earliest) {
    Micros at = std::max(earliest, freeAt_);
    for (const std::uint8_t byte : bytes) {
        at = send(byte, earliest);
    }
    return at;
}

std::optional<Micros> OutputLine::nextArrival() const {
    if (queue_.empty()) {
        return std::nullopt;
    }
    return queue_.front().at;
}

std::size_t OutputLine::take(Micros now, std::vector<std::uint8_t>& out) {
    std::size_t count = 0;
    while (!queue_.empty() && queue_.front().at <= now) {
        out.push_back(queue_.front().value);
        queue_.pop_front();
        ++count;
    }
    return count;
}

} // namespace qpx::sim
