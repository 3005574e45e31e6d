#pragma once

#include "sim/CommandContext.h"
#include "sim/Reply.h"
#include "sim/WireTime.h"

#include <cstdint>

namespace qpx::sim {

class Instrument;

// A command that goes on after its first reply: a question waiting for "YES", a block transfer
// waiting for ACK or NAK. While one is open the instrument hands its input to it instead of the
// command table. A command starts one with Instrument::beginDialogue.
class Dialogue {
public:
    virtual ~Dialogue() = default;

    // Text dialogues gather echoed, CR-ended lines; byte dialogues get every byte, unechoed.
    virtual bool takesLines() const { return true; }

    // One answer line. Fills context.reply (the prompt is off unless set); returns false when
    // the dialogue is over.
    virtual bool onLine(CommandContext& context) {
        (void)context;
        return false;
    }
    // One byte (byte dialogues). Fills `reply` (no prompt unless set); false when over.
    virtual bool onByte(Instrument& instrument, std::uint8_t byte, Micros at, Reply& reply) {
        (void)instrument;
        (void)byte;
        (void)at;
        (void)reply;
        return false;
    }
};

} // namespace qpx::sim
