#include "instrument/PcQpxTransmit.h"
#include "instrument/RecorderDialogModel.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/CalendarMath.h"
#include "link/PortOpener.h"
#include "link/VirtualClock.h"
#include "operations/ChangeDetection.h"
#include "operations/ClockSync.h"
#include "operations/Connection.h"
#include "planning/DeploymentPlanner.h"
#include "sim/Instrument.h"
#include "sim/InstrumentStructures.h"
#include "sim/SimulatedPortDevice.h"
#include "support/FaultMatrix.h"
#include "support/KeptProgressViews.h"
#include "support/RecordingMessageSink.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace qpx::test {
namespace {

using operations::ConnectedSetupOutcome;

const link::CalendarTime kStart{2001, 7, 4, 9, 5, 0};
const link::CalendarTime kManualClock{2001, 7, 4, 9, 5, 30};
const instrument::PulseSettings kPulse{0.5f, 0.4f, 0.0f};
constexpr int kDisplayTicks = 10;

// The line of one run. It can be handed to a second instrument part-way, so that the faulted
// instrument takes over where the phase under test begins and a fault aimed at "Ver" spoils
// that phase's wake-up only. Past its deadline the line is cut for good: every primitive fails,
// so a loop that would never end runs into failures instead, and the cell reports it.
class GuardedDevice final : public link::PortDevice {
public:
    GuardedDevice(std::unique_ptr<link::PortDevice> device, link::VirtualClock& clock, int& closes,
                  bool& tripped)
        : device_(std::move(device)), clock_(clock), closes_(closes), tripped_(tripped) {}

    void switchTo(std::unique_ptr<link::PortDevice> device) { device_ = std::move(device); }
    void setDeadline(std::int64_t ms) { deadline_ = ms; }

    int available() override { return cut() ? -1 : device_->available(); }
    int read(std::uint8_t* destination, int max) override {
        return cut() ? -1 : device_->read(destination, max);
    }
    int peek() override { return cut() ? -1 : device_->peek(); }
    int write(const std::uint8_t* source, int count) override {
        return cut() ? -1 : device_->write(source, count);
    }
    int clearRx() override { return cut() ? -1 : device_->clearRx(); }
    int clearTx() override { return cut() ? -1 : device_->clearTx(); }
    int sendBreak(int milliseconds) override {
        return cut() ? -1 : device_->sendBreak(milliseconds);
    }
    bool waitReadable(int timeoutMs) override {
        return cut() ? false : device_->waitReadable(timeoutMs);
    }
    bool waitWritten(int timeoutMs) override {
        return cut() ? false : device_->waitWritten(timeoutMs);
    }
    void close() override {
        ++closes_;
        device_->close();
    }

private:
    bool cut() {
        if (!tripped_ && clock_.nowMs() > deadline_) {
            tripped_ = true;
        }
        return tripped_;
    }

    std::unique_ptr<link::PortDevice> device_;
    link::VirtualClock& clock_;
    int& closes_;
    bool& tripped_; // kept outside: closing the port destroys the device
    std::int64_t deadline_ = std::numeric_limits<std::int64_t>::max();
};

sim::Scenario BaseScenario() {
    sim::Scenario s = sim::QpxScenario();
    s.recorderFiles = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9, 50},
                       {"DEF00002.QPX", 4096, 2001, 3, 6, 0, 0, 0, 0}};
    s.recorderUsed = 16u * 65536u;
    return s;
}

