#pragma once

#include "link/Clock.h"

#include <cstdint>

namespace qpx::link {

// Proleptic Gregorian calendar arithmetic, independent of the C library's time zone handling.
std::int64_t DaysFromCivil(int year, int month, int day);
CalendarTime CalendarFromSeconds(std::int64_t secondsSinceEpoch);
std::int64_t SecondsFromCalendar(const CalendarTime& time);
CalendarTime AddSeconds(const CalendarTime& time, std::int64_t seconds);
// A date and time a calendar has: years 1 to 9999, a real day of its month, 00:00:00 to 23:59:59.
bool IsCalendarTime(const CalendarTime& time);

} // namespace qpx::link
