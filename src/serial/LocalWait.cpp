#include "serial/LocalWait.h"

#include <QCoreApplication>
#include <QTimer>
#include <thread>

namespace qpx::serial {

LocalWait::LocalWait(int timeoutMs)
    : deadline_(std::chrono::steady_clock::now() +
                std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0)) {}

int LocalWait::remainingMs() const {
    const auto left = deadline_ - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
        return 0;
    }
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

WaitResult LocalWait::until(const std::function<bool()>& ready) {
    if (ready()) {
        return WaitResult::Ready;
    }
    if (QCoreApplication::instance() == nullptr) {
        return WaitResult::NoEventLoop;
    }
    QTimer timer;
    timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; a break or a pause must last its full time.
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop_, &QEventLoop::quit);
    for (;;) {
        const int left = remainingMs();
        if (left == 0) {
            // Nothing more to wait for, but let what has already arrived be delivered.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return ready() ? WaitResult::Ready : WaitResult::TimedOut;
        }
        timer.start(left);
        if (loop_.exec(QEventLoop::ExcludeUserInputEvents) == -1) {
            return ready() ? WaitResult::Ready : WaitResult::NoEventLoop;
        }
        if (ready()) {
            return WaitResult::Ready;
        }
        // A wake-up without the condition, or the timer a hair early: wait for the rest.
    }
}

void SleepMs(int ms) {
    if (ms <= 0) {
        return;
    }
    LocalWait wait(ms);
    if (wait.until([] { return false; }) == WaitResult::NoEventLoop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait.remainingMs()));
    }
}

} // namespace qpx::serial
