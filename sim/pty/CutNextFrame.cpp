#include "sim/pty/CutNextFrame.h"

#include <algorithm>
#include <string_view>

namespace qpx::sim {

void CutNextFrame(Instrument& instrument, std::shared_ptr<bool> cut) {
    const CommandHandler* current = instrument.commands().find("Get");
    if (current == nullptr) {
        return;
    }
    instrument.commands().add("Get", [get = *current, cut](CommandContext& context) {
        get(context);
        if (*cut) {
            return;
        }
        // The frame follows the acknowledgement line; a reply without one (an unknown
        // structure, a missing frame) is left alone and the next Get is cut instead.
        const std::vector<std::uint8_t>& bytes = context.reply.bytes();
        constexpr std::string_view kAck = "OK\r\n";
        const auto ack = std::search(bytes.begin(), bytes.end(), kAck.begin(), kAck.end());
        if (ack == bytes.end()) {
            return;
        }
        const std::size_t frameStart = static_cast<std::size_t>(ack - bytes.begin()) + kAck.size();
        if (frameStart >= bytes.size()) {
            return;
        }
        std::size_t deadAfter = frameStart + (bytes.size() - frameStart) / 2;
        if (context.reply.deadAfter) {
            deadAfter = std::min(deadAfter, *context.reply.deadAfter);
        }
        context.reply.deadAfter = deadAfter;
        *cut = true;
    });
}

} // namespace qpx::sim
