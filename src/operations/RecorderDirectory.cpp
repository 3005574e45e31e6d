#include "link/CommandExchange.h"
#include "link/PortFunctions.h"
#include "model/TextFormat.h"
#include "operations/Recorder.h"

#include <algorithm>

namespace qpx::operations {
namespace {

constexpr std::size_t kCapacityOffset = 74;
constexpr std::size_t kNameSize = 13;
constexpr int kYearOrigin = 1980;
constexpr int kBdirTimeoutMs = 3000;
constexpr int kStartPauseMs = 500;
constexpr std::size_t kUsedSpaceSize = 2;
constexpr std::uint32_t kUsedSpaceUnit = 65536;

// Reads little-endian fields out of a block; a byte past its end reads as 0.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint32_t u8(std::size_t offset) const {
        return offset < bytes_.size() ? bytes_[offset] : 0u;
    }
    std::uint32_t u16(std::size_t offset) const { return u8(offset) | (u8(offset + 1) << 8); }
    std::uint32_t u32(std::size_t offset) const { return u16(offset) | (u16(offset + 2) << 16); }

private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace

std::uint32_t RecorderHeader::capacityBytes() const {
    return FieldReader(bytes).u32(kCapacityOffset);
}

RecorderFileEntry DecodeRecorderFileEntry(std::span<const std::uint8_t> block) {
    const FieldReader read(block);
    RecorderFileEntry entry;
    for (std::size_t i = 0; i < kNameSize; ++i) {
        const auto c = static_cast<char>(read.u8(i));
        if (c == '\0') {
            break;
        }
        entry.name.push_back(c);
    }
    entry.sizeBytes = read.u32(13);
    for (std::size_t i = 0; i < entry.reserved.size(); ++i) {
        entry.reserved[i] = static_cast<std::uint8_t>(read.u8(17 + i));
    }
    // Widened before the origin is added: a u16 year field would wrap for large values.
    entry.year = static_cast<int>(read.u16(20)) + kYearOrigin;
    entry.day = static_cast<int>(read.u8(22));
    entry.month = static_cast<int>(read.u8(23));
    entry.minute = static_cast<int>(read.u8(24));
    entry.hour = static_cast<int>(read.u8(25));
    entry.hundredths = static_cast<int>(read.u8(26));
    entry.second = static_cast<int>(read.u8(27));
    return entry;
}

RecorderListRow MakeRecorderListRow(const RecorderFileEntry& entry) {
    // The size is unsigned 32 bits: as a signed int a file over 2 GB would show negative.
    return {entry.name, model::FormatText("%lld", static_cast<long long>(entry.sizeBytes)),
            model::FormatText("%04d/%02d/%02d", entry.year, entry.month, entry.day),
            model::FormatText("%02d:%02d:%02d", entry.hour, entry.minute, entry.second)};
}

planning::RecorderSpace RecorderDirectory::space() const {
    return {static_cast<std::int64_t>(header.capacityBytes()),
            static_cast<std::int64_t>(usedBytes)};
}

RecorderDirectory DirectoryFromSpace(const planning::RecorderSpace& space) {
    const auto clamp = [](std::int64_t bytes) {
        return static_cast<std::uint32_t>(std::clamp<std::int64_t>(bytes, 0, UINT32_MAX));
    };
    RecorderDirectory directory;
    const std::uint32_t capacity = clamp(space.capacityBytes);
    for (std::size_t i = 0; i < 4; ++i) {
        directory.header.bytes[kCapacityOffset + i] =
            static_cast<std::uint8_t>((capacity >> (8 * i)) & 0xFFu);
    }
    directory.usedBytes = clamp(space.usedBytes);
    return directory;
}

void RecorderDirectory::clearEntries() {
    entries.fill(RecorderFileEntry{});
}

int ReadRecorderDirectory(link::Link& link, RecorderHeader& header,
                          std::span<RecorderFileEntry> entries, std::uint32_t& usedBytes,
                          std::vector<RecorderListRow>* list) {
    link::Port& port = link.port;
    link::ClearRXBuffer(port);
    if (link::SendCommandExpectOk(link, "bdir", kBdirTimeoutMs) == 0) {
        return -1;
    }
    link.clock().sleepMs(kStartPauseMs);
    if (!WaitForStartChar(port)) {
        return -1;
    }

    std::array<std::uint8_t, kRecorderHeaderSize> headerBytes{};
    if (ReadBlockWithRetry(port, headerBytes) != static_cast<int>(kRecorderHeaderSize)) {
        return -1;
    }
    header.bytes = headerBytes;
    port.writeChar(kAck);

    if (entries.empty()) {
        return -1;
    }
    std::size_t slot = 0;
    for (; slot < entries.size(); ++slot) {
        std::array<std::uint8_t, kRecorderFileEntrySize> block{};
        bool silent = false;
        const int result = ReadBlockWithRetry(port, block, &silent);
        if (result == 0) {
            break;
        }
        if (result != static_cast<int>(kRecorderFileEntrySize)) {
            // A line gone silent sends no end block: reading on would wait out ten attempts for
            // each of the remaining slots, hours on the real line.
            if (silent) {
                return -1;
            }
            // Not acknowledged and not listed; the next read takes whatever comes next.
            continue;
        }
        port.writeChar(kAck);
        entries[slot] = DecodeRecorderFileEntry(block);
        if (list != nullptr) {
            list->push_back(MakeRecorderListRow(entries[slot]));
        }
    }
    if (slot == entries.size()) {
        return -1;
    }

    port.writeChar(kAck);
    std::array<std::uint8_t, kUsedSpaceSize> used{};
    if (ReadBlockWithRetry(port, used) == static_cast<int>(kUsedSpaceSize)) {
        usedBytes = static_cast<std::uint32_t>(used[0] | (used[1] << 8)) * kUsedSpaceUnit;
    } else {
        usedBytes = 0;
    }
    port.writeChar(kAck);
    return static_cast<int>(slot);
}

int ReadRecorderDirectory(link::Link& link, RecorderDirectory& directory,
                          std::vector<RecorderListRow>* list) {
    directory.clearEntries();
    return ReadRecorderDirectory(link, directory.header, directory.entries, directory.usedBytes,
                                 list);
}

} // namespace qpx::operations
