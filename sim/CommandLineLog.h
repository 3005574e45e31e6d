#pragma once

#include "sim/Instrument.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim {

// The line a transcript shows where a sleeping instrument heard its wake-up string.
inline constexpr std::string_view kWakeUpLine = "++++++++++";

// The command lines an instrument received, as qpx-sim's --transcript writes them: every
// complete line without its CR, with kWakeUpLine where the instrument woke. qpx-sim and the
// in-process replay of recorded sessions both read the instrument through this, so that the two
// tell the same story.
class CommandLineLog {
public:
    struct Entry {
        std::string text;
        bool wakeUp = false; // kWakeUpLine standing for a wake-up, not a line received
    };

    // Nothing seen yet: the first take() returns everything the instrument has had.
    explicit CommandLineLog(const Instrument& instrument) : instrument_(instrument) {}

    // Forget what the instrument has had so far.
    void skipSeen();
    // What came since the last call: a wake-up first, then the lines in order. Called after
    // every byte it keeps the exact order. Called less often, a wake-up after earlier lines of
    // the same call would move in front of them, and wake-ups between two calls count as one.
    std::vector<Entry> take();

private:
    const Instrument& instrument_;
    std::size_t linesSeen_ = 0;
    int wakesSeen_ = 0;
};

} // namespace qpx::sim
