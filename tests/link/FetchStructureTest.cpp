#include "link/FetchStructure.h"

#include "link/FrameChecksum.h"
#include "support/LinkBench.h"

#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using link::FetchStructure;
using link::FrameChecksum;
using Bytes = std::vector<std::uint8_t>;

const std::string kFetchError = "Error Getting System Variable Structure: ";
const std::string kBadChecksum = " Bad CheckSum getting System Variable Structure: ";
constexpr std::uint8_t kUntouched = 0x5A;

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string U16(int value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

// A frame as the instrument sends it; `length` overrides L, `checksumError` is added to the sum.
std::string Frame(const Bytes& data, int leadIns = 0, int checksumError = 0, int length = -1) {
    const int frameLength = length >= 0 ? length : static_cast<int>(data.size()) + 4;
    return std::string(static_cast<std::size_t>(leadIns), '\xE8') + U16(frameLength) + Text(data) +
           U16(FrameChecksum(data) + checksumError);
}

// 96 bytes of a SystemConfiguration-sized body, lead-in values included as data.
Bytes Body(std::size_t size = 96) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    data[0] = 0xE8;
    if (size > 50) {
        data[1] = 0xE8;
        data[50] = 0xE8;
    }
    return data;
}

struct Fetch {
    int result;
    int receivedLength;
    Bytes destination;
};

Fetch FetchConf(LinkBench& bench, std::size_t destinationSize = 96) {
    Fetch f{-1, -1, Bytes(destinationSize, kUntouched)};
    f.result = FetchStructure(bench.link, "Get CONF", f.destination, &f.receivedLength);
    return f;
}

TEST(FrameChecksum, StartsAtA596AndWrapsAt16Bits) {
    EXPECT_EQ(FrameChecksum(Bytes{}), 0xA596);
    EXPECT_EQ(FrameChecksum(Bytes{'a', 'b', 'c'}), 0xA6BC);
    EXPECT_EQ(FrameChecksum(Bytes(96, 0xFF)), (0xA596 + 96 * 255) & 0xFFFF);
}

TEST(FetchStructure, SystemConfigurationFrameIsOneHundredLong) {
    const std::string frame = Frame(Body());
    ASSERT_EQ(frame.size(), 100u);
    EXPECT_EQ(frame.substr(0, 2), U16(100));
}

TEST(FetchStructure, LeadInBytesAreSkippedAndE8InTheBodyIsData) {
    for (int leadIns = 0; leadIns <= 4; ++leadIns) {
        LinkBench bench;
        bench.device.replies["Get CONF"] = "OK\r\n" + Frame(Body(), leadIns);
        const Fetch f = FetchConf(bench);
        EXPECT_EQ(f.result, 1) << leadIns;
        EXPECT_EQ(f.destination, Body()) << leadIns;
        EXPECT_EQ(f.receivedLength, 96) << leadIns;
        EXPECT_TRUE(bench.messages.entries.empty()) << leadIns;
    }
}

TEST(FetchStructure, ShorterFrameFillsOnlyItsPart) {
    LinkBench bench;
    bench.device.replies["Get CONF"] = "OK\r\n" + Frame(Body(64));
    const Fetch f = FetchConf(bench);
    EXPECT_EQ(f.result, 1);
    EXPECT_EQ(f.receivedLength, 64);
    EXPECT_EQ(Bytes(f.destination.begin(), f.destination.begin() + 64), Body(64));
    EXPECT_EQ(Bytes(f.destination.begin() + 64, f.destination.end()), Bytes(32, kUntouched));
}

TEST(FetchStructure, ExtraBytesAfterTheFrameAreCleared) {
    LinkBench bench;
    bench.device.replies["Get CONF"] = "OK\r\n" + Frame(Body()) + "\r\n>trailing";
    EXPECT_EQ(FetchConf(bench).result, 1);
    EXPECT_EQ(bench.device.pending(), 0u);
}

