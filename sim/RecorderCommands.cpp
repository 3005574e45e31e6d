#include "model/TextFormat.h"
#include "sim/Frames.h"
#include "sim/Instrument.h"
#include "sim/OperationCommands.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace qpx::sim {
namespace {

constexpr std::uint8_t kAck = 'a';
constexpr std::uint8_t kNak = 'b';
constexpr std::string_view kStartChar = "c";
constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kCapacityOffset = 74;
constexpr std::size_t kEntrySize = 28;
constexpr std::size_t kNameField = 13;
constexpr std::string_view kFormatQuestion = "Formatting erases all data. Continue? (YES or NO)";

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFFu);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFFu);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    Put16(out, at, value & 0xFFFFu);
    Put16(out, at + 2, value >> 16);
}

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::vector<std::uint8_t> HeaderPayload(std::uint32_t capacity) {
    std::vector<std::uint8_t> header(kHeaderSize, 0);
    constexpr std::string_view label = "QPX RECORDER";
    std::copy(label.begin(), label.end(), header.begin());
    Put32(header, kCapacityOffset, capacity);
    return header;
}

std::vector<std::uint8_t> FilePayload(const RecorderFile& file) {
    std::vector<std::uint8_t> entry(kEntrySize, 0);
    const std::size_t count = std::min(file.name.size(), kNameField - 1);
    std::copy_n(file.name.begin(), count, entry.begin());
    Put32(entry, 13, file.size);
    Put16(entry, 20, static_cast<std::uint32_t>(std::max(0, file.year - 1980)));
    entry[22] = Byte(file.day);
    entry[23] = Byte(file.month);
    entry[24] = Byte(file.minute);
    entry[25] = Byte(file.hour);
    entry[26] = Byte(file.hundredths);
    entry[27] = Byte(file.second);
    return entry;
}

// The payloads in the order they go out; an empty one is the end block. A lost used-space
// block is a gap: its ACK and NAKs get no answer, and the ACK after it brings the prompt.
using Block = std::optional<std::vector<std::uint8_t>>;

std::vector<Block> DirectoryBlocks(Instrument& instrument) {
    const Scenario& scenario = instrument.scenario();
    std::vector<Block> blocks;
    blocks.push_back(HeaderPayload(scenario.recorderCapacity));
    for (const RecorderFile& file : instrument.recorderFiles()) {
        blocks.push_back(FilePayload(file));
    }
    const int extra = scenario.blockFault ? scenario.blockFault->extraFileBlocks : 0;
    for (int i = 0; i < extra; ++i) {
        RecorderFile file;
        file.name = model::FormatText("X%07d.QPX", i);
        file.size = 512;
        blocks.push_back(FilePayload(file));
    }
    blocks.emplace_back(std::vector<std::uint8_t>{});
    if (scenario.blockFault && scenario.blockFault->usedSpaceMissing) {
        blocks.emplace_back(std::nullopt);
    } else {
        std::vector<std::uint8_t> used(2, 0);
        Put16(used, 0, std::min<std::uint32_t>(instrument.recorderUsed() / 65536u, 0xFFFFu));
        blocks.push_back(std::move(used));
    }
    return blocks;
}

// After 'c': each ACK brings the next block, a NAK the same one again; the ACK after the last
// block brings the prompt. Nothing of it is echoed.
class DirectoryTransfer final : public Dialogue {
public:
    explicit DirectoryTransfer(Instrument& instrument) : blocks_(DirectoryBlocks(instrument)) {}

    bool takesLines() const override { return false; }

    bool onByte(Instrument& instrument, std::uint8_t byte, Micros at, Reply& reply) override {
        (void)at;
        if (byte == kAck) {
            ++next_;
            if (next_ >= blocks_.size()) {
                reply.prompt = true;
                return false;
            }
            sendBlock(instrument, reply);
        } else if (byte == kNak && next_ < blocks_.size() && started_) {
            sendBlock(instrument, reply);
        }
        return true;
    }

private:
    void sendBlock(Instrument& instrument, Reply& reply) {
        started_ = true;
        if (!blocks_[next_]) {
            return;
        }
        const std::optional<BlockFault>& fault = instrument.scenario().blockFault;
        FrameOptions options;
        if (fault && static_cast<std::size_t>(fault->badChecksumBlock) == next_ &&
            spoiled_ < fault->badChecksumTimes) {
            ++spoiled_;
            options.checksumDelta = 1;
        }
        if (fault && fault->dropLineInBlock >= 0 &&
            static_cast<std::size_t>(fault->dropLineInBlock) == next_) {
            reply.deadAfter = static_cast<std::size_t>(std::max(0, fault->dropLineAfter));
        }
        reply.raw(BuildFrame(*blocks_[next_], options));
    }

    std::vector<Block> blocks_;
    // Starts one before the header: the first ACK answers the 'c'.
    std::size_t next_ = static_cast<std::size_t>(-1);
    bool started_ = false;
    int spoiled_ = 0;
};

void Directory(CommandContext& context) {
    context.reply.line("OK");
    context.reply.raw(kStartChar);
    context.reply.prompt = false;
    context.instrument.beginDialogue(std::make_unique<DirectoryTransfer>(context.instrument));
}

// The question, then "yes" starts the formatting; its result comes on its own a while later.
class FormatQuestion final : public Dialogue {
public:
    bool onLine(CommandContext& context) override {
        Instrument& instrument = context.instrument;
        const FormatBehaviour& format = instrument.scenario().format;
        if (!EqualsIgnoringCase(context.line, "yes")) {
            context.reply.line("aborted");
            context.reply.prompt = true;
            return false;
        }
        if (format.asksTwice && !askedAgain_) {
            askedAgain_ = true;
            context.reply.line(kFormatQuestion);
            return true;
        }
        const bool aborted = format.aborted;
        instrument.schedule(context.at + FromMs(format.durationMs),
                            [aborted](Instrument& self, Micros t) {
                                Reply result;
                                if (aborted) {
                                    result.line("aborted");
                                } else {
                                    self.recorderFiles().clear();
                                    self.recorderUsed() = 0;
                                    result.line("Format complete");
                                    result.line("OK");
                                }
                                self.send(result, t);
                            });
        return false;
    }

private:
    bool askedAgain_ = false;
};

void Format(CommandContext& context) {
    context.reply.line(kFormatQuestion);
    context.reply.prompt = false;
    context.instrument.beginDialogue(std::make_unique<FormatQuestion>());
}

} // namespace

void AddRecorderCommands(CommandTable& table) {
    table.add("bdir", Directory);
    table.add("format", Format);
}

} // namespace qpx::sim
