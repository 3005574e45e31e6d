#include "link/CalendarMath.h"

namespace qpx::link {

// Howard Hinnant's days-from-civil algorithm: exact for every Gregorian date.
std::int64_t DaysFromCivil(int year, int month, int day) {
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CalendarTime CalendarFromSeconds(std::int64_t secondsSinceEpoch) {
    std::int64_t days = secondsSinceEpoch / 86400;
    std::int64_t rest = secondsSinceEpoch % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    CalendarTime t;
    t.year = static_cast<int>(y);
    t.month = static_cast<int>(m);
    t.day = static_cast<int>(d);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

std::int64_t SecondsFromCalendar(const CalendarTime& time) {
    return DaysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 +
           time.minute * 60 + time.second;
}

CalendarTime AddSeconds(const CalendarTime& time, std::int64_t seconds) {
    return CalendarFromSeconds(SecondsFromCalendar(time) + seconds);
}

bool IsCalendarTime(const CalendarTime& time) {
    if (time.year < 1 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1) {
        return false;
    }
    const int nextYear = time.month == 12 ? time.year + 1 : time.year;
    const int nextMonth = time.month == 12 ? 1 : time.month + 1;
    const std::int64_t daysInMonth =
        DaysFromCivil(nextYear, nextMonth, 1) - DaysFromCivil(time.year, time.month, 1);
    return time.day <= daysInMonth && time.hour >= 0 && time.hour <= 23 && time.minute >= 0 &&
           time.minute <= 59 && time.second >= 0 && time.second <= 59;
}

} // namespace qpx::link
