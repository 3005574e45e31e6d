#include "operations/Recorder.h"

#include "support/LinkBench.h"
#include "support/ScriptedRecorder.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::ReadBlock;
using operations::ReadBlockWithRetry;
using operations::ReadBytesTimed;
using operations::RecorderFileEntry;
using operations::RecorderHeader;
using operations::RecorderListRow;

const CardFile kMarchFile{"DEF00001.QPX", 123456, 2001, 3, 5, 14, 2, 9, 77};

std::string Count(const std::string& text, char c) {
    return std::to_string(std::count(text.begin(), text.end(), c));
}

// A scripted QPX with a card behind it.
struct RecorderBench {
    LinkBench bench;
    ScriptedRecorder card{bench.device};

    RecorderBench() { bench.device.replies["Ver"] = "Kelvra QPX Version 1.70\r\n>"; }

    struct Read {
        int result = 0;
        RecorderHeader header;
        std::array<RecorderFileEntry, operations::kRecorderSlots> entries{};
        std::uint32_t used = 0xDEADBEEF;
        std::vector<RecorderListRow> rows;
    };
    Read read() {
        Read r;
        r.result =
            operations::ReadRecorderDirectory(bench.link, r.header, r.entries, r.used, &r.rows);
        return r;
    }
    // What the host wrote after "bdir" went out.
    std::string afterBdir() const {
        const auto at = bench.device.written.find("bdir\r");
        return at == std::string::npos ? std::string() : bench.device.written.substr(at + 5);
    }
};

TEST(ReadBytesTimed, CountZeroSucceedsAtOnce) {
    LinkBench bench;
    std::array<std::uint8_t, 4> buffer{1, 2, 3, 4};
    EXPECT_EQ(ReadBytesTimed(bench.port, buffer, 0, 1000), 1);
    EXPECT_EQ(bench.clock.nowMs(), 0);
}

TEST(ReadBytesTimed, PiecesArrivingOverTimeAreShownInOrderAndCollected) {
    LinkBench bench;
    bench.device.arriveIn(10, "abc");
    bench.device.arriveIn(60, "de");
    bench.device.arriveIn(400, "fgh");
    std::array<std::uint8_t, 8> buffer{};
    std::vector<std::string> pieces;
    const int result = ReadBytesTimed(bench.port, buffer, 8, 1000,
                                      [&](std::string_view piece) { pieces.emplace_back(piece); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "abcdefgh");
    EXPECT_EQ(pieces, (std::vector<std::string>{"abc", "de", "fgh"}));
    EXPECT_LT(bench.clock.nowMs(), 430); // done as soon as the last byte is in
}

TEST(ReadBytesTimed, ShortArrivalFailsAfterItsPassesWithWhatCameZeroFilledBehind) {
    LinkBench bench;
    bench.device.arriveIn(5, "xy");
    std::array<std::uint8_t, 6> buffer{9, 9, 9, 9, 9, 9};
    int received = -1;
    EXPECT_EQ(ReadBytesTimed(bench.port, buffer, 5, 100, {}, &received), 0);
    EXPECT_EQ(received, 2);
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 6>{'x', 'y', 0, 0, 0, 9}));
    // 100 / 5 + 10 passes of 25 ms.
    EXPECT_EQ(bench.clock.nowMs(), 30 * 25);
}

TEST(ReadBytesTimed, LateBytesAfterSilentPassesStillCountAndEndTheReadAtOnce) {
    // Without a text box the silent passes are taken as one wait: a byte that comes after many
    // of them must still be collected, and the read must end on it, not at the time-out.
    LinkBench bench;
    bench.device.arriveIn(10, "ab");
    bench.device.arriveIn(3000, "cd");
    std::array<std::uint8_t, 4> buffer{};
    int received = -1;
    EXPECT_EQ(ReadBytesTimed(bench.port, buffer, 4, 1000, {}, &received), 1);
    EXPECT_EQ(received, 4);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "abcd");
    EXPECT_GE(bench.clock.nowMs(), 3000);
    EXPECT_LT(bench.clock.nowMs(), 3025);

    // Bytes that come too late for every pass are left for the next read: 1000 / 5 + 10 passes.
    LinkBench late;
    late.device.arriveIn(210 * 25 + 1, "z");
    EXPECT_EQ(ReadBytesTimed(late.port, buffer, 1, 1000), 0);
    EXPECT_EQ(late.clock.nowMs(), 210 * 25);
}