// The scenario with `fault` aimed at `step`, whose command is line `index` (0 = the first) of
// the phase the faulted instrument serves.
sim::Scenario Faulted(const MatrixStep& step, FaultKind fault, std::size_t index) {
    sim::Scenario s = BaseScenario();
    const sim::FaultTrigger every{step.command, -1};
    const bool frame = step.exchange == Exchange::Frame;
    switch (fault) {
    case FaultKind::Silence:
        if (index == 0) {
            s.silent = true;
        } else {
            s.silence = sim::SilenceFault{static_cast<int>(index), ""};
        }
        break;
    case FaultKind::Garbage:
        s.garbageBeforeReply = sim::GarbageFault{every};
        break;
    case FaultKind::WrongEcho:
        s.wrongEcho = sim::EchoFault{every};
        break;
    case FaultKind::BadChecksum:
        if (frame) {
            s.frameFault = sim::FrameFault{every};
            s.frameFault->checksumDelta = 1;
        } else {
            s.blockFault = sim::BlockFault{};
            s.blockFault->badChecksumBlock = 1;
            s.blockFault->badChecksumTimes = 1;
        }
        break;
    case FaultKind::NakEveryBlock:
        s.blockFault = sim::BlockFault{};
        s.blockFault->badChecksumBlock = 1;
        s.blockFault->badChecksumTimes = 1'000'000;
        break;
    case FaultKind::LineDrop:
        if (frame) {
            s.frameFault = sim::FrameFault{every};
            s.frameFault->dropLineAfter = 30;
        } else if (step.exchange == Exchange::Blocks) {
            // Inside the first block after the header, just after its length.
            s.blockFault = sim::BlockFault{};
            s.blockFault->dropLineInBlock = 1;
            s.blockFault->dropLineAfter = 2;
        } else {
            s.silence = sim::SilenceFault{-1, step.command};
        }
        break;
    case FaultKind::NoOkReply:
        s.replacedReply = sim::ReplyFault{every};
        break;
    case FaultKind::ShortFrame:
    case FaultKind::LongFrame:
        s.frameFault = sim::FrameFault{every};
        s.frameFault->lengthDelta = fault == FaultKind::ShortFrame ? -1 : 1;
        break;
    }
    return s;
}

// Everything one run needs, on one virtual clock.
struct Bench {
    link::VirtualClock clock;
    RecordingMessageSink messages;
    KeptProgressViews views;
    std::deque<std::unique_ptr<sim::Instrument>> instruments;
    std::deque<sim::LineRecord> records;
    int closes = 0;
    bool tripped = false;
    GuardedDevice* guard = nullptr; // valid until the port closes
    sim::Instrument* phase = nullptr;
    sim::LineRecord* phaseRecord = nullptr;
    std::int64_t phaseStart = 0;
    std::int64_t bound = 0;
    // Last, so that it goes before the instruments and the line records it uses.
    std::unique_ptr<link::Port> port;

    sim::Instrument& add(const sim::Scenario& scenario) {
        records.emplace_back();
        return *instruments.emplace_back(std::make_unique<sim::Instrument>(scenario));
    }
    std::unique_ptr<sim::SimulatedPortDevice> deviceFor(sim::Instrument& instrument) {
        const std::size_t i = static_cast<std::size_t>(
            std::find_if(instruments.begin(), instruments.end(),
                         [&](const auto& p) { return p.get() == &instrument; }) -
            instruments.begin());
        return std::make_unique<sim::SimulatedPortDevice>(instrument, clock, &records[i]);
    }
    std::unique_ptr<link::Port> openOn(sim::Instrument& instrument) {
        auto guarded =
            std::make_unique<GuardedDevice>(deviceFor(instrument), clock, closes, tripped);
        guard = guarded.get();
        guard->setDeadline(2 * bound);
        return std::make_unique<link::Port>(std::move(guarded), clock);
    }
    // The phase under test begins: from here on `instrument` is on the line.
    void beginPhase(sim::Instrument& instrument, bool switchLine) {
        if (switchLine) {
            guard->switchTo(deviceFor(instrument));
        }
        markPhase(instrument);
        phaseStart = clock.nowMs();
        guard->setDeadline(phaseStart + 2 * bound);
    }
    void markPhase(sim::Instrument& instrument) {
        phase = &instrument;
        for (std::size_t i = 0; i < instruments.size(); ++i) {
            if (instruments[i].get() == &instrument) {
                phaseRecord = &records[i];
            }
        }
    }
};

// How one run went, before it is judged.
struct Run {
    bool success = false;
    std::string wrong;  // when it succeeded: what is not as the instrument holds it
    std::string unseen; // when it failed: how the user was not told at this step
    int expectedCloses = 0;
    bool connectedSequence = false;
    DeploymentRun deployment;
};

