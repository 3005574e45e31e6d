#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qpx::sim {

// Binary frames as the instrument sends them after "Get CONF", "Get USER" and "Get OPER" (and
// the blocks of a recorder transfer, which have no lead-in): a u16 length that counts itself,
// the data and the checksum, then the data, then the checksum, all little-endian.

inline constexpr std::uint16_t kChecksumSeed = 0xA596;
inline constexpr std::uint8_t kFrameLeadInByte = 0xE8;

// 0xA596 plus every data byte, modulo 65536. Written here rather than taken from the link layer on
// purpose: the instrument side must not share a fault with the reader it is testing.
std::uint16_t FrameChecksum(std::span<const std::uint8_t> data);

struct FrameOptions {
    int leadIn = 0;        // 0xE8 bytes in front of the length
    int lengthDelta = 0;   // a wrong length field (fault injection)
    int checksumDelta = 0; // a wrong checksum (fault injection)
};

std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> data, FrameOptions options = {});

} // namespace qpx::sim
