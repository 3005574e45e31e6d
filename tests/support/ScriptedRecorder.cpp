#include "support/ScriptedRecorder.h"

#include "link/FrameChecksum.h"

namespace qpx::test {
namespace {

const std::string kQuestion = "Formatting erases all data. Continue? (YES or NO)\r\n";

void PutU16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, value & 0xFFFF);
    PutU16(bytes, at + 2, value >> 16);
}

} // namespace

Bytes HeaderPayload(std::uint32_t capacity) {
    Bytes header(80);
    for (std::size_t i = 0; i < header.size(); ++i) {
        header[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    PutU32(header, 74, capacity);
    return header;
}

Bytes FilePayload(const CardFile& file) {
    Bytes block(28, 0);
    for (std::size_t i = 0; i < file.name.size() && i < 12; ++i) {
        block[i] = static_cast<std::uint8_t>(file.name[i]);
    }
    PutU32(block, 13, file.size);
    block[17] = 0x11;
    block[18] = 0x22;
    block[19] = 0x33;
    PutU16(block, 20, static_cast<std::uint32_t>(file.year - 1980));
    block[22] = static_cast<std::uint8_t>(file.day);
    block[23] = static_cast<std::uint8_t>(file.month);
    block[24] = static_cast<std::uint8_t>(file.minute);
    block[25] = static_cast<std::uint8_t>(file.hour);
    block[26] = static_cast<std::uint8_t>(file.hundredths);
    block[27] = static_cast<std::uint8_t>(file.second);
    return block;
}

std::string Block(const Bytes& payload, int checksumDelta) {
    Bytes block(payload.size() + 4);
    PutU16(block, 0, static_cast<std::uint32_t>(block.size()));
    std::copy(payload.begin(), payload.end(), block.begin() + 2);
    PutU16(block, block.size() - 2,
           static_cast<std::uint32_t>(link::FrameChecksum(payload) + checksumDelta) & 0xFFFF);
    return std::string(block.begin(), block.end());
}

ScriptedRecorder::ScriptedRecorder(ScriptedDevice& device) : device_(device) {
    device_.answer = [this](const std::string& line) { return answer(line); };
    device_.onWrite = [this](std::string_view bytes) { onWrite(bytes); };
}

std::vector<std::string> ScriptedRecorder::blocks() const {
    std::vector<Bytes> payloads{HeaderPayload(capacity)};
    for (const CardFile& file : files) {
        payloads.push_back(FilePayload(file));
    }
    payloads.push_back({});
    payloads.push_back(
        {static_cast<std::uint8_t>(usedUnits & 0xFF), static_cast<std::uint8_t>(usedUnits >> 8)});
    std::vector<std::string> out;
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        const auto replaced = replacePayload.find(static_cast<int>(i));
        out.push_back(Block(replaced != replacePayload.end() ? replaced->second : payloads[i]));
    }
    return out;
}

std::string ScriptedRecorder::answer(const std::string& line) {
    if (line == "bdir") {
        if (refuseBdir) {
            return "\nERROR\r\n>";
        }
        ++transfers;
        if (noStartChar) {
            return "\nOK\r\n";
        }
        // Deaf to the line while the blocks go: the ACK and NAK bytes are not echoed.
        device_.awake = false;
        sending_ = blocks();
        sends_.clear();
        next_ = 0;
        return "\nOK\r\nc";
    }
    if (line == "format") {
        questionsLeft_ = questions - 1;
        return "\n" + kQuestion;
    }
    if (line == "yes") {
        if (questionsLeft_ > 0) {
            --questionsLeft_;
            return "\n" + kQuestion;
        }
        if (!neverFinish) {
            ++formatsDone;
            if (!abortFormat) {
                files.clear();
                usedUnits = 0;
            }
            device_.arriveIn(formatMs,
                             abortFormat ? "Format aborted\r\n>" : "Format complete\r\nOK\r\n>");
        }
        return "\n";
    }
    const auto reply = device_.replies.find(line);
    return reply != device_.replies.end() ? "\n" + reply->second : "\n>";
}

void ScriptedRecorder::onWrite(std::string_view bytes) {
    if (next_ < 0) {
        return;
    }
    for (const char c : bytes) {
        handshake.push_back(c);
        if (c == 'a') {
            if (next_ < static_cast<int>(sending_.size())) {
                sendBlock(next_++);
            } else {
                next_ = -1;
                device_.awake = true;
                device_.arriveIn(1, ">");
                return;
            }
        } else if (c == 'b' && next_ > 0) {
            sendBlock(next_ - 1);
        }
    }
}

void ScriptedRecorder::sendBlock(int index) {
    if (silentFrom >= 0 && index >= silentFrom) {
        return;
    }
    const int send = sends_[index]++;
    std::string bytes = sending_[static_cast<std::size_t>(index)];
    const auto bad = badChecksum.find(index);
    if (bad != badChecksum.end() && send < bad->second) {
        bytes[bytes.size() - 2] = static_cast<char>(bytes[bytes.size() - 2] ^ 0x01);
    }
    const auto extra = noise.find(index);
    if (extra != noise.end() && send == 0) {
        bytes = extra->second + bytes;
    }
    device_.arriveIn(2, bytes);
}

} // namespace qpx::test
