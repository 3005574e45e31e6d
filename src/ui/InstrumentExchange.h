#pragma once

namespace qpx::ui {

// Held while a window's core call talks to the instrument. The exchange waits in a local event
// loop that keeps the windows painting and drops user input, but queued events (a timer, a
// click posted before the wait) still arrive there; the window's handlers check `busy` and do
// nothing while it is set, so the core is never re-entered on the same line. The wait cursor
// tells the user that the window cannot be used meanwhile.
class InstrumentExchange {
public:
    explicit InstrumentExchange(bool& busy);
    ~InstrumentExchange();
    InstrumentExchange(const InstrumentExchange&) = delete;
    InstrumentExchange& operator=(const InstrumentExchange&) = delete;

    // The arrow cursor while one of the program's own windows waits for the user in between
    // (the system-time window between reading and setting the clock), then the wait cursor again.
    void suspend();
    void resume();

private:
    bool& busy_;
    bool cursor_ = false;
};

} // namespace qpx::ui
