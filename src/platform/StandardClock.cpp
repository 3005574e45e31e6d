#include "platform/StandardClock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace qpx::platform {

std::int64_t StandardClock::nowMs() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}

void StandardClock::sleepMs(int ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

link::CalendarTime StandardClock::localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    // The thread-safe form has a different name and argument order on each C library.
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

int StandardClock::utcOffsetSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    std::tm utc{};
#ifdef _WIN32
    localtime_s(&local, &now);
    gmtime_s(&utc, &now);
#else
    localtime_r(&now, &local);
    gmtime_r(&now, &utc);
#endif
    // From the two broken-down times: the C library's own "%z" differs between systems (a zone
    // name on some), and tm_gmtoff is not everywhere.
    const auto days = [](const std::tm& t) { return t.tm_year * 366 + t.tm_yday; };
    const int dayShift = days(local) == days(utc) ? 0 : (days(local) > days(utc) ? 1 : -1);
    return dayShift * 86400 + (local.tm_hour - utc.tm_hour) * 3600 +
           (local.tm_min - utc.tm_min) * 60 + (local.tm_sec - utc.tm_sec);
}

} // namespace qpx::platform