TEST(ReadBytesTimed, NeverWritesPastTheBuffer) {
    LinkBench bench;
    bench.device.arriveIn(1, "0123456789");
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(ReadBytesTimed(bench.port, buffer, 10, 50), 0);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "0123");
    EXPECT_EQ(bench.device.pending(), 6u);
}

struct BlockCase {
    const char* name;
    std::string bytes;
    std::size_t max;
    int expected;
};

std::ostream& operator<<(std::ostream& os, const BlockCase& c) {
    return os << c.name;
}

class ReadBlockCases : public testing::TestWithParam<BlockCase> {};

TEST_P(ReadBlockCases, ResultFollowsLengthAndChecksum) {
    LinkBench bench;
    bench.device.arriveIn(1, GetParam().bytes);
    std::vector<std::uint8_t> payload(GetParam().max);
    EXPECT_EQ(ReadBlock(bench.port, payload), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, ReadBlockCases,
    testing::Values(BlockCase{"file block", Block(FilePayload(kMarchFile)), 28, 28},
                    BlockCase{"end block", Block({}), 28, 0},
                    BlockCase{"checksum off by one", Block(FilePayload(kMarchFile), 1), 28, -1},
                    BlockCase{"longer than taken", Block(HeaderPayload(1)), 28, -1},
                    BlockCase{"shorter block is its own length", Block({1, 2}), 28, 2},
                    BlockCase{"length below four", std::string("\x03\x00\x96\xA5", 4), 28, -1},
                    BlockCase{"cut short", Block(FilePayload(kMarchFile)).substr(0, 20), 28, -1}),
    [](const auto& p) {
        std::string name = p.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(ReadBlockWithRetry, BadChecksumIsAnsweredWithNakAndReadAgainUpToTenTimes) {
    for (const int bad : {1, 9, 10}) {
        RecorderBench r;
        r.card.files = {kMarchFile};
        r.card.badChecksum[1] = bad;
        const auto read = r.read();
        SCOPED_TRACE(bad);
        if (bad < 10) {
            EXPECT_EQ(read.result, 1);
            EXPECT_EQ(read.rows.size(), 1u);
            EXPECT_EQ(Count(r.card.handshake, 'b'), std::to_string(bad));
        } else {
            // The slot is given up and not listed; the file sent again after the last NAK
            // fills the next slot.
            EXPECT_EQ(read.result, 2);
            EXPECT_EQ(read.rows.size(), 1u);
            EXPECT_EQ(Count(r.card.handshake, 'b'), "10");
        }
    }
}

TEST(ReadBlockWithRetry, RestOfASpoiledBlockIsLetThroughBeforeTheRetry) {
    // Noise ahead of the block makes its length read wrong; what is left of it must not be
    // taken for the start of the block sent again.
    RecorderBench r;
    r.card.files = {kMarchFile};
    r.card.noise[1] = "\x40\x01";
    const auto read = r.read();
    EXPECT_EQ(read.result, 1);
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0].name, "DEF00001.QPX");
    EXPECT_EQ(Count(r.card.handshake, 'b'), "1");
}

TEST(ReadRecorderDirectory, EmptyCardListsNothingAndTakesUsedSpaceFromTheLastBlock) {
    RecorderBench r;
    r.card.usedUnits = 3;
    const auto read = r.read();
    EXPECT_EQ(read.result, 0);
    EXPECT_TRUE(read.rows.empty());
    EXPECT_EQ(read.used, 3u * 65536u);
    const Bytes header = HeaderPayload(64u * 1048576u);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), read.header.bytes.begin()));
    EXPECT_EQ(read.header.capacityBytes(), 64u * 1048576u);
    // ACK for the start, the header, after the end block and after the used space.
    EXPECT_EQ(r.afterBdir(), "aaaa");
    EXPECT_TRUE(r.bench.messages.entries.empty());
}

