#pragma once

#include <QObject>
#include <functional>

namespace qpx::ui {

// The one guard of every window against what arrives while the program talks to the instrument.
//
// The core's exchanges run on the user-interface thread and wait in local event loops that keep
// the windows painting and hold back mouse and keyboard input. Everything else is still delivered
// there: accessibility actions (they come over D-Bus), the window manager's close requests,
// timers, posted events. Any of them could end a window, close or replace the port, or start a
// second exchange on the same line while the first one is still using it. So an exchange is held
// as a scope of this class, and while one runs:
// - a second exchange is refused (the scope comes out disengaged and the caller does nothing);
// - every action of a window that would call into the core or open a window of its own asks
//   Refused() first and does nothing;
// - ending a window is deferred (GuardedDialog), and carried out as soon as the exchange is over.
//
// The state is the thread's, not a window's: whichever window runs the exchange, every window is
// behind the same guard.
class InstrumentExchange {
public:
    // Begins an exchange, unless one already runs (then the scope is disengaged).
    InstrumentExchange();
    ~InstrumentExchange();
    InstrumentExchange(const InstrumentExchange&) = delete;
    InstrumentExchange& operator=(const InstrumentExchange&) = delete;

    // False when another exchange ran already: the caller must not talk to the instrument.
    explicit operator bool() const { return engaged_; }

    // The user's turn in the middle of an exchange (a window of the sequence waits for the user,
    // as the system-time window between reading and setting the clock, or the planner between
    // download and upload): the windows act again, with the arrow cursor, until resume().
    void suspend();
    void resume();

    // True while an exchange runs and is not waiting for the user.
    static bool Running();
    // For an action that would call into the core or open a window: true (do nothing) while an
    // exchange runs.
    static bool Refused() { return Running(); }
    // Runs `action` now when no exchange runs, otherwise once the running one is over (never when
    // `context` has gone meanwhile).
    static void WhenIdle(QObject* context, std::function<void()> action);

private:
    void setRunning(bool running);

    bool engaged_ = false;
    bool running_ = false;
};

// The user's turn while an exchange of an outer window waits for a window of the sequence: what
// InstrumentExchange::suspend() does, for a scope.
class UserTurn {
public:
    UserTurn();
    ~UserTurn();
    UserTurn(const UserTurn&) = delete;
    UserTurn& operator=(const UserTurn&) = delete;

private:
    int saved_;
};

} // namespace qpx::ui
