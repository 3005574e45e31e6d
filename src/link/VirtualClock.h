#pragma once

#include "link/Clock.h"

#include <cstdint>

namespace qpx::link {

// A clock that stands still until somebody waits on it. Sleeping advances it at once, so a test
// that goes through 20 s of protocol pauses runs in microseconds of real time. The simulated
// instrument is driven from the same time line (its port advances the clock to the next byte).
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(CalendarTime start = {2001, 7, 4, 9, 0, 0}) : start_(start) {}

    std::int64_t nowMs() override { return now_; }
    void sleepMs(int ms) override;
    CalendarTime localTime() override;
    int utcOffsetSeconds() override { return utcOffset_; }
    void setUtcOffsetSeconds(int seconds) { utcOffset_ = seconds; }

    // Moves time forward to `ms`; never backwards.
    void advanceTo(std::int64_t ms);
    // Sets the wall-clock reading that corresponds to the current instant.
    void setLocalTime(CalendarTime now);

private:
    std::int64_t now_ = 0;
    std::int64_t startMs_ = 0;
    CalendarTime start_;
    int utcOffset_ = 0;
};

} // namespace qpx::link
