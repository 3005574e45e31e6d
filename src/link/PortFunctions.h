#pragma once

#include "link/Port.h"

#include <cstdint>
#include <string_view>

// The serial library's timed functions, written once on top of the Port primitives.
//
// Wire semantics every caller relies on:
// - Timed reads return as soon as what they wait for has arrived; the time-out is only the upper
//   bound. None of them spins: an empty buffer is waited on through the port.
// - The terminator argument of the string functions is always kLineTerminator (-2). Writes send
//   the text exactly as given (callers put a CR in the text where one is needed).
// - ReadStringTimed with -2 returns when it holds `count` characters, when the time-out ends, or
//   as soon as it holds a complete line: at least one character other than CR and LF, ended by a
//   LF (a CR LF pair included). Leading CR and LF bytes do not end it. It never reads a byte past
//   that LF, so a binary frame that follows an "OK" line stays in the receive buffer whole.
namespace qpx::link {

// Sends one byte and waits up to `timeoutMs` for it to leave. 1 on success, negative on failure.
int WriteCharTimed(Port& port, std::uint8_t byte, int timeoutMs);
// Sends `text` and waits up to `timeoutMs` for it to leave. The count sent, negative on failure.
int WriteStringTimed(Port& port, std::string_view text, int terminator, int timeoutMs);
// Sends `text` without waiting. The count queued, negative on failure.
int WriteString(Port& port, std::string_view text, int terminator);
// The next byte (0..255) within `timeoutMs`, kNoByte when none came, negative on failure.
int ReadCharTimed(Port& port, int timeoutMs);
// Reads into `buffer` (which holds at least count + 1 bytes) as described above and always
// NUL-terminates it. Returns the number of characters stored.
int ReadStringTimed(Port& port, char* buffer, int count, int terminator, int timeoutMs);
// Reads until `count` bytes are in or the time-out ends; the number read is also left in the
// port's lastCount. Returns that number, negative on failure.
int ReadBufferTimed(Port& port, std::uint8_t* buffer, int count, int timeoutMs);
// Discards everything waiting in the receive buffer; negative on failure.
int ClearRXBuffer(Port& port);

} // namespace qpx::link
