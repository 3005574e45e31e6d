#include "fuzz/support/ChecksumRepair.h"

#include "link/FrameChecksum.h"

#include <algorithm>
#include <span>

namespace qpx::fuzz {

std::size_t RepairBlockAt(std::vector<std::uint8_t>& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) {
        return bytes.size();
    }
    const std::size_t length = bytes[at] | (bytes[at + 1] << 8);
    if (length < 4 || at + length > bytes.size()) {
        return bytes.size();
    }
    const std::span<const std::uint8_t> data(bytes.data() + at + 2, length - 4);
    const std::uint16_t sum = link::FrameChecksum(data);
    bytes[at + length - 2] = static_cast<std::uint8_t>(sum & 0xFF);
    bytes[at + length - 1] = static_cast<std::uint8_t>(sum >> 8);
    return at + length;
}

void RepairStructureFrame(std::vector<std::uint8_t>& reply) {
    static constexpr std::uint8_t kOk[] = {'O', 'K'};
    auto ok = std::search(reply.begin(), reply.end(), std::begin(kOk), std::end(kOk));
    if (ok == reply.end()) {
        return;
    }
    auto lineEnd = std::find(ok, reply.end(), static_cast<std::uint8_t>('\n'));
    if (lineEnd == reply.end()) {
        return;
    }
    auto at = static_cast<std::size_t>(lineEnd - reply.begin()) + 1;
    for (int leadIn = 0; leadIn < 4 && at < reply.size() && reply[at] == 0xE8; ++leadIn) {
        ++at;
    }
    RepairBlockAt(reply, at);
}

void RepairRecorderBlocks(std::vector<std::uint8_t>& reply) {
    const auto start = std::find(reply.begin(), reply.end(), static_cast<std::uint8_t>('c'));
    if (start != reply.end()) {
        RepairBlocksFrom(reply, static_cast<std::size_t>(start - reply.begin()) + 1);
    }
}

void RepairBlocksFrom(std::vector<std::uint8_t>& bytes, std::size_t at) {
    while (at < bytes.size()) {
        at = RepairBlockAt(bytes, at);
    }
}

} // namespace qpx::fuzz
