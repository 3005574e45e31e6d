#pragma once

#include "link/Clock.h"
#include "sim/CommandTable.h"
#include "sim/Dialogue.h"
#include "sim/InstrumentStructures.h"
#include "sim/OutputLine.h"
#include "sim/Reply.h"
#include "sim/Scenario.h"
#include "sim/WireTime.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim {

// How often each fault of the scenario has fired so far.
struct FaultCounts {
    int echo = 0;
    int frame = 0;
    int garbage = 0;
    int reply = 0;
};

// The simulated instrument as the wire sees it: the protocol state machine, with no clock and no
// port. It is handed each received byte stamped with the time it has fully arrived, and queues
// its output bytes stamped with the time they will have arrived at the host. Whoever serves it
// (an in-process port on virtual time, a pseudo-terminal in real time) calls advanceTo before
// handing it anything later, and takes the output that is due.
//
// Awake, it echoes every byte; the CR that ends a line is echoed with a LF, then the reply lines
// (each ended by CR LF), then the prompt '>'. A space or CR on an empty line gets the prompt.
class Instrument {
public:
    using Task = std::function<void(Instrument&, Micros)>;

    explicit Instrument(Scenario scenario);
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;
    ~Instrument();

    // The host's side of the line, in time order.
    void receive(std::uint8_t byte, Micros at);
    void lineBreak(Micros start, Micros end);

    // Runs what is scheduled up to `now`.
    void advanceTo(Micros now);
    // When something next happens by itself: an output byte arrives or a scheduled task runs.
    std::optional<Micros> nextEventTime() const;
    // Moves the output that has arrived by `now` to the end of `out`; returns how many bytes.
    std::size_t takeOutput(Micros now, std::vector<std::uint8_t>& out);

    // For command handlers and dialogues.
    const Scenario& scenario() const { return scenario_; }
    InstrumentStructures& structures() { return structures_; }
    // What "SaveSetup" last kept (at first, the structures the instrument started with).
    InstrumentStructures& savedStructures() { return saved_; }
    std::vector<RecorderFile>& recorderFiles() { return recorderFiles_; }
    std::uint32_t& recorderUsed() { return recorderUsed_; }
    // The instrument's own clock, which runs on with the line's time.
    link::CalendarTime clockAt(Micros at) const;
    void setClock(const link::CalendarTime& time, Micros at);
    // Starts a deployment: from now on it hears only a wake-up, and sends one output line each
    // `intervalMs` until woken.
    void startDeployment(Micros at, int intervalMs);
    bool isDeploying() const { return deploying_; }
    CommandTable& commands() { return commands_; }
    FaultCounts& faultCounts() { return faultCounts_; }
    // From the next input on, input goes to `dialogue` until it says it is over.
    void beginDialogue(std::unique_ptr<Dialogue> dialogue);
    // Runs `task` at `at` (a periodic task schedules itself again).
    void schedule(Micros at, Task task);
    // Sends output of its own accord, starting no earlier than `at`, paced like a reply.
    void send(const Reply& reply, Micros at);

    // For tests.
    // Every non-empty line received, without its CR, in order (commands and dialogue answers).
    const std::vector<std::string>& transcript() const { return transcript_; }
    bool isAwake() const { return state_ == State::Awake; }
    bool isLineDead() const { return state_ == State::Dead; }
    int wakeCount() const { return wakeCount_; }
    int breakCount() const { return breakCount_; }
    Micros byteTime() const { return output_.byteTime(); }

private:
    enum class State { Sleeping, Booting, Awake, Dead };

    void wake(Micros at);
    void receiveAwake(std::uint8_t byte, Micros at);
    void completeLine(Micros at);
    void dispatch(const std::string& line, Micros at, Reply& reply);
    void sendPaced(std::span<const std::uint8_t> prefix, const Reply& reply, Micros at);
    void echo(std::uint8_t byte, Micros at);
    void goSilent();
    void scheduleDeployOutput(Micros at, int intervalMs, int generation, int count);

    Scenario scenario_;
    InstrumentStructures structures_;
    InstrumentStructures saved_;
    std::vector<RecorderFile> recorderFiles_;
    std::uint32_t recorderUsed_ = 0;
    std::int64_t clockBaseSeconds_ = 0;
    Micros clockBaseAt_ = 0;
    bool deploying_ = false;
    CommandTable commands_;
    OutputLine output_;
    std::multimap<Micros, Task> tasks_;
    std::unique_ptr<Dialogue> dialogue_;
    State state_;
    std::string line_;
    int plusRun_ = 0;
    int bootGeneration_ = 0;
    int wakeCount_ = 0;
    int breakCount_ = 0;
    FaultCounts faultCounts_;
    std::vector<std::string> transcript_;
};

// Whether a fault fires for this command line now; counts the occurrence when it does.
bool Fires(const FaultTrigger& trigger, std::string_view line, int& used);

} // namespace qpx::sim
