#include "link/CommandJournal.h"

namespace qpx::link {

bool JournalEntry::succeeded() const {
    const bool sent = echoChecked ? echoed : attempts > 0;
    return sent && (!replyAwaited || !reply.empty());
}

void CommandJournal::begin(std::string_view command, const CalendarTime& time, bool echoChecked) {
    JournalEntry entry;
    entry.step = step_;
    entry.command = std::string(command);
    entry.time = time;
    entry.echoChecked = echoChecked;
    entries_.push_back(std::move(entry));
}

void CommandJournal::attempted(bool echoMatched) {
    if (!entries_.empty()) {
        ++entries_.back().attempts;
        entries_.back().echoed = echoMatched;
    }
}

void CommandJournal::awaitReply() {
    if (!entries_.empty()) {
        entries_.back().replyAwaited = true;
    }
}

void CommandJournal::replied(std::string_view reply) {
    if (!entries_.empty()) {
        entries_.back().reply = std::string(reply);
    }
}

} // namespace qpx::link
