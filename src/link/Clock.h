#pragma once

#include <cstdint>

namespace qpx::link {

// Local calendar time as the instrument clock and the planner's start time see it.
struct CalendarTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// Every pause and every time-out of the core goes through a Clock, so that tests can run the
// protocol's many seconds of waiting on virtual time.
class Clock {
public:
    virtual ~Clock() = default;

    // Monotonic milliseconds since an arbitrary origin.
    virtual std::int64_t nowMs() = 0;
    // Blocks the caller for `ms` milliseconds (a non-positive value returns at once).
    virtual void sleepMs(int ms) = 0;
    // The computer's local wall-clock time.
    virtual CalendarTime localTime() = 0;
    // How far the local time is ahead of UTC, in seconds (negative west of Greenwich): records
    // name their instants in UTC so that they compare across time zones and clock changes.
    virtual int utcOffsetSeconds() { return 0; }
};

} // namespace qpx::link
