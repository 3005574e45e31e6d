#pragma once

#include "support/ScriptedDevice.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qpx::test {

using Bytes = std::vector<std::uint8_t>;

// One file as the instrument lists it; the year is the calendar year (sent as years since 1980).
struct CardFile {
    std::string name;
    std::uint32_t size = 0;
    int year = 2001;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
};

Bytes HeaderPayload(std::uint32_t capacity);
Bytes FilePayload(const CardFile& file);
// A whole block: u16 length counting everything, payload, u16 checksum (+ checksumDelta).
std::string Block(const Bytes& payload, int checksumDelta = 0);

// A QPX on a scripted line that answers "bdir" with a block transfer and "format" with its
// question, exactly as the wire dialogue goes: "bdir" -> "OK", 'c'; each ACK brings the next
// block (header, files, end block, used space), a NAK the same one again, the last ACK the
// prompt. Other lines get `replies` or a bare prompt.
class ScriptedRecorder {
public:
    explicit ScriptedRecorder(ScriptedDevice& device);

    // The card.
    std::uint32_t capacity = 64u * 1048576u;
    std::vector<CardFile> files;
    std::uint16_t usedUnits = 0; // used space / 65536

    // Faults of the transfer, by block index (0 header, 1.. files, then end, then used space).
    bool refuseBdir = false;             // "ERROR" instead of "OK"
    bool noStartChar = false;            // "OK", then nothing
    std::map<int, int> badChecksum;      // block -> how many sends carry a wrong checksum
    std::map<int, std::string> noise;    // block -> bytes sent before its first send only
    std::map<int, Bytes> replacePayload; // block -> the payload sent instead
    int silentFrom = -1;                 // the line goes dead instead of sending this block

    // "format".
    int questions = 1;        // how many times "YES or NO" is asked
    bool abortFormat = false; // "aborted" instead of "OK"
    bool neverFinish = false; // no end after the last answer
    int formatMs = 3000;
    int formatsDone = 0; // a finished format empties the card

    // Everything the host sent during transfers: 'a' and 'b' bytes, in order.
    std::string handshake;
    int transfers = 0;

    // The blocks of a transfer, in sending order.
    std::vector<std::string> blocks() const;

private:
    std::string answer(const std::string& line);
    void onWrite(std::string_view bytes);
    void sendBlock(int index);

    ScriptedDevice& device_;
    std::vector<std::string> sending_;
    std::map<int, int> sends_;
    int next_ = -1; // next block to send; -1 outside a transfer
    int questionsLeft_ = 0;
};

} // namespace qpx::test
