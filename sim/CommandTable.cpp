#include "sim/CommandTable.h"

namespace qpx::sim {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

void CommandTable::add(std::string_view name, CommandHandler handler) {
    for (Entry& entry : entries_) {
        if (EqualsIgnoringCase(entry.name, name)) {
            entry.handler = std::move(handler);
            return;
        }
    }
    entries_.push_back({std::string(name), std::move(handler)});
}

const CommandHandler* CommandTable::find(std::string_view name) const {
    for (const Entry& entry : entries_) {
        if (EqualsIgnoringCase(entry.name, name)) {
            return &entry.handler;
        }
    }
    return nullptr;
}

} // namespace qpx::sim
