#pragma once

#include "link/Port.h"
#include "sim/SimulatedLine.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::test {

// Puts `text` on the line as the host would, all at once.
inline void Send(link::Port& port, std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    port.writeBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

struct TimedText {
    std::string text;
    std::vector<std::int64_t> arrivalMs; // one per byte of text, when it could first be read
};

// Everything that arrives until the line has been quiet for `quietMs`.
inline TimedText CollectTimed(link::Port& port, int quietMs = 100) {
    TimedText out;
    while (port.waitReadable(quietMs)) {
        for (int byte = port.readChar(); byte >= 0; byte = port.readChar()) {
            out.text.push_back(static_cast<char>(byte));
            out.arrivalMs.push_back(port.clock().nowMs());
        }
    }
    return out;
}

inline std::string Collect(link::Port& port, int quietMs = 100) {
    return CollectTimed(port, quietMs).text;
}

inline std::string Exchange(sim::SimulatedLine& line, std::string_view text, int quietMs = 100) {
    Send(line.port(), text);
    return Collect(line.port(), quietMs);
}

// The bytes as a string, for comparing binary output.
inline std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace qpx::test
