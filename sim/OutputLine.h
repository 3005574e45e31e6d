#pragma once

#include "sim/WireTime.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace qpx::sim {

// The instrument's transmit side: bytes leave one after the other at the line rate, in the
// order they were queued, never before the time asked for. Each byte is stamped with the time it
// has fully arrived at the far end.
class OutputLine {
public:
    explicit OutputLine(Micros byteTime) : byteTime_(byteTime) {}

    // Queues one byte to start no earlier than `earliest`; returns its arrival time.
    Micros send(std::uint8_t byte, Micros earliest);
    Micros send(std::span<const std::uint8_t> bytes, Micros earliest);

    // When the last queued byte will have arrived (the line is free from then on).
    Micros freeAt() const { return freeAt_; }
    Micros byteTime() const { return byteTime_; }

    // Arrival time of the next byte not yet taken.
    std::optional<Micros> nextArrival() const;
    // Moves every byte that has arrived by `now` to the end of `out`; returns how many.
    std::size_t take(Micros now, std::vector<std::uint8_t>& out);
    // Everything not yet arrived is lost (the line went dead).
    void drop() { queue_.clear(); }

private:
    struct TimedByte {
        Micros at;
        std::uint8_t value;
    };

    Micros byteTime_;
    Micros freeAt_ = 0;
    std::deque<TimedByte> queue_;
};

} // namespace qpx::sim
