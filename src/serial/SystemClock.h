#pragma once

#include "link/Clock.h"

namespace qpx::serial {

// The computer's clocks: steady milliseconds for time-outs, the local wall clock for the
// instrument's clock and the planner's start time. Pauses run a local event loop (see LocalWait),
// so a GUI keeps painting through the protocol's long pauses and nothing spins.
class SystemClock final : public link::Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(int ms) override;
    link::CalendarTime localTime() override;
    int utcOffsetSeconds() override;
};

} // namespace qpx::serial
