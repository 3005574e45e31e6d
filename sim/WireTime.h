#pragma once

#include <cstdint>

namespace qpx::sim {

// Instrument time in microseconds. A byte at 115200 baud lasts 87 us, so milliseconds would
// round the line rate away; the port that serves the instrument converts to its own clock.
using Micros = std::int64_t;

inline constexpr Micros kMicrosPerMs = 1000;

// Time one byte occupies the line: start bit, 8 data bits, stop bit. 9600 baud gives 1042 us.
constexpr Micros ByteTime(int baudRate) {
    const int baud = baudRate > 0 ? baudRate : 9600;
    return (10'000'000 + baud / 2) / baud;
}

constexpr Micros FromMs(std::int64_t ms) {
    return ms * kMicrosPerMs;
}

// The first whole millisecond at or after `us`.
constexpr std::int64_t CeilMs(Micros us) {
    return us >= 0 ? (us + kMicrosPerMs - 1) / kMicrosPerMs : us / kMicrosPerMs;
}

} // namespace qpx::sim
