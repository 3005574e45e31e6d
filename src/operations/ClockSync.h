#pragma once

#include "link/Clock.h"
#include "link/Link.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Reading and setting the instrument's real-time clock with its "Date" and "Time" commands.
namespace qpx::operations {

enum class ClockMode {
    Auto = 0,   // set the instrument to the computer's clock
    Manual = 1, // set it to the date-time control's value
};

// Wakes the instrument and asks "Date" and "Time". The instrument's local time, or nothing when
// it did not answer as a QPX or Merovane, a line end or prompt did not come, or a reply held no
// number. Shows no message: the caller simply does not go on.
std::optional<link::CalendarTime> ReadInstrumentClock(link::Link& link);

// Reads "%d/%02d/%02d" (or "%d:%02d:%02d" with ':') from `reply` once every `remove` text has
// been taken out, as sscanf would. Nothing unless at least the first number is there; numbers
// that do not follow count as 0.
std::optional<std::array<int, 3>> ReadClockNumbers(std::string_view reply, std::string_view remove,
                                                   char separator);

// The six numbers as a calendar time, out-of-range values carried the way the C library's
// mktime carries them (month 0 is December of the year before, day 0 the last day of the month
// before).
link::CalendarTime NormalisedCalendarTime(int year, int month, int day, int hour, int minute,
                                          int second);

// The two lines that set the clock to the second after `now`, both from that one instant: with
// the full carry a 23:59:59 on 2001/12/31 becomes "Date 2002/01/01" and "Time 00:00:00", never
// a second 60 on the old date. Each ends with the CR without which the instrument never runs it.
struct ClockSettingLines {
    std::string date; // "Date %d/%02d/%02d" CR
    std::string time; // "Time %02d:%02d:%02d" CR
};
ClockSettingLines MakeClockSettingLines(const link::CalendarTime& now);

// Wakes the instrument and sends the two lines, without echo check and without waiting for a
// reply (the instrument confirms nothing). The time is the dialog's in Manual mode, otherwise
// the computer's clock read once after the wake-up. False when the instrument did not answer as
// a QPX or Merovane, or a line could not be written.
bool SetInstrumentClock(link::Link& link, ClockMode mode, const link::CalendarTime& dialogTime);

} // namespace qpx::operations
