#pragma once

#include "link/Link.h"
#include "link/Port.h"
#include "planning/DeploymentValues.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The recorder's directory ("bdir", a short block transfer) and its format ("format").
namespace qpx::operations {

// Block transfer characters.
inline constexpr std::uint8_t kAck = 0x61;       // 'a'
inline constexpr std::uint8_t kNak = 0x62;       // 'b'
inline constexpr std::uint8_t kStartChar = 0x63; // 'c', the instrument announces a transfer

inline constexpr std::size_t kRecorderHeaderSize = 80;
inline constexpr std::size_t kRecorderFileEntrySize = 28;
inline constexpr std::size_t kRecorderSlots = 512;
// The checksum of every block: this base plus the byte sum of the payload, modulo 65536.
inline constexpr std::uint16_t kBlockChecksumBase = 0xA596;

// Where a timed read shows what it received, piece by piece, as text. Empty: shown nowhere.
using TextSink = std::function<void(std::string_view)>;

// The 80 header bytes as received. Only the capacity means anything to us; the rest is kept.
struct RecorderHeader {
    std::array<std::uint8_t, kRecorderHeaderSize> bytes{};

    // The card's total capacity in bytes (u32 at byte 74).
    std::uint32_t capacityBytes() const;

    friend bool operator==(const RecorderHeader&, const RecorderHeader&) = default;
};

// One file of the card, decoded from its 28-byte block.
struct RecorderFileEntry {
    std::string name; // up to the first NUL of its 13 bytes
    std::uint32_t sizeBytes = 0;
    std::array<std::uint8_t, 3> reserved{};
    int year = 0; // calendar year: the block's years since 1980, plus 1980
    int day = 0;
    int month = 0;
    int minute = 0;
    int hour = 0;
    int hundredths = 0;
    int second = 0;

    friend bool operator==(const RecorderFileEntry&, const RecorderFileEntry&) = default;
};

// Decodes a file block. `block` must hold kRecorderFileEntrySize bytes; missing bytes read as 0.
RecorderFileEntry DecodeRecorderFileEntry(std::span<const std::uint8_t> block);

// One row of the directory list: the texts of its four columns.
struct RecorderListRow {
    std::string name;
    std::string size; // "%d"
    std::string date; // "%04d/%02d/%02d"
    std::string time; // "%02d:%02d:%02d"

    friend bool operator==(const RecorderListRow&, const RecorderListRow&) = default;
};

RecorderListRow MakeRecorderListRow(const RecorderFileEntry& entry);

// What the planner keeps of the recorder between the download and each refresh.
struct RecorderDirectory {
    RecorderHeader header;
    std::uint32_t usedBytes = 0;
    std::array<RecorderFileEntry, kRecorderSlots> entries{};

    // Capacity and used space as the free-space estimate takes them.
    planning::RecorderSpace space() const;
    // Empties every file slot (done before each read).
    void clearEntries();
};

// A directory that holds what the planner keeps of one: the capacity (in the header's bytes
// 74-77) and the used space, each clamped to 32 bits; no files.
RecorderDirectory DirectoryFromSpace(const planning::RecorderSpace& space);

// Reads `count` bytes (at most buffer.size()) in 25 ms pieces: zero-fills them, then makes
// timeoutMs / 5 + 10 passes. Each piece received is handed to `logView` as text. 1 when all
// `count` bytes arrived, else 0; `count` 0 succeeds at once. `received`, when given, gets the
// number of bytes that did arrive.
int ReadBytesTimed(link::Port& port, std::span<std::uint8_t> buffer, int count, int timeoutMs,
                   const TextSink& logView = {}, int* received = nullptr);

// Waits for the 'c' that announces a transfer (1000 polls, 5 ms apart), then clears the receive
// buffer and answers ACK. False when it never came.
bool WaitForStartChar(link::Port& port);

// Reads one block into `payload` (its size is the most the block may carry). The payload length
// when the checksum matched, else -1 (also on any short read). A block longer than `payload`
// leaves bytes unread and fails its checksum.
int ReadBlock(link::Port& port, std::span<std::uint8_t> payload);
// The same, also telling how many bytes of the length field arrived (0: the line was silent).
int ReadBlockCounting(link::Port& port, std::span<std::uint8_t> payload, int& arrived);

// Up to 10 reads of one block, a NAK after each failure. The first result other than -1, or -1.
// `silent`, when given, is set when not one byte arrived in all the attempts: the instrument
// has stopped sending and no NAK will bring the block.
int ReadBlockWithRetry(link::Port& port, std::span<std::uint8_t> payload, bool* silent = nullptr);

// Runs "bdir": fills `header`, the slots of `entries` (as many as it holds; the slot count is
// the most files accepted) and `usedBytes`, and, when given, appends a row to `list` for each
// file. Returns the number of files, or -1 when the directory could not be read (the command
// refused, no transfer, a bad header, as many file blocks as slots). A used-space block that
// cannot be read leaves 0 and does not fail the read.
int ReadRecorderDirectory(link::Link& link, RecorderHeader& header,
                          std::span<RecorderFileEntry> entries, std::uint32_t& usedBytes,
                          std::vector<RecorderListRow>* list = nullptr);

// The same into a kept directory: its slots are emptied first, then read into.
int ReadRecorderDirectory(link::Link& link, RecorderDirectory& directory,
                          std::vector<RecorderListRow>* list = nullptr);

// Runs "format" and answers "yes" to each "YES or NO" question. True once the instrument reports
// "OK"; false on "aborted", after 100 reads without either, or when the command is not taken.
bool FormatRecorder(link::Link& link);

} // namespace qpx::operations
