#pragma once

#include "sim/Reply.h"
#include "sim/WireTime.h"

#include <string_view>

namespace qpx::sim {

class Instrument;

// One complete input line as a command handler or a text dialogue sees it.
struct CommandContext {
    Instrument& instrument;
    std::string_view line;      // the whole line, without its CR
    std::string_view name;      // its first word
    std::string_view arguments; // the rest, leading blanks removed
    Micros at;                  // when the CR arrived
    Reply& reply;
};

} // namespace qpx::sim
