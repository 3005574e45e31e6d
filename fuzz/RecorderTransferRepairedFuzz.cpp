#include "fuzz/Harnesses.h"

namespace qpx::fuzz {

// The recorder harness with every block's checksum put right before it is replayed.
int RecorderTransferRepairedFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    return RecorderTransferFuzz::Run({data, size}, true);
}

} // namespace qpx::fuzz
