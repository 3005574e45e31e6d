#include "fuzz/Harnesses.h"

namespace qpx::fuzz {

// The frame harness with the checksum put right before the frame is replayed.
int StructureFrameRepairedFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    return StructureFrameFuzz::Run({data, size}, true);
}

} // namespace qpx::fuzz
