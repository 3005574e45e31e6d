#pragma once

#include "link/Link.h"
#include "link/Port.h"
#include "link/ProgressView.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The echoed command exchange. The instrument echoes every byte it receives; a command is sent one
// character at a time, its echo compared, and the whole line sent again when the echo differs.
// Every attempt is recorded in "LogFile" in link.logDirectory (none: nothing is logged).
namespace qpx::link {

// The longest command text a line may carry (the CR comes on top). A longer command is refused
// whole, never cut short: SendCommand shows "COMMAND TOO LONG" and returns 0 without sending.
inline constexpr std::size_t kMaxCommandLength = 98;

// Sends one byte and waits for its echo, which is stored in `echoSlot` (left alone when no echo
// came). True when the echo equals `ch`.
bool SendEchoedChar(Port& port, std::uint8_t ch, std::uint8_t& echoSlot);

// Sends `command` + CR with echo check, up to 10 attempts. With `waitForPrompt` a CR is sent first
// and `promptChar` awaited. 1 when one attempt was echoed exactly, 0 otherwise (failures of the
// port are reported through link.messages; ten bad echoes are not). Before each attempt the line
// must go quiet; one that keeps receiving for about 5 s gives "FAIL TO QUIET THE LINE".
int SendCommand(Link& link, std::string_view command, char promptChar, bool waitForPrompt);

// Appends received bytes to `buffer` (the caller clears it; what came stays there) until `pattern`
// appears (1), `capacity` bytes are held (0) or about `maxPolls` milliseconds have passed (0).
int WaitForPrompt(Port& port, std::string& buffer, std::size_t capacity, std::string_view pattern,
                  int maxPolls);

// SendCommand with prompt, then waits about `timeoutMs` for a reply holding "OK" or "Default".
int SendCommandExpectOk(Link& link, std::string_view command, int timeoutMs);

// One step of a long sequence: appends `label` to the view, sends `command` expecting "OK", then
// appends "Success" CR LF and steps the bar. 1 on success or when `enabled` is false.
int SendCommandWithProgress(Link& link, bool enabled, std::string_view command,
                            std::string_view label, ProgressView* view);

} // namespace qpx::link
