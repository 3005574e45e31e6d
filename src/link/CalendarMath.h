#pragma once

#include "link/Clock.h"

#include <cstdint>

namespace qpx::link {

// Proleptic Gregorian calendar arithmetic, independent of the C library's time zone handling.
std::int64_t DaysFromCivil(int year, int month, int day);
CalendarTime CalendarFromSeconds(std::int64_t secondsSinceEpoch);
std::int64_t SecondsFromCalendar(const CalendarTime& time);
CalendarTime AddSeconds(const CalendarTime& time, std::int64_t seconds);

} // namespace qpx::link
