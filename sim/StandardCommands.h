#pragma once

#include "sim/CommandTable.h"

namespace qpx::sim {

// The commands every simulated instrument knows: "Ver", "systemtype", "enablewaves" and "Get"
// with CONF, USER or OPER.
void AddStandardCommands(CommandTable& table);

// The reply line of "enablewaves" for a waves option when the scenario names none.
std::string_view WavesReplyFor(int wavesOption);

} // namespace qpx::sim
