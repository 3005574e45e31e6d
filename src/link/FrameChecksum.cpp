#include "link/FrameChecksum.h"

namespace qpx::link {

std::uint16_t FrameChecksum(std::span<const std::uint8_t> data) {
    std::uint16_t sum = 0xA596;
    for (const std::uint8_t byte : data) {
        sum = static_cast<std::uint16_t>(sum + byte);
    }
    return sum;
}

} // namespace qpx::link
