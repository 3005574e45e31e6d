#pragma once

#include "sim/CommandContext.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim {

using CommandHandler = std::function<void(CommandContext&)>;

// The instrument's command words and what each does. Words match without regard to letter case,
// as the instrument's own parser reads them; the arguments go to the handler as typed.
class CommandTable {
public:
    // Adds a command, or replaces the handler of one already there.
    void add(std::string_view name, CommandHandler handler);
    // Null when the word is not a command.
    const CommandHandler* find(std::string_view name) const;

private:
    struct Entry {
        std::string name;
        CommandHandler handler;
    };
    std::vector<Entry> entries_;
};

// True when the two texts are equal ignoring ASCII letter case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace qpx::sim
