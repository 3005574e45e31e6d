#include "link/CommandExchange.h"

#include "link/LogFile.h"
#include "link/PortFunctions.h"
#include "link/ProgressStep.h"
#include "link/ReplyText.h"

#include <array>
#include <optional>

namespace qpx::link {
namespace {

constexpr int kMaxEchoPolls = 100;
constexpr int kMaxAttempts = 10;
constexpr std::size_t kEchoBufferSize = 200;
constexpr std::size_t kPromptBufferSize = 1024;
constexpr int kPromptPolls = 2500;

// The line counts as quiet once a 100 ms pause brought no byte. An instrument that never stops
// talking (one already deployed, printing its samples) would hold the exchange forever, so we
// give up after 50 rounds: about 5 s, far longer than any reply takes to end.
constexpr int kMaxQuietingRounds = 50;

bool QuietLine(Link& link) {
    for (int round = 0; round < kMaxQuietingRounds; ++round) {
        link.clock().sleepMs(100);
        const int noted = link.port.rxCount();
        if (ClearRXBuffer(link.port) < 0) {
            link.messages.showMessage("FAIL TO CLEAR RECEIVE BUFFER 2");
            return false;
        }
        if (noted == 0) {
            return true;
        }
    }
    link.messages.showMessage("FAIL TO QUIET THE LINE");
    return false;
}

} // namespace

bool SendEchoedChar(Port& port, std::uint8_t ch, std::uint8_t& echoSlot) {
    if (port.clearTx() < 0 || ClearRXBuffer(port) < 0) {
        return false;
    }
    if (WriteCharTimed(port, ch, 5) < 0) {
        return false;
    }
    Clock& clock = port.clock();
    clock.sleepMs(5);
    int emptyPolls = 0;
    for (;;) {
        const bool empty = port.rxCount() <= 0;
        if (empty) {
            if (emptyPolls >= kMaxEchoPolls) {
                return false;
            }
            clock.sleepMs(5);
            if (++emptyPolls >= kMaxEchoPolls) {
                return false;
            }
        }
        const int echo = ReadCharTimed(port, 50);
        if (echo == kNoByte) {
            // A port that claimed a byte and then delivered none is counted too, so that a
            // confused backend cannot hold us here.
            if (!empty && ++emptyPolls >= kMaxEchoPolls) {
                return false;
            }
            continue;
        }
        if (echo < 0) {
            return false;
        }
        echoSlot = static_cast<std::uint8_t>(echo);
        return echoSlot == ch;
    }
}

int SendCommand(Link& link, std::string_view command, char promptChar, bool waitForPrompt) {
    // The line has room for 98 characters and its CR; a longer command is a caller's mistake and
    // is refused whole rather than sent cut short.
    if (command.size() > kMaxCommandLength) {
        link.messages.showMessage("COMMAND TOO LONG");
        return 0;
    }
    Port& port = link.port;
    std::string line(command);
    line.push_back('\r');
    if (link.journal != nullptr) {
        link.journal->begin(command, link.clock().localTime());
    }

    std::optional<LogFile> log;
    if (link.logDirectory) {
        log.emplace(*link.logDirectory);
        if (!log->open()) {
            log.reset();
        }
    }

    link.clock().sleepMs(100);
    if (port.clearTx() < 0) {
        link.messages.showMessage("FAIL TO CLEAR TRANSMIT BUFFER");
        return 0;
    }
    if (ClearRXBuffer(port) < 0) {
        link.messages.showMessage("FAIL TO CLEAR RECEIVE BUFFER");
        return 0;
    }
    if (waitForPrompt) {
        WriteStringTimed(port, "\r", kLineTerminator, 2000);
        std::string promptBuffer;
        if (WaitForPrompt(port, promptBuffer, kPromptBufferSize, std::string_view(&promptChar, 1),
                          kPromptPolls) == 0) {
            link.messages.showMessage("FAIL TO LOCATE PROMPT");
            return 0;
        }
    }

    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        if (!QuietLine(link)) {
            return 0;
        }
        // A character whose echo never came leaves a 0 here, which ends the echo text early and
        // so counts as a mismatch.
        std::array<std::uint8_t, kEchoBufferSize> echo{};
        for (std::size_t i = 0; i < line.size(); ++i) {
            SendEchoedChar(port, static_cast<std::uint8_t>(line[i]), echo[i]);
        }
        std::string echoText;
        for (std::size_t i = 0; i < line.size() && echo[i] != 0; ++i) {
            echoText.push_back(static_cast<char>(echo[i]));
        }
        if (log) {
            log->write(line);
            log->write(std::string(1, promptChar) + echoText);
        }
        if (link.journal != nullptr) {
            link.journal->attempted(echoText == line);
        }
        if (echoText == line) {
            return 1;
        }
        if (log) {
            log->write("   <------ Bad Transmission\r");
        }
    }
    return 0;
}

int SendCommandExpectOk(Link& link, std::string_view command, int timeoutMs) {
    if (SendCommand(link, command, '>', true) == 0) {
        return 0;
    }
    if (link.journal != nullptr) {
        link.journal->awaitReply();
    }
    const std::int64_t rounded = (static_cast<std::int64_t>(timeoutMs) + 500) / 1000;
    const int reads = rounded < 1 ? 1 : static_cast<int>(rounded);
    // Gathered before searching, so an "OK" cut across two reads is still found.
    std::string reply;
    std::array<char, 100> buffer{};
    for (int i = 0; i < reads; ++i) {
        buffer.fill('\0');
        const int n = ReadStringTimed(link.port, buffer.data(), 99, kLineTerminator, 1000);
        reply.append(buffer.data(), static_cast<std::size_t>(n > 0 ? n : 0));
        if (Contains(reply, "OK") || Contains(reply, "Default")) {
            if (link.journal != nullptr) {
                link.journal->replied(Contains(reply, "OK") ? "OK" : "Default");
            }
            return 1;
        }
    }
    buffer.fill('\0');
    ReadStringTimed(link.port, buffer.data(), 99, kLineTerminator, 1000);
    return 0;
}

int SendCommandWithProgress(Link& link, bool enabled, std::string_view command,
                            std::string_view label, ProgressView* view) {
    if (!enabled) {
        return 1;
    }
    ProgressSteps steps(view, link.clock(), {}, {.reportsFailure = false});
    return steps.runLabelled(label, 150,
                             [&] { return SendCommandExpectOk(link, command, 3000) != 0; })
               ? 1
               : 0;
}

} // namespace qpx::link
