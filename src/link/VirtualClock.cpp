#include "link/VirtualClock.h"

#include "link/CalendarMath.h"

namespace qpx::link {

void VirtualClock::sleepMs(int ms) {
    if (ms > 0) {
        now_ += ms;
    }
}

void VirtualClock::advanceTo(std::int64_t ms) {
    if (ms > now_) {
        now_ = ms;
    }
}

CalendarTime VirtualClock::localTime() {
    return AddSeconds(start_, (now_ - startMs_) / 1000);
}

void VirtualClock::setLocalTime(CalendarTime now) {
    start_ = now;
    startMs_ = now_;
}

} // namespace qpx::link
