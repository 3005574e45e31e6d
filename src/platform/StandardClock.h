#pragma once

#include "link/Clock.h"

namespace qpx::platform {

// The computer's clocks from the C++ library alone, for programs without Qt's event loop: steady
// milliseconds, pauses that block the thread, the local wall-clock time.
class StandardClock final : public link::Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(int ms) override;
    link::CalendarTime localTime() override;
    int utcOffsetSeconds() override;
};

} // namespace qpx::platform