bool EndsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string ViewText(const Bench& bench, std::size_t window) {
    return window < bench.views.views.size() ? bench.views.views[window].text() : std::string();
}

// The failing step's label, then "Failed", at the end of `window`; the steps before it
// reported "Success" and nothing else failed.
void ExpectFailedLine(const Bench& bench, std::size_t window, const MatrixStep& step,
                      std::string_view tail, Run& run) {
    const std::string text = ViewText(bench, window);
    const std::string expected = step.label + std::string(tail);
    if (!EndsWith(text, expected)) {
        run.unseen = "the window does not end with \"" + expected + "\": \"" + text + "\"";
        return;
    }
    std::size_t failedCount = 0;
    for (std::size_t at = text.find("Failed"); at != std::string::npos;
         at = text.find("Failed", at + 1)) {
        ++failedCount;
    }
    if (failedCount != 1) {
        run.unseen = "\"Failed\" shown more than once";
    }
}

bool Shown(const Bench& bench, std::string_view text) {
    const auto texts = bench.messages.texts();
    return std::find(texts.begin(), texts.end(), std::string(text)) != texts.end();
}

// --- the connected deployment

class CellOpener : public link::PortOpener {
public:
    CellOpener(Bench& bench, sim::Instrument& first) : bench_(bench), first_(first) {}
    link::OpenResult open(int index, int, char, int, int) override {
        link::OpenResult result;
        if (index != 0) {
            return result;
        }
        result.port = bench_.openOn(first_);
        result.status = link::kPortOk;
        return result;
    }
    std::string deviceName(int index) override { return index == 0 ? "sim1" : ""; }

private:
    Bench& bench_;
    sim::Instrument& first_;
};

class CellFrontEnd : public operations::ConnectedSetupFrontEnd {
public:
    CellFrontEnd(Bench& bench, std::function<void()> onPlanner, int cells)
        : bench_(bench), onPlanner_(std::move(onPlanner)), cells_(cells) {}

    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& in,
                                                     link::Link&) override {
        inputs = in;
        ++plannerShown;
        planning::DeploymentPlanner planner;
        planner.open(in);
        std::optional<planning::AcceptedPlan> plan = planner.deploy().value;
        if (!plan) {
            return plan;
        }
        plan->start = kStart;
        plan->fileName = "FM9";
        plan->comments = {"North mooring", "Second line", "Third line"};
        plan->cells = cells_;
        uploaded = operations::DetectChanges(*plan, in.user).userSetup;
        uploaded.startDate = {static_cast<std::int16_t>(kStart.year),
                              static_cast<std::uint8_t>(kStart.day),
                              static_cast<std::uint8_t>(kStart.month)};
        uploaded.startTime = {static_cast<std::uint8_t>(kStart.minute),
                              static_cast<std::uint8_t>(kStart.hour), 0,
                              static_cast<std::uint8_t>(kStart.second)};
        if (onPlanner_) {
            onPlanner_();
        }
        return plan;
    }
    void runDisplay(operations::DeploymentDisplay& display) override {
        ++displayShown;
        for (int tick = 0; tick < kDisplayTicks; ++tick) {
            bench_.clock.sleepMs(operations::DeploymentDisplay::kTickMs);
            display.tick();
        }
    }

    planning::PlannerInputs inputs;
    model::UserSetup uploaded;
    int plannerShown = 0;
    int displayShown = 0;

private:
    Bench& bench_;
    std::function<void()> onPlanner_;
    int cells_;
};

std::string DownloadLogBefore(const MatrixStep& failing) {
    std::string log;
    for (const MatrixStep& s : MatrixSteps()) {
        if (s.name == failing.name) {
            break;
        }
        if (s.sequence == Sequence::Download) {
            log += s.label + "Success\r\n";
        }
    }
    return log;
}