TEST(ReadRecorderDirectory, FileEntryIsDecodedAndListedWithYearFrom1980) {
    RecorderBench r;
    r.card.files = {kMarchFile};
    r.card.usedUnits = 16;
    const auto read = r.read();
    ASSERT_EQ(read.result, 1);
    const RecorderFileEntry& e = read.entries[0];
    EXPECT_EQ(e.name, "DEF00001.QPX");
    EXPECT_EQ(e.sizeBytes, 123456u);
    EXPECT_EQ(e.year, 2001);
    EXPECT_EQ(e.month, 3);
    EXPECT_EQ(e.day, 5);
    EXPECT_EQ(e.hour, 14);
    EXPECT_EQ(e.minute, 2);
    EXPECT_EQ(e.second, 9);
    EXPECT_EQ(e.hundredths, 77);
    EXPECT_EQ(e.reserved, (std::array<std::uint8_t, 3>{0x11, 0x22, 0x33}));
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0], (RecorderListRow{"DEF00001.QPX", "123456", "2001/03/05", "14:02:09"}));
    EXPECT_EQ(read.used, 1048576u);
    EXPECT_EQ(read.entries[1], RecorderFileEntry{});
    EXPECT_EQ(r.afterBdir(), "aaaaa");
}

TEST(ReadRecorderDirectory, FileNameFillingAllThirteenBytesAndHugeSizesStayIntact) {
    Bytes block = FilePayload({"", 0xFFFFFFF0u, 2001, 1, 1});
    for (std::size_t i = 0; i < 13; ++i) {
        block[i] = static_cast<std::uint8_t>('A' + i);
    }
    const auto entry = operations::DecodeRecorderFileEntry(block);
    EXPECT_EQ(entry.name, "ABCDEFGHIJKLM");
    EXPECT_EQ(operations::MakeRecorderListRow(entry).size, "4294967280");
    // A block cut short reads as zeros, not past its end.
    const auto cut = operations::DecodeRecorderFileEntry(std::span(block).first(15));
    EXPECT_EQ(cut.sizeBytes, static_cast<std::uint32_t>(block[13] | (block[14] << 8)));
    EXPECT_EQ(cut.year, 1980);
}

TEST(ReadRecorderDirectory, UnreadableUsedSpaceCountsAsNoneAndTheReadStillSucceeds) {
    RecorderBench r;
    r.card.files = {kMarchFile};
    r.card.silentFrom = 3; // header, file, end, then nothing
    const auto read = r.read();
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.used, 0u);
}

TEST(ReadRecorderDirectory, AsManyFileBlocksAsSlotsFailWithTheRowsReadSoFar) {
    RecorderBench r;
    for (int i = 0; i < 513; ++i) {
        r.card.files.push_back({"F" + std::to_string(i), static_cast<std::uint32_t>(i)});
    }
    const auto read = r.read();
    EXPECT_EQ(read.result, -1);
    EXPECT_EQ(read.rows.size(), 512u);

    RecorderBench exact;
    exact.card.files.assign(511, CardFile{"F", 1});
    EXPECT_EQ(exact.read().result, 511);
}

TEST(ReadRecorderDirectory, NoSlotsIsAFailureAfterTheHeader) {
    RecorderBench r;
    RecorderHeader header;
    std::uint32_t used = 0;
    EXPECT_EQ(operations::ReadRecorderDirectory(r.bench.link, header, {}, used), -1);
    EXPECT_EQ(header.capacityBytes(), 64u * 1048576u);
}

TEST(ReadRecorderDirectory, KeptDirectoryIsEmptiedBeforeItIsRead) {
    RecorderBench r;
    r.card.files = {kMarchFile};
    operations::RecorderDirectory directory;
    directory.entries[0].name = "OLD";
    directory.entries[7].name = "STALE";
    EXPECT_EQ(operations::ReadRecorderDirectory(r.bench.link, directory), 1);
    EXPECT_EQ(directory.entries[0].name, "DEF00001.QPX");
    EXPECT_EQ(directory.entries[7], RecorderFileEntry{});
    EXPECT_EQ(directory.space(), (planning::RecorderSpace{64 * 1048576, 0}));
}

