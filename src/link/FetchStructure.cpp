#include "link/FetchStructure.h"

#include "link/CommandExchange.h"
#include "link/FrameChecksum.h"
#include "link/PortFunctions.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace qpx::link {
namespace {

constexpr std::string_view kFetchError = "Error Getting System Variable Structure: ";
constexpr std::string_view kBadChecksum = " Bad CheckSum getting System Variable Structure: ";
constexpr std::string_view kNotStarted = "Failed to start system. Please try again.";

constexpr std::uint8_t kLeadIn = 0xE8;
constexpr int kLeadInLimit = 5; // the fifth lead-in byte means there is no frame to read
constexpr int kMaxLoneBytes = 300;
constexpr int kFrameOverhead = 4; // two length bytes, two checksum bytes

// The instrument starts its frame within a second or two of its "OK"; a line that stays silent
// (or only drips lone bytes) for 5 s has no frame coming, and waiting longer would hang the
// program.
constexpr int kFrameStartLimitMs = 5000;
// The length bytes follow the lead-in on the line at once; this only covers a slow line.
constexpr int kLengthByteTimeoutMs = 500;

// Lone bytes in front of the frame (a stray line end behind "OK") are thrown away until two
// bytes wait at once. True when the frame has begun; otherwise the failure has been reported.
bool WaitForFrameStart(Link& link) {
    Port& port = link.port;
    Clock& clock = link.clock();
    const std::int64_t deadline = clock.nowMs() + kFrameStartLimitMs;
    int discarded = 0;
    for (;;) {
        const int waiting = port.rxCount();
        if (waiting >= 2) {
            return true;
        }
        if (waiting < 0) {
            link.messages.showMessage(kFetchError);
            return false;
        }
        clock.sleepMs(5);
        // A byte alone when we look may be the first of the frame with the next one on its way;
        // only one still alone after the pause is thrown away, or the length would be lost.
        if (waiting == 1 && port.rxCount() == 1) {
            std::uint8_t lone = 0;
            const int moved = port.readBuffer(&lone, 1);
            discarded += moved > 0 ? moved : 0;
        }
        if (discarded >= kMaxLoneBytes) {
            std::array<std::uint8_t, 199> scratch{};
            ReadBufferTimed(port, scratch.data(), static_cast<int>(scratch.size()), 100);
            link.messages.showMessage(kNotStarted);
            return false;
        }
        if (clock.nowMs() >= deadline) {
            link.messages.showMessage(kFetchError);
            return false;
        }
    }
}

// Skips up to four lead-in bytes, then takes the two length bytes. Only bytes in front of the
// length are lead-in: a length whose high byte happens to be 0xE8 is still a length. Nothing when
// the fifth lead-in byte came or the length never did.
std::optional<int> ReadFrameLength(Port& port) {
    int leadIns = 0;
    std::array<int, 2> length{};
    std::size_t have = 0;
    while (have < length.size()) {
        // Returns at once when the byte is already waiting.
        const int byte = ReadCharTimed(port, kLengthByteTimeoutMs);
        if (byte < 0) {
            return std::nullopt;
        }
        if (have == 0 && byte == kLeadIn) {
            if (++leadIns >= kLeadInLimit) {
                return std::nullopt;
            }
            continue;
        }
        length[have++] = byte;
    }
    return length[0] | (length[1] << 8);
}

} // namespace

int FetchStructure(Link& link, std::string_view command, std::span<std::uint8_t> destination,
                   int* receivedLength) {
    if (receivedLength != nullptr) {
        *receivedLength = 0;
    }
    Port& port = link.port;
    Clock& clock = link.clock();
    if (SendCommandExpectOk(link, command, 3000) == 0) {
        link.messages.showMessage(kFetchError);
        return 0;
    }
    clock.sleepMs(50);
    if (!WaitForFrameStart(link)) {
        return 0;
    }
    clock.sleepMs(10);

    // A frame that cannot be stored is refused before anything is read into place.
    const std::optional<int> length = ReadFrameLength(port);
    if (!length || *length < kFrameOverhead ||
        static_cast<std::size_t>(*length - kFrameOverhead) > destination.size()) {
        link.messages.showMessage(kFetchError);
        return 0;
    }
    const int frameLength = *length;
    const int bodyLength = frameLength - 2;

    int noted = 0;
    for (int check = 0; check < 50; ++check) {
        noted = port.rxCount();
        if (noted >= bodyLength) {
            break;
        }
        clock.sleepMs(10);
    }
    std::vector<std::uint8_t> body(static_cast<std::size_t>(bodyLength));
    const int got = ReadBufferTimed(port, body.data(), bodyLength, 500);
    if (noted > frameLength && ClearRXBuffer(port) < 0) {
        return 0;
    }
    // A body cut short has no checksum to trust: the same failure as a wrong one.
    if (got < bodyLength) {
        link.messages.showMessage(kBadChecksum);
        return 0;
    }

    const auto dataLength = static_cast<std::size_t>(frameLength - kFrameOverhead);
    const std::span<const std::uint8_t> data(body.data(), dataLength);
    const auto received =
        static_cast<std::uint16_t>(body[dataLength] | (body[dataLength + 1] << 8));
    if (FrameChecksum(data) != received) {
        link.messages.showMessage(kBadChecksum);
        return 0;
    }
    // Only a checked frame reaches the caller's structure.
    std::copy(data.begin(), data.end(), destination.begin());
    if (receivedLength != nullptr) {
        *receivedLength = static_cast<int>(dataLength);
    }
    return 1;
}

} // namespace qpx::link
