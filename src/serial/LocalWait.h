#pragma once

#include <QEventLoop>
#include <QObject>
#include <chrono>
#include <functional>

namespace qpx::serial {

enum class WaitResult { Ready, TimedOut, NoEventLoop };

// One bounded wait of the core on the user-interface thread.
//
// The core blocks while it waits for the instrument; that is its design. The wait runs a local
// QEventLoop with QEventLoop::ExcludeUserInputEvents until a wake-up signal or a single-shot
// timer ends it, so the windows keep painting and their timers keep running, the user cannot
// click into a half-finished exchange, and the thread sleeps in the event dispatcher instead of
// spinning. QSerialPort moves bytes only while an event loop runs, so this is also where they
// come in and go out.
//
// A local loop cannot run without a QCoreApplication or once the application has been told to
// quit (exec returns at once); then until() reports NoEventLoop and the caller must block by
// other means rather than call it again.
class LocalWait {
public:
    explicit LocalWait(int timeoutMs);
    LocalWait(const LocalWait&) = delete;
    LocalWait& operator=(const LocalWait&) = delete;

    // Re-checks the condition whenever `signal` of `sender` fires.
    template <typename Sender, typename Signal>
    void wakeOn(const Sender* sender, Signal signal) {
        QObject::connect(sender, signal, &loop_, &QEventLoop::quit);
    }

    // Returns as soon as `ready` holds (at once when it already does) or the time-out has passed.
    WaitResult until(const std::function<bool()>& ready);
    // Whole milliseconds left, rounded up; 0 once the time-out has passed.
    int remainingMs() const;

private:
    QEventLoop loop_;
    std::chrono::steady_clock::time_point deadline_;
};

// Sleeps `ms` milliseconds through a LocalWait, or in the thread when no event loop can run.
void SleepMs(int ms);

} // namespace qpx::serial
