#pragma once

#include "link/Clock.h"
#include "link/VirtualClock.h"

#include <cstdint>

namespace qpx::bench {

// The virtual clock as the port sees it, adding up every pause taken through it: those are the
// pauses the protocol prescribes. Waiting for bytes goes through the port device instead.
class PauseCountingClock : public link::Clock {
public:
    explicit PauseCountingClock(link::VirtualClock& clock) : clock_(clock) {}
    std::int64_t nowMs() override { return clock_.nowMs(); }
    void sleepMs(int ms) override {
        pausedMs += ms > 0 ? ms : 0;
        clock_.sleepMs(ms);
    }
    link::CalendarTime localTime() override { return clock_.localTime(); }
    std::int64_t pausedMs = 0;

private:
    link::VirtualClock& clock_;
};

} // namespace qpx::bench
