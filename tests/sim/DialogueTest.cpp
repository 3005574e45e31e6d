#include "sim/Dialogue.h"

#include "WireHelpers.h"
#include "sim/CommandTable.h"
#include "sim/Frames.h"
#include "sim/Instrument.h"
#include "sim/SimulatedLine.h"

#include <memory>

#include <gtest/gtest.h>

// Commands that go on after their first reply, built the way the recorder and deployment
// commands are: a question waiting for its answer, a block transfer driven by ACK and NAK, and
// output the instrument sends on its own schedule.
namespace qpx::test {
namespace {

using sim::CommandContext;
using sim::Instrument;
using sim::Micros;
using sim::Reply;

class ConfirmErase final : public sim::Dialogue {
public:
    bool onLine(CommandContext& context) override {
        context.reply.line(sim::EqualsIgnoringCase(context.line, "yes") ? "OK" : "Erase aborted");
        context.reply.prompt = true;
        return false;
    }
};

void Erase(CommandContext& context) {
    context.reply.line("Erase all data? YES or NO");
    context.reply.prompt = false;
    context.instrument.beginDialogue(std::make_unique<ConfirmErase>());
}

// Sends 'c', then one block per ACK ('a'); a NAK ('b') repeats the last block; after the end
// block and its ACK the prompt returns.
class BlockTransfer final : public sim::Dialogue {
public:
    bool takesLines() const override { return false; }
    bool onByte(Instrument&, std::uint8_t byte, Micros, Reply& reply) override {
        if (byte == 'b' && sent_ > 0) {
            reply.raw(Block(sent_ - 1));
            return true;
        }
        if (byte != 'a') {
            return true;
        }
        if (sent_ == kBlocks + 1) {
            reply.prompt = true;
            return false;
        }
        reply.raw(Block(sent_++));
        return true;
    }

    static constexpr int kBlocks = 2;
    static std::vector<std::uint8_t> Block(int index) {
        if (index >= kBlocks) {
            return sim::BuildFrame({});
        }
        const std::vector<std::uint8_t> payload(3, static_cast<std::uint8_t>('0' + index));
        return sim::BuildFrame(payload);
    }

private:
    int sent_ = 0;
};

void Blocks(CommandContext& context) {
    context.reply.line("OK");
    context.reply.raw("c");
    context.reply.prompt = false;
    context.instrument.beginDialogue(std::make_unique<BlockTransfer>());
}

void Ticks(CommandContext& context) {
    context.reply.line("OK");
    struct Tick {
        int left;
        void operator()(Instrument& instrument, Micros at) const {
            Reply reply;
            reply.prompt = false;
            reply.line("tick " + std::to_string(left));
            instrument.send(reply, at);
            if (left > 1) {
                instrument.schedule(at + sim::FromMs(1000), Tick{left - 1});
            }
        }
    };
    context.instrument.schedule(context.at + sim::FromMs(1000), Tick{3});
}

TEST(InstrumentDialogue, QuestionWaitsForItsAnswerLine) {
    sim::SimulatedLine line;
    line.instrument().commands().add("erase", Erase);
    EXPECT_EQ(Exchange(line, "erase\r"), "erase\r\nErase all data? YES or NO\r\n");
    EXPECT_EQ(Exchange(line, "yes\r"), "yes\r\nOK\r\n>");
    // Over: the next line is a command again.
    EXPECT_EQ(Exchange(line, "erase\r"), "erase\r\nErase all data? YES or NO\r\n");
    EXPECT_EQ(Exchange(line, "no\r"), "no\r\nErase aborted\r\n>");
    EXPECT_EQ(line.instrument().transcript(),
              (std::vector<std::string>{"erase", "yes", "erase", "no"}));
}

TEST(InstrumentDialogue, BlockTransferAnswersAckAndNakWithoutEcho) {
    sim::SimulatedLine line;
    line.instrument().commands().add("blocks", Blocks);
    EXPECT_EQ(Exchange(line, "blocks\r"), "blocks\r\nOK\r\nc");
    const std::string first = AsText(BlockTransfer::Block(0));
    EXPECT_EQ(Exchange(line, "a"), first);
    EXPECT_EQ(Exchange(line, "b"), first);
    EXPECT_EQ(Exchange(line, "a"), AsText(BlockTransfer::Block(1)));
    EXPECT_EQ(Exchange(line, "a"), AsText(sim::BuildFrame({})));
    EXPECT_EQ(Exchange(line, "a"), ">");
    EXPECT_EQ(Exchange(line, "Ver\r").substr(0, 5), "Ver\r\n");
}

TEST(InstrumentDialogue, ScheduledOutputArrivesOnItsOwn) {
    sim::SimulatedLine line;
    line.instrument().commands().add("ticks", Ticks);
    EXPECT_EQ(Exchange(line, "ticks\r"), "ticks\r\nOK\r\n>");
    const TimedText ticks = CollectTimed(line.port(), 2000);
    ASSERT_EQ(ticks.text, "tick 3\r\ntick 2\r\ntick 1\r\n");
    const std::size_t second = ticks.text.find("tick 2");
    EXPECT_NEAR(static_cast<double>(ticks.arrivalMs[second] - ticks.arrivalMs[0]), 1000.0, 2.0);
}

TEST(InstrumentDialogue, WakingUpEndsAnOpenDialogue) {
    sim::SimulatedLine line;
    line.instrument().commands().add("erase", Erase);
    Exchange(line, "erase\r");
    line.port().sendBreak(200);
    Collect(line.port(), 1000);
    EXPECT_EQ(Exchange(line, "yes\r"), "yes\r\nERROR: Unknown command\r\n>");
}

} // namespace
} // namespace qpx::test
