#include "serial/SystemClock.h"

#include "serial/LocalWait.h"

#include <QDateTime>
#include <chrono>

namespace qpx::serial {

std::int64_t SystemClock::nowMs() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}

void SystemClock::sleepMs(int ms) {
    SleepMs(ms);
}

link::CalendarTime SystemClock::localTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

int SystemClock::utcOffsetSeconds() {
    return QDateTime::currentDateTime().offsetFromUtc();
}

} // namespace qpx::serial
