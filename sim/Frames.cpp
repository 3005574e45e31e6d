#include "sim/Frames.h"

namespace qpx::sim {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

} // namespace

std::uint16_t FrameChecksum(std::span<const std::uint8_t> data) {
    std::uint32_t sum = kChecksumSeed;
    for (const std::uint8_t byte : data) {
        sum += byte;
    }
    return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> data, FrameOptions options) {
    std::vector<std::uint8_t> frame;
    frame.reserve(data.size() + 4 +
                  static_cast<std::size_t>(options.leadIn > 0 ? options.leadIn : 0));
    for (int i = 0; i < options.leadIn; ++i) {
        frame.push_back(kFrameLeadInByte);
    }
    // Both fields wrap on 16 bits like the instrument's own arithmetic.
    PutU16(frame, static_cast<std::uint32_t>(static_cast<std::int64_t>(data.size()) + 4 +
                                             options.lengthDelta));
    frame.insert(frame.end(), data.begin(), data.end());
    PutU16(frame, static_cast<std::uint32_t>(FrameChecksum(data) + options.checksumDelta));
    return frame;
}

} // namespace qpx::sim