TEST(FetchStructure, FramePacedOnTheLineIsReadWholeWhenEverItStarts) {
    // One byte every 2 ms: the first one is often alone when the wait for the frame looks.
    for (int startMs = 0; startMs < 12; ++startMs) {
        LinkBench bench;
        const std::string frame = Frame(Body());
        bench.device.answer = [&bench, &frame, startMs](const std::string& line) {
            if (line != "Get CONF") {
                return std::string("\n>");
            }
            for (std::size_t i = 0; i < frame.size(); ++i) {
                bench.device.arriveIn(200 + startMs + static_cast<int>(2 * i), frame.substr(i, 1));
            }
            return std::string("\nOK\r\n");
        };
        const Fetch f = FetchConf(bench);
        EXPECT_EQ(f.result, 1) << startMs;
        EXPECT_EQ(f.destination, Body()) << startMs;
    }
}

struct BadFrame {
    const char* name;
    std::string reply;
    std::string message;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BadFrame& c, std::ostream* os) {
    *os << c.name;
}

class FetchFailure : public ::testing::TestWithParam<BadFrame> {};

TEST_P(FetchFailure, ReportsAndLeavesTheDestinationAlone) {
    const BadFrame& c = GetParam();
    LinkBench bench;
    bench.device.replies["Get CONF"] = c.reply;
    const Fetch f = FetchConf(bench);
    EXPECT_EQ(f.result, 0);
    EXPECT_EQ(f.receivedLength, 0);
    EXPECT_EQ(f.destination, Bytes(96, kUntouched));
    EXPECT_EQ(bench.messages.texts(), std::vector<std::string>{c.message});
    EXPECT_LT(bench.clock.nowMs(), 12000);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FetchFailure,
    ::testing::Values(
        BadFrame{"NotAcknowledged", "ERROR\r\n>", kFetchError},
        BadFrame{"NoFrameComes", "OK\r\n", kFetchError},
        BadFrame{"LoneByteOnly", "OK\r\n\x64", kFetchError},
        BadFrame{"FiveLeadIns", "OK\r\n" + Frame(Body(), 5), kFetchError},
        BadFrame{"LengthNeverComes", "OK\r\n\xE8\xE8\xE8\xE8", kFetchError},
        BadFrame{"LengthBelowFour", "OK\r\n" + Frame({}, 0, 0, 3), kFetchError},
        BadFrame{"LengthZero", "OK\r\n" + Frame({}, 0, 0, 0), kFetchError},
        BadFrame{"LongerThanTheDestination", "OK\r\n" + Frame(Body(97)), kFetchError},
        BadFrame{"LengthFarTooLarge", "OK\r\n" + Frame(Body(), 0, 0, 0xFFFF), kFetchError},
        BadFrame{"ChecksumOneHigh", "OK\r\n" + Frame(Body(), 0, 1), kBadChecksum},
        BadFrame{"ChecksumOneLow", "OK\r\n" + Frame(Body(), 2, -1), kBadChecksum},
        BadFrame{"BodyCutShort", "OK\r\n" + Frame(Body()).substr(0, 60), kBadChecksum}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(FetchStructure, SilentLineGivesUpAfterAboutFiveSeconds) {
    LinkBench bench;
    bench.device.replies["Get CONF"] = "OK\r\n";
    FetchConf(bench);
    const std::int64_t sinceOk = bench.clock.nowMs() - bench.device.writeTimes.back();
    EXPECT_GE(sinceOk, 5000);
    EXPECT_LT(sinceOk, 5200);
}

TEST(FetchStructure, ManyLoneBytesMeanTheSystemDidNotStart) {
    LinkBench bench;
    bench.device.answer = [&bench](const std::string& line) {
        if (line == "Get CONF") {
            for (int i = 0; i < 400; ++i) {
                bench.device.arriveIn(100 + 12 * i, "?");
            }
            return std::string("\nOK\r\n");
        }
        return std::string("\n>");
    };
    const Fetch f = FetchConf(bench);
    EXPECT_EQ(f.result, 0);
    EXPECT_EQ(bench.messages.texts(),
              std::vector<std::string>{"Failed to start system. Please try again."});
    EXPECT_EQ(f.destination, Bytes(96, kUntouched));
}

// What a correct reader makes of `stream` when it follows the "OK" line: the data of a frame
// with a matching checksum that fits `capacity`, or nothing.
std::optional<Bytes> Expected(const std::string& stream, std::size_t capacity) {
    if (stream.size() < 2) {
        return std::nullopt; // never two bytes waiting: no frame start
    }
    std::size_t i = 0;
    for (int leadIns = 0; i < stream.size() && static_cast<std::uint8_t>(stream[i]) == 0xE8; ++i) {
        if (++leadIns == 5) {
            return std::nullopt;
        }
    }
    if (i + 2 > stream.size()) {
        return std::nullopt;
    }
    const int length =
        static_cast<std::uint8_t>(stream[i]) | (static_cast<std::uint8_t>(stream[i + 1]) << 8);
    i += 2;
    if (length < 4 || static_cast<std::size_t>(length - 4) > capacity ||
        i + static_cast<std::size_t>(length - 2) > stream.size()) {
        return std::nullopt;
    }
    const Bytes data(stream.begin() + static_cast<std::ptrdiff_t>(i),
                     stream.begin() + static_cast<std::ptrdiff_t>(i) + length - 4);
    const std::size_t sum = i + static_cast<std::size_t>(length - 4);
    const int received =
        static_cast<std::uint8_t>(stream[sum]) | (static_cast<std::uint8_t>(stream[sum + 1]) << 8);
    return FrameChecksum(data) == received ? std::optional<Bytes>(data) : std::nullopt;
}

TEST(FetchStructure, RandomBytesAfterTheOkNeverPassUncheckedNorHang) {
    std::mt19937 rng(0x51A7);
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        const auto capacity = static_cast<std::size_t>(below(120));
        Bytes data(static_cast<std::size_t>(below(static_cast<int>(capacity) + 8)));
        for (auto& b : data) {
            b = static_cast<std::uint8_t>(below(256));
        }
        std::string stream;
        switch (round % 3) {
        case 0:
            stream = Frame(data, below(6));
            break;
        case 1:
            stream = Frame(data, below(3));
            stream[static_cast<std::size_t>(below(static_cast<int>(stream.size())))] ^=
                static_cast<char>(1 + below(255));
            break;
        default:
            stream = Text(data);
            break;
        }
        stream += std::string(static_cast<std::size_t>(below(4)), '\r');

        LinkBench bench;
        const bool paced = round % 2 == 1;
        const int startMs = below(150);
        bench.device.answer = [&](const std::string& line) {
            if (line != "Get CONF") {
                return std::string("\n>");
            }
            int at = startMs;
            for (const char c : stream) {
                // Behind the "OK" line, which arrives 1 ms after the write.
                bench.device.arriveIn(2 + (paced ? at : 0), std::string(1, c));
                at += below(4);
            }
            return std::string("\nOK\r\n");
        };
        // Exactly as large as asked, so that the sanitizer sees any write past its end.
        std::vector<std::uint8_t> destination(capacity, kUntouched);
        int length = -1;
        const int result = FetchStructure(bench.link, "Get CONF", destination, &length);

        const std::optional<Bytes> expected = Expected(stream, capacity);
        ASSERT_EQ(result == 1, expected.has_value())
            << "round " << round << ": "
            << (bench.messages.entries.empty() ? "" : bench.messages.entries[0].text);
        Bytes wanted(capacity, kUntouched);
        if (expected) {
            std::copy(expected->begin(), expected->end(), wanted.begin());
            EXPECT_EQ(length, static_cast<int>(expected->size()));
            ++accepted;
        } else {
            EXPECT_EQ(length, 0);
            EXPECT_EQ(bench.messages.entries.size(), 1u);
        }
        EXPECT_EQ(destination, wanted) << "round " << round;
        EXPECT_LT(bench.clock.nowMs(), 12000) << "round " << round;
    }
    EXPECT_GT(accepted, 50); // the valid frames among them did get through
}

} // namespace
} // namespace qpx::test