Run RunConnected(Bench& bench, Sequence phase, const sim::Scenario& faulted, const MatrixStep* step,
                 int cells) {
    Run run;
    run.connectedSequence = true;
    run.expectedCloses = 1;
    const sim::InstrumentStructures held = sim::MakeInstrumentStructures(BaseScenario());
    sim::Instrument& clean = bench.add(BaseScenario());
    sim::Instrument& fault = bench.add(faulted);
    sim::Instrument& first = phase == Sequence::Connection ? fault : clean;
    CellOpener opener(bench, first);

    std::unique_ptr<link::Port>& slot = bench.port;
    operations::ConnectionSettings settings;
    std::string goLog;
    bench.phaseStart = bench.clock.nowMs();
    const bool connected =
        operations::ConnectInstrument(opener, bench.clock, slot, settings, 0, 9600, bench.messages,
                                      std::nullopt, [&](std::string_view t) { goLog.append(t); });
    if (phase == Sequence::Connection) {
        bench.markPhase(fault);
        run.success = connected;
        run.connectedSequence = false;
        if (connected) {
            run.expectedCloses = 0;
            if (!slot || !slot->isOpen() || settings.portIndex != 0) {
                run.wrong = "connected without an open port";
            }
        } else if (!EndsWith(goLog, "Waking up System................. Failed\r\n") || slot) {
            run.unseen = "the Go! log does not end in Failed: \"" + goLog + "\"";
        }
        run.deployment.connected = connected;
        return run;
    }
    run.deployment.connected = connected;
    if (!connected) {
        run.unseen = "the connection failed on the clean instrument";
        return run;
    }
    if (phase == Sequence::Download) {
        bench.beginPhase(fault, true);
    }
    CellFrontEnd front(
        bench,
        [&] {
            if (phase == Sequence::Upload || phase == Sequence::Deploy) {
                bench.beginPhase(fault, true);
            }
        },
        cells);
    link::Link link{*slot, bench.messages, std::nullopt};
    const ConnectedSetupOutcome outcome =
        operations::RunConnectedSetup(link, bench.views, front, 1);

    DeploymentRun& d = run.deployment;
    d.outcome = outcome;
    d.uploadReported = outcome == ConnectedSetupOutcome::Deployed ||
                       outcome == ConnectedSetupOutcome::DeployRefused;
    d.uploaded = front.uploaded;
    d.saved = bench.phase->savedStructures().userSetup;
    d.initial = held.userSetup;

    run.success = outcome == ConnectedSetupOutcome::Deployed;
    if (run.success) {
        if (front.inputs.user != held.userSetup ||
            front.inputs.operation != held.operationConfiguration) {
            run.wrong = "the planner did not get the structures the instrument holds";
        } else if (d.saved != d.uploaded) {
            run.wrong = "the instrument did not keep what was uploaded";
        } else if (!bench.phase->isDeploying()) {
            run.wrong = "the instrument is not deploying";
        } else if (bench.messages.entries.size() != 1 ||
                   bench.messages.entries[0].text != operations::kDisconnectMessage) {
            run.wrong = "the disconnect message was not the only message";
        }
        return run;
    }
    if (step == nullptr) {
        run.unseen = "the clean run failed";
        return run;
    }
    const bool informed = std::any_of(
        bench.messages.entries.begin(), bench.messages.entries.end(),
        [](const auto& e) { return e.kind == RecordingMessageSink::Entry::Kind::Information; });
    if (informed || front.displayShown != 0) {
        run.unseen = "the disconnect message or the display came after a failure";
        return run;
    }
    switch (step->sequence) {
    case Sequence::Download:
        if (outcome != ConnectedSetupOutcome::DownloadFailed || front.plannerShown != 0) {
            run.unseen = "the download did not stop at this step";
            return run;
        }
        if (ViewText(bench, 0) != DownloadLogBefore(*step) + step->label + "Failed\r\n") {
            run.unseen = "download window: \"" + ViewText(bench, 0) + "\"";
        }
        if (step->command == "Get OPER" && !Shown(bench, operations::kOperFailedMessage)) {
            run.unseen = "no \"Failed to get the Qpx Operation Configuration\"";
        }
        break;
    case Sequence::Upload:
        if (outcome != ConnectedSetupOutcome::UploadFailed) {
            run.unseen = "the upload did not stop at this step";
            return run;
        }
        ExpectFailedLine(bench, 1, *step, "Failed\r\n", run);
        break;
    case Sequence::Deploy:
        if (outcome != ConnectedSetupOutcome::DeployRefused) {
            run.unseen = "\"deploy\" was not reported refused";
        }
        break;
    default:
        break;
    }
    return run;
}

