#pragma once

#include "link/Clock.h"

namespace qpx::screenshots {

// The computer's and the instrument's clocks in every picture, so that the images only change
// when a window does.
inline constexpr link::CalendarTime kComputerTime{2026, 3, 14, 10, 30, 0};
inline constexpr link::CalendarTime kInstrumentTime{2026, 3, 14, 10, 27, 41};

} // namespace qpx::screenshots
