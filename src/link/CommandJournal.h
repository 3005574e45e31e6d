#pragma once

#include "link/Clock.h"

#include <string>
#include <string_view>
#include <vector>

// What became of each command line an exchange sent, in order, for the deployment record. The
// journal only listens: lending one to a Link changes nothing on the wire.
namespace qpx::link {

struct JournalEntry {
    std::string step;    // the progress step it was sent in ("Update Comments"), if any
    std::string command; // without its CR
    CalendarTime time;   // the computer's local time when it was begun
    // Lines sent; 0 when it was refused before the first (no prompt, a port failure).
    int attempts = 0;
    // Sent one byte at a time with its echo compared; false for the lines of the "Comments"
    // dialogue, which has no echo check.
    bool echoChecked = true;
    bool echoed = false;       // one attempt's echo matched
    bool replyAwaited = false; // an "OK" or "Default" was waited for after the echo
    std::string reply;         // "OK" or "Default" when one came

    // Nothing went wrong with this line.
    bool succeeded() const;
};

class CommandJournal {
public:
    // The progress step the next lines belong to; also the step a failure is blamed on.
    void stepBegun(std::string_view name) { step_ = std::string(name); }
    const std::string& step() const { return step_; }
    void begin(std::string_view command, const CalendarTime& time, bool echoChecked = true);
    // The last line begun: one more attempt, its echo matched or not.
    void attempted(bool echoMatched);
    void awaitReply();
    void replied(std::string_view reply);

    const std::vector<JournalEntry>& entries() const { return entries_; }

private:
    std::vector<JournalEntry> entries_;
    std::string step_;
};

} // namespace qpx::link