// --- the planner's dialogs, each on a port of its own

sim::Instrument& AddPcQpx(Bench& bench, const sim::Scenario& scenario) {
    sim::Instrument& instrument = bench.add(scenario);
    instrument.structures().systemConfiguration.cpuSoftwareVersion = 17;
    instrument.structures().userSetup.pulseCoherentMode = 1;
    return instrument;
}

Run RunDialog(Bench& bench, Sequence sequence, const sim::Scenario& scenario,
              const MatrixStep* step) {
    Run run;
    sim::Instrument& instrument =
        sequence == Sequence::PcQpx ? AddPcQpx(bench, scenario) : bench.add(scenario);
    bench.port = bench.openOn(instrument);
    bench.beginPhase(instrument, false);
    link::Link link{*bench.port, bench.messages, std::nullopt};
    const auto failedAt = [&](std::size_t window, std::string_view tail) {
        if (step != nullptr) {
            ExpectFailedLine(bench, window, *step, tail, run);
        }
    };

    switch (sequence) {
    case Sequence::RecorderRead: {
        instrument::RecorderDialogModel dialog;
        const int files = dialog.open(link);
        run.success = files >= 0;
        if (run.success) {
            if (files != 2 || dialog.rows().size() != 2 ||
                dialog.rows()[0].name != "DEF00001.QPX" || dialog.usedText() != "1.00M") {
                run.wrong = "the list is not the card's";
            }
        } else if (!dialog.fileCountText().empty() || !dialog.rows().empty()) {
            run.unseen = "the dialog shows a directory it did not read";
        }
        break;
    }
    case Sequence::Format: {
        instrument::RecorderDialogModel dialog;
        const instrument::FormatOutcome outcome = dialog.format(link, bench.views);
        run.success = outcome == instrument::FormatOutcome::Formatted;
        if (run.success) {
            if (!instrument.recorderFiles().empty() || !dialog.rows().empty() ||
                dialog.fileCountText() != "0 Files found in Recorder") {
                run.wrong = "the card or the list is not empty";
            }
        } else {
            const bool reread = step != nullptr && step->command == "bdir";
            if (outcome != (reread ? instrument::FormatOutcome::ListNotRead
                                   : instrument::FormatOutcome::Failed)) {
                run.unseen = "the format failed at another step";
            }
            failedAt(0, "Failed\r\n");
        }
        break;
    }
    case Sequence::ClockRead: {
        const std::int64_t before =
            link::SecondsFromCalendar(instrument.clockAt(sim::FromMs(bench.clock.nowMs())));
        std::optional<link::CalendarTime> shown;
        instrument::RunSystemTime(&link, [&](instrument::SystemTimeDialogModel& dialog) {
            shown = dialog.instrumentTime();
            return false; // Cancel: nothing is sent
        });
        run.success = shown.has_value();
        if (run.success) {
            const std::int64_t read = link::SecondsFromCalendar(*shown);
            const std::int64_t after =
                link::SecondsFromCalendar(instrument.clockAt(sim::FromMs(bench.clock.nowMs())));
            if (read < before || read > after) {
                run.wrong = "the time shown is not the instrument's";
            }
        }
        break;
    }
    case Sequence::ClockSet: {
        run.success =
            operations::SetInstrumentClock(link, operations::ClockMode::Manual, kManualClock);
        if (run.success) {
            bench.clock.sleepMs(500);
            const link::CalendarTime now = instrument.clockAt(sim::FromMs(bench.clock.nowMs()));
            const std::int64_t set = link::SecondsFromCalendar(now);
            const std::int64_t wanted = link::SecondsFromCalendar(kManualClock) + 1;
            if (set < wanted || set > wanted + 10) {
                run.wrong = "the instrument clock was not set";
            }
        }
        break;
    }
    case Sequence::PcQpx: {
        const sim::InstrumentStructures& held = instrument.structures();
        instrument::PcQpxSettings settings(1, held.systemConfiguration, held.userSetup,
                                           held.operationConfiguration);
        const auto result = instrument::TransmitPcQpxSettings(&link, bench.views, settings, kPulse);
        run.success = result == instrument::PcQpxTransmitResult::Success;
        const auto& saved = instrument.savedStructures().operationConfiguration;
        if (run.success) {
            if (saved.pulseLength != 50u || saved.userPulseLag != 40u || saved.userResLag != 0u ||
                settings.operationConfiguration().pulseLength != 50u) {
                run.wrong = "the pulse settings were not saved and read back";
            }
        } else {
            failedAt(0, step != nullptr && step->label.empty()
                            ? "Save Setup..................... Success\r\nFailed\r\n"
                            : "Failed\r\n");
            if (step != nullptr && step->command == "Get OPER" &&
                !Shown(bench, instrument::kOperationReadBackFailed)) {
                run.unseen = "no \"Failed to get the Qpx Operation Configuration\"";
            }
        }
        break;
    }
    default:
        break;
    }
    return run;
}