TEST(RecorderDirectory, MadeFromTheKeptSpaceGivesTheSameSpaceBack) {
    using planning::RecorderSpace;
    for (const auto& [kept, expected] : {
             std::pair{RecorderSpace{64 * 1048576, 1048576}, RecorderSpace{64 * 1048576, 1048576}},
             std::pair{RecorderSpace{0xFEDCBA98, 0}, RecorderSpace{0xFEDCBA98, 0}},
             // Beyond what the header can carry, or below nothing: clamped, never wrapped.
             std::pair{RecorderSpace{std::int64_t{1} << 33, -5}, RecorderSpace{0xFFFFFFFF, 0}},
         }) {
        const operations::RecorderDirectory directory = operations::DirectoryFromSpace(kept);
        EXPECT_EQ(directory.space(), expected);
        EXPECT_EQ(directory.header.bytes[73], 0u);
        EXPECT_EQ(directory.header.bytes[78], 0u);
        EXPECT_EQ(directory.entries[0], RecorderFileEntry{});
    }
}

// Every way the read can fail, in the order the transfer goes: each returns -1, keeps the
// header it was given, sends nothing more after the failing step, reports no success and
// leaves the port to its owner.
struct ReadFailure {
    const char* name;
    void (*inject)(ScriptedRecorder&);
    std::string sentAfterBdir;
};

std::ostream& operator<<(std::ostream& os, const ReadFailure& f) {
    return os << f.name;
}

class ReadRecorderDirectoryFailures : public testing::TestWithParam<ReadFailure> {};

TEST_P(ReadRecorderDirectoryFailures, EndWithMinusOneAndNothingSentAfter) {
    RecorderBench r;
    r.card.files = {kMarchFile};
    GetParam().inject(r.card);
    RecorderBench::Read read;
    read.header.bytes.fill(0x5A);
    read.result = operations::ReadRecorderDirectory(r.bench.link, read.header, read.entries,
                                                    read.used, &read.rows);
    EXPECT_EQ(read.result, -1);
    EXPECT_EQ(read.header.bytes[74], 0x5A);
    EXPECT_TRUE(read.rows.empty());
    EXPECT_EQ(read.used, 0xDEADBEEFu);
    EXPECT_EQ(r.afterBdir(), GetParam().sentAfterBdir);
    EXPECT_EQ(r.bench.port.closeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReadRecorderDirectoryFailures,
    testing::Values(
        ReadFailure{"bdir_refused", [](ScriptedRecorder& c) { c.refuseBdir = true; }, ""},
        ReadFailure{"no_start_char", [](ScriptedRecorder& c) { c.noStartChar = true; }, ""},
        ReadFailure{"header_never_comes", [](ScriptedRecorder& c) { c.silentFrom = 0; },
                    "a" + std::string(10, 'b')},
        ReadFailure{"header_checksum_ten_times", [](ScriptedRecorder& c) { c.badChecksum[0] = 10; },
                    "a" + std::string(10, 'b')},
        ReadFailure{"header_short", [](ScriptedRecorder& c) { c.replacePayload[0] = Bytes(60, 1); },
                    "a"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(FormatRecorder, EachYesOrNoQuestionIsAnsweredYes) {
    for (const int questions : {1, 2}) {
        RecorderBench r;
        r.card.questions = questions;
        EXPECT_TRUE(operations::FormatRecorder(r.bench.link));
        const auto& lines = r.bench.device.lines;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "yes"), questions);
        const auto at = r.bench.device.written.find("format\r");
        ASSERT_NE(at, std::string::npos);
        std::string answers;
        for (int i = 0; i < questions; ++i) {
            answers += "yes\r";
        }
        EXPECT_EQ(r.bench.device.written.substr(at + 7), answers);
    }
}

TEST(FormatRecorder, AbortedOrNeverFinishedIsAFailure) {
    RecorderBench aborted;
    aborted.card.abortFormat = true;
    EXPECT_FALSE(operations::FormatRecorder(aborted.bench.link));

    RecorderBench endless;
    endless.card.neverFinish = true;
    EXPECT_FALSE(operations::FormatRecorder(endless.bench.link));
    // 100 reads, each given up after its passes.
    EXPECT_GE(endless.bench.clock.nowMs(), 100 * 70 * 25);
}

} // namespace
} // namespace qpx::test
