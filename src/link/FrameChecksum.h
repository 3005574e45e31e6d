#pragma once

#include <cstdint>
#include <span>

namespace qpx::link {

// The checksum of structure frames and recorder blocks: 0xA596 plus the sum of the bytes taken as
// unsigned values, modulo 65536.
std::uint16_t FrameChecksum(std::span<const std::uint8_t> data);

} // namespace qpx::link