Run RunSequence(Bench& bench, Sequence sequence, const sim::Scenario& scenario,
                const MatrixStep* step, int cells = 25) {
    bench.bound = SequenceBoundMs(sequence);
    switch (sequence) {
    case Sequence::Connection:
    case Sequence::Download:
    case Sequence::Upload:
    case Sequence::Deploy:
        return RunConnected(bench, sequence, scenario, step, cells);
    default:
        return RunDialog(bench, sequence, scenario, step);
    }
}

// The lines the faulted instrument receives in a clean run of the sequence's phase.
const std::vector<std::string>& CleanTranscript(Sequence sequence) {
    static std::map<Sequence, std::vector<std::string>> kept;
    const auto found = kept.find(sequence);
    if (found != kept.end()) {
        return found->second;
    }
    Bench bench;
    RunSequence(bench, sequence, BaseScenario(), nullptr);
    return kept[sequence] =
               bench.phase != nullptr ? bench.phase->transcript() : std::vector<std::string>{};
}

// What the host put on the line in the phase, cut at each CR.
std::vector<std::string> SentPieces(const sim::LineRecord& record) {
    std::vector<std::string> pieces(1);
    for (const std::uint8_t byte : record.written) {
        if (byte == '\r') {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(static_cast<char>(byte));
        }
    }
    return pieces;
}

bool MustFail(const MatrixStep& step, FaultKind fault) {
    // The recorder refresh goes on whatever the wake-up answered, and the clock read goes on
    // whatever the echo of "Date" and "Time" was: the directory or the reply read after them
    // decides, and the judge checks it against the instrument.
    if (step.sequence == Sequence::RecorderRead && step.exchange == Exchange::Wake &&
        fault != FaultKind::Silence && fault != FaultKind::LineDrop) {
        return false;
    }
    if (step.sequence == Sequence::ClockRead && fault == FaultKind::WrongEcho) {
        return false;
    }
    switch (fault) {
    case FaultKind::Garbage:
    case FaultKind::BadChecksum:
        return false;
    case FaultKind::WrongEcho:
        // The comment lines go out without an echo check: the instrument heard them right.
        return step.exchange != Exchange::Comments;
    case FaultKind::NoOkReply:
        return !step.anyReply;
    default:
        return true;
    }
}

