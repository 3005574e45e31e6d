#include "link/WakeAndIdentify.h"

#include "link/CommandExchange.h"
#include "link/PortFunctions.h"
#include "link/ReplyText.h"

#include <array>
#include <string>
#include <string_view>

namespace qpx::link {
namespace {

constexpr std::size_t kWakeBufferSize = 512;
constexpr int kTextReadCount = 511;
constexpr int kVersionReadMs = 1000;
constexpr std::uint8_t kStrayFrameByte = 0xE8;

std::string ReadText(Port& port, int timeoutMs) {
    std::array<char, kTextReadCount + 1> buffer{};
    const int n = ReadStringTimed(port, buffer.data(), kTextReadCount, kLineTerminator, timeoutMs);
    return std::string(buffer.data(), static_cast<std::size_t>(n > 0 ? n : 0));
}

// A sleeping instrument: break first, then the wake-up string. 0 once the prompt came, otherwise
// the negative SystemType that says why not. `wake` keeps everything received on the way.
int WakeFromSleep(Link& link, std::string& wake) {
    Port& port = link.port;
    if (ClearRXBuffer(port) < 0) {
        return kSystemClearFailed;
    }
    if (port.sendBreak(200) < 0) {
        return kSystemBreakFailed;
    }
    link.clock().sleepMs(1000);
    const bool found =
        port.rxCount() > 0 && WaitForPrompt(port, wake, kWakeBufferSize, ">", 2000) == 1;
    // An SDI-12 interface may print a '>' of its own; it is never the instrument's prompt.
    if (Contains(wake, "SDI-12")) {
        return kSystemSdi12;
    }
    if (found) {
        return 0;
    }
    if (Contains(wake, "Compass")) {
        // The compass is still starting up and the prompt follows it: no wake-up string.
        return WaitForPrompt(port, wake, kWakeBufferSize, ">", 15000) == 1 ? 0 : kSystemNoPrompt;
    }
    if (ClearRXBuffer(port) < 0) {
        return kSystemClearFailed;
    }
    static constexpr std::uint8_t kWakeUpString[] = {'+', '+', '+', '+', '+',
                                                     '+', '+', '+', '+', '+'};
    if (port.writeBuffer(kWakeUpString, static_cast<int>(sizeof kWakeUpString)) < 0) {
        return kSystemNoPrompt;
    }
    link.clock().sleepMs(500);
    WriteStringTimed(port, "\r", kLineTerminator, 1000);
    return WaitForPrompt(port, wake, kWakeBufferSize, ">", 3000) == 1 ? 0 : kSystemNoPrompt;
}

// Some instruments put a 0xE8 right behind the echoed CR of "Ver". Left in place it would make
// the line read "\xE8\n" and the version text would be missed. Whether it has arrived when we
// look must not matter, so the first reply byte is awaited (within the read's own time-out).
std::string ReadVersionText(Link& link) {
    Port& port = link.port;
    Clock& clock = link.clock();
    const std::int64_t start = clock.nowMs();
    port.waitReadable(kVersionReadMs);
    if (port.peekChar() == kStrayFrameByte) {
        port.readChar();
    }
    const std::int64_t left = kVersionReadMs - (clock.nowMs() - start);
    return ReadText(port, left > 0 ? static_cast<int>(left) : 0);
}

struct VersionMark {
    std::string_view text;
    int systemType;
};

// The first mark found wins: a CLV that mentions QPX is a QPX, a ZEB that mentions WQS a ZEB.
constexpr std::array<VersionMark, 6> kVersionMarks{{
    {"QPX", kSystemQpx},
    {"MRV", kSystemMerovane},
    {"CLV", kSystemClv},
    {"Rill", kSystemRill},
    {"ZEB", kSystemZeb},
    {"WQS", kSystemWqs},
}};

int Classify(Link& link, std::string_view version) {
    for (const VersionMark& mark : kVersionMarks) {
        if (!Contains(version, mark.text)) {
            continue;
        }
        if (mark.systemType != kSystemClv) {
            return mark.systemType;
        }
        // A CLV may in fact run a WQS; only "systemtype" tells. Its echo result does not matter:
        // the answer decides.
        SendCommand(link, "systemtype", '>', true);
        return Contains(ReadText(link.port, 500), "WQS") ? kSystemClvReportingWqs : kSystemClv;
    }
    return kSystemUnknownVersion;
}

} // namespace

int WakeAndIdentify(Link& link) {
    Port& port = link.port;
    if (ClearRXBuffer(port) < 0) {
        return kSystemClearFailed;
    }
    WriteStringTimed(port, " ", kLineTerminator, 500);
    // Shared by every prompt wait of this call, as the banner of a waking instrument may come in
    // pieces across them.
    std::string wake;
    if (WaitForPrompt(port, wake, kWakeBufferSize, ">", 1500) == 0) {
        const int woken = WakeFromSleep(link, wake);
        if (woken < 0) {
            return woken;
        }
        // A freshly woken instrument needs a moment before it takes commands.
        link.clock().sleepMs(2000);
    }
    if (SendCommand(link, "Ver", '>', true) == 0) {
        return kSystemVerNotEchoed;
    }
    const std::string version = ReadVersionText(link);
    const int systemType = Classify(link, version);
    ReadText(port, 300); // the rest of the answer and the prompt
    link.identity = {version, systemType};
    return systemType;
}

} // namespace qpx::link
