#include "ui/InstrumentExchange.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <utility>
#include <vector>

namespace qpx::ui {
namespace {

// Exchanges running and not waiting for the user. Only ever 0 or 1 (a second is refused), but
// kept as a count so a user's turn can hand it back whole.
int gRunning = 0;

struct Deferred {
    QPointer<QObject> context;
    std::function<void()> action;
};

std::vector<Deferred>& Waiting() {
    static std::vector<Deferred> waiting;
    return waiting;
}

// Posted, not run in place: the scope that just ended may sit deep in a handler that must unwind
// first. An action whose turn comes while a new exchange runs waits again.
void RunDeferred() {
    std::vector<Deferred> due;
    due.swap(Waiting());
    for (Deferred& entry : due) {
        if (entry.context.isNull()) {
            continue;
        }
        QObject* context = entry.context.data();
        QTimer::singleShot(0, context, [context, action = std::move(entry.action)] {
            InstrumentExchange::WhenIdle(context, action);
        });
    }
}

} // namespace

InstrumentExchange::InstrumentExchange() {
    if (Running()) {
        return;
    }
    engaged_ = true;
    setRunning(true);
}

InstrumentExchange::~InstrumentExchange() {
    if (engaged_) {
        setRunning(false);
    }
}

void InstrumentExchange::suspend() {
    if (engaged_) {
        setRunning(false);
    }
}

void InstrumentExchange::resume() {
    if (engaged_) {
        setRunning(true);
    }
}

void InstrumentExchange::setRunning(bool running) {
    if (running == running_) {
        return;
    }
    running_ = running;
    if (running) {
        ++gRunning;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    --gRunning;
    QGuiApplication::restoreOverrideCursor();
    if (gRunning == 0) {
        RunDeferred();
    }
}

bool InstrumentExchange::Running() {
    return gRunning > 0;
}

void InstrumentExchange::WhenIdle(QObject* context, std::function<void()> action) {
    if (!Running()) {
        action();
        return;
    }
    Waiting().push_back({context, std::move(action)});
}

UserTurn::UserTurn() : saved_(gRunning) {
    gRunning = 0;
    if (saved_ > 0) {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        RunDeferred();
    }
}

UserTurn::~UserTurn() {
    gRunning = saved_;
    if (saved_ > 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace qpx::ui
