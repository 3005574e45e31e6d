#include "operations/Recorder.h"

#include "link/FrameChecksum.h"
#include "link/PortFunctions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace qpx::operations {
namespace {

constexpr int kPieceMs = 25;
constexpr int kStartCharPolls = 1000;
constexpr int kStartCharPauseMs = 5;
constexpr int kLengthReadMs = 10000;
constexpr int kPayloadReadMs = 10000;
constexpr int kChecksumReadMs = 50000;
constexpr int kBlockAttempts = 10;

// What is left of a spoiled block (a length cut by noise, a block longer than we take) would be
// read as the start of the block sent again after our NAK, and every retry would fail on it. So
// the rest is let through first: the line counts as quiet after 100 ms without a byte. Bounded,
// in case the other end never stops talking.
constexpr int kQuietMs = 100;
constexpr int kMaxDrainRounds = 50;

// Returns how many bytes it let through.
int DrainSpoiledBlock(link::Port& port) {
    std::array<std::uint8_t, 256> scratch{};
    int drained = 0;
    for (int round = 0; round < kMaxDrainRounds; ++round) {
        const int got =
            link::ReadBufferTimed(port, scratch.data(), static_cast<int>(scratch.size()), kQuietMs);
        if (got <= 0) {
            break;
        }
        drained += got;
    }
    return drained;
}

std::uint16_t U16(std::span<const std::uint8_t, 2> bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

} // namespace

int ReadBytesTimed(link::Port& port, std::span<std::uint8_t> buffer, int count, int timeoutMs,
                   const TextSink& logView, int* received) {
    if (received != nullptr) {
        *received = 0;
    }
    if (count <= 0) {
        return 1;
    }
    // Never past the end of the caller's buffer, whatever count it asks for.
    const int wanted =
        static_cast<int>(std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(count)));
    std::fill_n(buffer.begin(), wanted, std::uint8_t{0});
    const int passes = std::max(1, timeoutMs / 5 + 10);
    int arrived = 0;
    for (int pass = 0; pass < passes && arrived < wanted; ++pass) {
        std::uint8_t* next = buffer.data() + arrived;
        const std::int64_t passStart = port.clock().nowMs();
        link::ReadBufferTimed(port, next, wanted - arrived, kPieceMs);
        const int piece = std::max(0, port.lastCount());
        if (piece > 0 && logView) {
            logView(std::string_view(reinterpret_cast<const char*>(next),
                                     static_cast<std::size_t>(piece)));
        }
        arrived += piece;
        // A pass that waited its whole piece for nothing shows a line that keeps time. With no
        // text box to feed piece by piece, the passes left then add up to one wait of the same
        // length: it ends on the same byte or at the same moment, but costs one wait instead of
        // thousands (a silent line on a virtual clock would otherwise spin through every pass).
        const bool waitedInVain =
            piece == 0 && port.clock().nowMs() - passStart >= kPieceMs && pass + 1 < passes;
        if (waitedInVain && !logView) {
            const std::int64_t restMs = static_cast<std::int64_t>(passes - pass - 1) * kPieceMs;
            link::ReadBufferTimed(
                port, buffer.data() + arrived, wanted - arrived,
                static_cast<int>(std::min<std::int64_t>(restMs, std::numeric_limits<int>::max())));
            arrived += std::max(0, port.lastCount());
            break;
        }
    }
    if (received != nullptr) {
        *received = arrived;
    }
    return arrived >= count ? 1 : 0;
}

bool WaitForStartChar(link::Port& port) {
    for (int poll = 0; poll < kStartCharPolls; ++poll) {
        if (port.readChar() == kStartChar) {
            link::ClearRXBuffer(port);
            port.writeChar(kAck);
            return true;
        }
        port.clock().sleepMs(kStartCharPauseMs);
    }
    return false;
}

int ReadBlock(link::Port& port, std::span<std::uint8_t> payload) {
    int arrived = 0;
    return ReadBlockCounting(port, payload, arrived);
}

int ReadBlockCounting(link::Port& port, std::span<std::uint8_t> payload, int& arrived) {
    std::array<std::uint8_t, 2> field{};
    if (ReadBytesTimed(port, field, 2, kLengthReadMs, {}, &arrived) == 0) {
        return -1;
    }
    const int length = U16(field);
    // The length counts itself and the checksum; anything shorter is noise.
    if (length < 4) {
        return -1;
    }
    const int announced = length - 4;
    const int taken = std::min(announced, static_cast<int>(payload.size()));
    if (ReadBytesTimed(port, payload, taken, kPayloadReadMs) == 0) {
        return -1;
    }
    if (ReadBytesTimed(port, field, 2, kChecksumReadMs) == 0) {
        return -1;
    }
    // A block longer than we take can never be whole, even if the two bytes read as checksum
    // happen to match.
    if (taken != announced) {
        return -1;
    }
    const auto data = payload.first(static_cast<std::size_t>(taken));
    return U16(field) == link::FrameChecksum(data) ? taken : -1;
}

int ReadBlockWithRetry(link::Port& port, std::span<std::uint8_t> payload, bool* silent) {
    bool nothing = true;
    for (int attempt = 0; attempt < kBlockAttempts; ++attempt) {
        int arrived = 0;
        const int result = ReadBlockCounting(port, payload, arrived);
        if (result != -1) {
            if (silent != nullptr) {
                *silent = false;
            }
            return result;
        }
        const int drained = DrainSpoiledBlock(port);
        nothing = nothing && arrived == 0 && drained == 0;
        port.writeChar(kNak);
    }
    if (silent != nullptr) {
        *silent = nothing;
    }
    return -1;
}

} // namespace qpx::operations