// Judges a run: the common invariants first, then what the run itself found.
CellResult Judge(Bench& bench, const Run& run, const MatrixStep* step, FaultKind fault) {
    CellResult cell;
    cell.boundMs = bench.bound;
    cell.elapsedMs = bench.clock.nowMs() - bench.phaseStart;
    const auto broken = [&](std::string why) {
        cell.outcome = Outcome::Broken;
        cell.note = std::move(why);
        return cell;
    };
    if (bench.tripped) {
        return broken("did not end: the line was cut at twice the bound");
    }
    if (cell.elapsedMs > cell.boundMs) {
        return broken("took " + std::to_string(cell.elapsedMs) + " ms, bound " +
                      std::to_string(cell.boundMs) + " ms");
    }
    const int expectedCloses = run.expectedCloses;
    if (bench.closes != expectedCloses) {
        return broken("port closed " + std::to_string(bench.closes) + " times, expected " +
                      std::to_string(expectedCloses));
    }
    if (run.success) {
        if (!run.wrong.empty()) {
            return broken("reported success but " + run.wrong);
        }
        if (step != nullptr && MustFail(*step, fault)) {
            return broken("reported success under a fault that cannot be absorbed");
        }
        cell.outcome = Outcome::Recovered;
        return cell;
    }
    if (step == nullptr) {
        return broken("the clean run failed: " + run.unseen);
    }
    if (!run.unseen.empty()) {
        return broken(run.unseen);
    }
    // Nothing the clean run sends after this step may go out now.
    const std::vector<std::string>& clean = CleanTranscript(step->sequence);
    const auto at = std::find(clean.begin(), clean.end(), step->command);
    if (at == clean.end()) {
        return broken("the step's command is not in the dialogue");
    }
    const std::size_t end = std::min(clean.size(), static_cast<std::size_t>(at - clean.begin()) +
                                                       static_cast<std::size_t>(step->span));
    const std::set<std::string> before(clean.begin(), clean.begin() + static_cast<long>(end));
    const std::vector<std::string> sent = SentPieces(*bench.phaseRecord);
    for (std::size_t i = end; i < clean.size(); ++i) {
        if (before.contains(clean[i])) {
            continue;
        }
        for (const std::string& piece : sent) {
            if (EndsWith(piece, clean[i])) {
                return broken("\"" + clean[i] + "\" was sent after the failure");
            }
        }
    }
    const bool saveFollows = step->command != "SaveSetup" &&
                             std::find(at, clean.end(), std::string("SaveSetup")) != clean.end();
    if (saveFollows && std::any_of(sent.begin(), sent.end(), [](const std::string& piece) {
            return EndsWith(piece, "SaveSetup");
        })) {
        return broken("\"SaveSetup\" was sent after a failed command");
    }
    cell.outcome = Outcome::FailedClean;
    return cell;
}

std::size_t StepIndex(const MatrixStep& step) {
    const std::vector<std::string>& clean = CleanTranscript(step.sequence);
    return static_cast<std::size_t>(std::find(clean.begin(), clean.end(), step.command) -
                                    clean.begin());
}

} // namespace

CellResult RunCell(const MatrixStep& step, FaultKind fault) {
    std::string why;
    if (!FaultApplies(step, fault, &why)) {
        CellResult cell;
        cell.outcome = Outcome::NotApplicable;
        cell.note = why;
        return cell;
    }
    const std::size_t index = StepIndex(step);
    if (index >= CleanTranscript(step.sequence).size()) {
        CellResult cell;
        cell.outcome = Outcome::Broken;
        cell.note = "the step's command is not in the clean dialogue";
        return cell;
    }
    Bench bench;
    const Run run = RunSequence(bench, step.sequence, Faulted(step, fault, index), &step);
    return Judge(bench, run, &step, fault);
}

CellResult RunClean(Sequence sequence) {
    Bench bench;
    const Run run = RunSequence(bench, sequence, BaseScenario(), nullptr);
    return Judge(bench, run, nullptr, FaultKind::Garbage);
}

DeploymentRun RunConnectedDeployment(const MatrixStep* step, FaultKind fault, int cells) {
    Bench bench;
    const bool faulted = step != nullptr && FaultApplies(*step, fault);
    const Sequence phase = faulted ? step->sequence : Sequence::Download;
    const sim::Scenario scenario =
        faulted ? Faulted(*step, fault, StepIndex(*step)) : BaseScenario();
    return RunSequence(bench, phase, scenario, step, cells).deployment;
}

} // namespace qpx::test
