#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qpx::fuzz {

// Writes the right checksum into the block that starts at `at` (u16 length L counting itself and
// the checksum, L - 4 data bytes, u16 checksum) when the whole block lies inside `bytes`.
// Returns where the next block would start, or `bytes.size()` when there is no whole block.
std::size_t RepairBlockAt(std::vector<std::uint8_t>& bytes, std::size_t at);

// The structure frame of a reply: behind the first "OK" line, after up to four 0xE8 lead-in
// bytes.
void RepairStructureFrame(std::vector<std::uint8_t>& reply);

// The blocks of the reply to "bdir": every block behind the first start character 'c'.
void RepairRecorderBlocks(std::vector<std::uint8_t>& reply);
// Every whole block from `at` on, one after the other (the answer to an ACK or NAK).
void RepairBlocksFrom(std::vector<std::uint8_t>& bytes, std::size_t at);

} // namespace qpx::fuzz
