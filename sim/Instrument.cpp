#include "sim/Instrument.h"

#include "link/CalendarMath.h"
#include "model/TextFormat.h"
#include "sim/OperationCommands.h"
#include "sim/StandardCommands.h"

#include <algorithm>

namespace qpx::sim {
namespace {

constexpr std::uint8_t kCr = '\r';
constexpr std::uint8_t kLf = '\n';
constexpr std::uint8_t kPrompt = '>';
constexpr int kWakePlusCount = 10;
// The instrument's line buffer; anything typed past it is echoed but not kept.
constexpr std::size_t kMaxLine = 200;
constexpr std::string_view kUnknownCommand = "ERROR: Unknown command";

std::uint8_t Spoiled(std::uint8_t byte) {
    return static_cast<std::uint8_t>(byte ^ 0x01u);
}

} // namespace

bool Fires(const FaultTrigger& trigger, std::string_view line, int& used) {
    if (!trigger.command.empty() && trigger.command != line) {
        return false;
    }
    if (trigger.times >= 0 && used >= trigger.times) {
        return false;
    }
    ++used;
    return true;
}

Instrument::Instrument(Scenario scenario)
    : scenario_(std::move(scenario)), structures_(MakeInstrumentStructures(scenario_)),
      saved_(structures_), recorderFiles_(scenario_.recorderFiles),
      recorderUsed_(scenario_.recorderUsed), output_(ByteTime(scenario_.baudRate)),
      state_(scenario_.sleeping ? State::Sleeping : State::Awake) {
    const link::CalendarTime start{scenario_.clockYear,   scenario_.clockMonth,
                                   scenario_.clockDay,    scenario_.clockHour,
                                   scenario_.clockMinute, scenario_.clockSecond};
    clockBaseSeconds_ = link::SecondsFromCalendar(start);
    AddStandardCommands(commands_);
    AddOperationCommands(commands_);
}

link::CalendarTime Instrument::clockAt(Micros at) const {
    return link::CalendarFromSeconds(clockBaseSeconds_ + (at - clockBaseAt_) / 1'000'000);
}

void Instrument::setClock(const link::CalendarTime& time, Micros at) {
    clockBaseSeconds_ = link::SecondsFromCalendar(time);
    clockBaseAt_ = at;
}

void Instrument::goSilent() {
    state_ = State::Dead;
    tasks_.clear();
    dialogue_.reset();
    deploying_ = false;
}

void Instrument::startDeployment(Micros at, int intervalMs) {
    deploying_ = true;
    // Deployed, it sleeps between profiles: only a break or the wake-up string reach it.
    state_ = State::Sleeping;
    plusRun_ = 0;
    scheduleDeployOutput(at, intervalMs > 0 ? intervalMs : 1000, bootGeneration_, 1);
}

void Instrument::scheduleDeployOutput(Micros at, int intervalMs, int generation, int count) {
    schedule(at + FromMs(intervalMs), [intervalMs, generation, count](Instrument& self, Micros t) {
        if (!self.deploying_ || self.bootGeneration_ != generation) {
            return;
        }
        const link::CalendarTime now = self.clockAt(t);
        Reply reply;
        reply.prompt = false;
        reply.line(model::FormatText("%04d/%02d/%02d %02d:%02d:%02d Profile %d", now.year,
                                     now.month, now.day, now.hour, now.minute, now.second, count));
        // Sent straight to the line: the instrument is asleep between profiles, not at its
        // prompt.
        for (const std::uint8_t byte : reply.bytes()) {
            self.output_.send(byte, t);
        }
        self.scheduleDeployOutput(t, intervalMs, generation, count + 1);
    });
}

Instrument::~Instrument() = default;

void Instrument::advanceTo(Micros now) {
    while (!tasks_.empty() && tasks_.begin()->first <= now) {
        auto node = tasks_.extract(tasks_.begin());
        node.mapped()(*this, node.key());
    }
}

std::optional<Micros> Instrument::nextEventTime() const {
    std::optional<Micros> next = output_.nextArrival();
    if (!tasks_.empty() && (!next || tasks_.begin()->first < *next)) {
        next = tasks_.begin()->first;
    }
    return next;
}

std::size_t Instrument::takeOutput(Micros now, std::vector<std::uint8_t>& out) {
    advanceTo(now);
    return output_.take(now, out);
}

void Instrument::schedule(Micros at, Task task) {
    tasks_.emplace(at, std::move(task));
}

void Instrument::beginDialogue(std::unique_ptr<Dialogue> dialogue) {
    dialogue_ = std::move(dialogue);
}

void Instrument::send(const Reply& reply, Micros at) {
    sendPaced({}, reply, at);
}

void Instrument::lineBreak(Micros start, Micros end) {
    advanceTo(start);
    if (scenario_.silent || state_ == State::Dead) {
        return;
    }
    ++breakCount_;
    if (scenario_.wakesOnBreak && end - start >= FromMs(scenario_.minimumBreakMs)) {
        advanceTo(end);
        wake(end);
    }
}

void Instrument::receive(std::uint8_t byte, Micros at) {
    advanceTo(at);
    if (scenario_.silent) {
        return;
    }
    switch (state_) {
    case State::Sleeping:
        // Asleep, only the UART's wake-up detector listens: ten '+' in a row.
        plusRun_ = byte == '+' ? plusRun_ + 1 : 0;
        if (plusRun_ >= kWakePlusCount) {
            wake(at);
        }
        return;
    case State::Booting:
    case State::Dead:
        return;
    case State::Awake:
        receiveAwake(byte, at);
        return;
    }
}

void Instrument::wake(Micros at) {
    state_ = State::Booting;
    deploying_ = false;
    line_.clear();
    dialogue_.reset();
    plusRun_ = 0;
    ++wakeCount_;
    // A second wake-up while booting starts the boot over; the first one's tasks then do nothing.
    const int generation = ++bootGeneration_;
    const Micros bannerAt = at + FromMs(scenario_.bannerDelayMs);
    schedule(bannerAt, [generation](Instrument& self, Micros t) {
        if (self.bootGeneration_ != generation || self.state_ != State::Booting) {
            return;
        }
        for (const char c : self.scenario_.banner) {
            self.output_.send(static_cast<std::uint8_t>(c), t);
        }
    });
    schedule(bannerAt + FromMs(scenario_.promptDelayMs), [generation](Instrument& self, Micros t) {
        if (self.bootGeneration_ != generation || self.state_ != State::Booting) {
            return;
        }
        self.output_.send(kPrompt, t);
        self.state_ = State::Awake;
    });
}

void Instrument::echo(std::uint8_t byte, Micros at) {
    output_.send(byte, at);
}

void Instrument::receiveAwake(std::uint8_t byte, Micros at) {
    if (dialogue_ && !dialogue_->takesLines()) {
        Reply reply;
        reply.prompt = false;
        std::unique_ptr<Dialogue> current = std::move(dialogue_);
        if (current->onByte(*this, byte, at, reply) && !dialogue_) {
            dialogue_ = std::move(current);
        }
        sendPaced({}, reply, at);
        return;
    }
    if (byte == kCr) {
        completeLine(at);
        return;
    }
    if (byte == kLf) {
        echo(byte, at);
        return;
    }
    if (byte == ' ' && line_.empty() && !dialogue_) {
        echo(byte, at);
        sendPaced({}, Reply{}, at);
        return;
    }
    echo(byte, at);
    if (line_.size() < kMaxLine) {
        line_.push_back(static_cast<char>(byte));
    }
}

void Instrument::completeLine(Micros at) {
    const std::string line = std::move(line_);
    line_.clear();
    Reply reply;
    if (!line.empty()) {
        transcript_.push_back(line);
    }
    const auto& silence = scenario_.silence;
    if (silence && !silence->atCommand.empty() && silence->atCommand == line) {
        goSilent();
        return;
    }
    if (dialogue_) {
        reply.prompt = false;
        CommandContext context{*this, line, line, {}, at, reply};
        std::unique_ptr<Dialogue> current = std::move(dialogue_);
        if (current->onLine(context) && !dialogue_) {
            dialogue_ = std::move(current);
        }
    } else if (!line.empty()) {
        dispatch(line, at, reply);
    }

    // The spoiled echo is the line's CR: only then does the instrument know which command the
    // line was, so a longer command that merely starts the same way is left alone.
    const auto& wrongEcho = scenario_.wrongEcho;
    const bool spoilEcho = wrongEcho && !wrongEcho->when.command.empty() && !line.empty() &&
                           Fires(wrongEcho->when, line, faultCounts_.echo);
    echo(spoilEcho ? Spoiled(kCr) : kCr, at);
    output_.send(reply.beforeLineFeed, at);
    echo(kLf, at);

    std::vector<std::uint8_t> garbage;
    if (scenario_.garbageBeforeReply && !line.empty() &&
        Fires(scenario_.garbageBeforeReply->when, line, faultCounts_.garbage)) {
        garbage = scenario_.garbageBeforeReply->bytes;
    }
    sendPaced(garbage, reply, at);
    if (silence && silence->afterLines >= 0 && !line.empty() &&
        transcript_.size() >= static_cast<std::size_t>(silence->afterLines)) {
        goSilent();
    }
}

void Instrument::dispatch(const std::string& line, Micros at, Reply& reply) {
    if (scenario_.replacedReply && Fires(scenario_.replacedReply->when, line, faultCounts_.reply)) {
        for (const std::string& text : scenario_.replacedReply->lines) {
            reply.line(text);
        }
        return;
    }
    const std::string_view text = line;
    const std::size_t nameEnd = std::min(text.find(' '), text.size());
    const std::string_view name = text.substr(0, nameEnd);
    std::string_view arguments = text.substr(nameEnd);
    while (!arguments.empty() && arguments.front() == ' ') {
        arguments.remove_prefix(1);
    }
    const CommandHandler* handler = commands_.find(name);
    if (handler == nullptr) {
        reply.line(kUnknownCommand);
        return;
    }
    CommandContext context{*this, text, name, arguments, at, reply};
    (*handler)(context);
}

void Instrument::sendPaced(std::span<const std::uint8_t> prefix, const Reply& reply, Micros at) {
    if (state_ == State::Dead) {
        return;
    }
    std::vector<std::uint8_t> bytes(prefix.begin(), prefix.end());
    bytes.insert(bytes.end(), reply.bytes().begin(), reply.bytes().end());
    if (reply.prompt) {
        bytes.push_back(kPrompt);
    }
    std::size_t count = bytes.size();
    if (reply.deadAfter) {
        count = std::min(count, prefix.size() + *reply.deadAfter);
    }

    const Pacing& pacing = scenario_.pacing;
    const std::size_t pauseAt = pacing.midReplyPauseAfter < 0
                                    ? count / 2
                                    : static_cast<std::size_t>(pacing.midReplyPauseAfter);
    // The default pause splits the reply in two; a one-byte reply has nothing to split.
    const bool pauseApplies = pacing.midReplyPauseMs > 0 && pauseAt < count &&
                              (pauseAt > 0 || pacing.midReplyPauseAfter == 0);
    const std::size_t piece =
        pacing.pieceBytes > 0 ? static_cast<std::size_t>(pacing.pieceBytes) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        // The delay counts from the end of the echo, which is never held back.
        Micros earliest = i == 0 ? std::max(at, output_.freeAt()) + FromMs(pacing.replyDelayMs) : 0;
        if (piece > 0 && i > 0 && i % piece == 0) {
            earliest = std::max(earliest, output_.freeAt() + FromMs(pacing.pieceGapMs));
        }
        if (pauseApplies && i == pauseAt) {
            earliest = std::max(earliest, output_.freeAt()) + FromMs(pacing.midReplyPauseMs);
        }
        output_.send(bytes[i], earliest);
    }
    if (reply.deadAfter) {
        state_ = State::Dead;
        tasks_.clear();
    }
}

} // namespace qpx::sim
