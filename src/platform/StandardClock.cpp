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

} // namespace qpx::platform
