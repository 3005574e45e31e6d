#include "support/FaultMatrix.h"

#include <algorithm>
#include <map>
#include <set>

namespace qpx::test {
namespace {

constexpr std::string_view kWake = "Waking up System............... ";

MatrixStep Step(Sequence sequence, std::string name, std::string command, std::string label,
                Exchange exchange, int span = 1, bool anyReply = false) {
    return {sequence, std::move(name), std::move(command), std::move(label), exchange,
            span,     anyReply};
}

// Worst virtual time one step can take before it gives up, from the protocol's own numbers.
// An echoed command: 100 ms pause, the prompt wait (2 s write, 2500 polls of a 1 ms pause and a
// 1 ms read), then ten attempts, each quieting the line for 100 ms and waiting for every
// character's echo up to 100 polls of a 5 ms pause and a 50 ms read; then four reads of a
// second. The wake-up adds 1500 + 1000 + 200 + 2000 + 500 + 1000 + 3000 ms of polls and pauses
// and the 2000 ms pause before "Ver". A block read takes its length, payload and checksum with
// 10 s, 10 s and 50 s time-outs, which ReadBytesTimed makes t / 5 + 10 reads of 25 ms, ten
// times over. A format waits 100 reads of 70 x 25 ms.
std::int64_t WorstCommandMs(std::size_t length) {
    const auto characters = static_cast<std::int64_t>(length) + 1;
    return 100 + 2000 + 2500 * 2 + 10 * (100 + characters * 100 * 55) + 4 * 1000;
}

std::int64_t WorstStepMs(const MatrixStep& step) {
    const std::int64_t command = WorstCommandMs(step.command.size());
    switch (step.exchange) {
    case Exchange::Wake:
        return 11'200 + command;
    case Exchange::Command:
        return command;
    case Exchange::Frame:
        return command + 300 * 5 + 50 * 10 + 1'000;
    case Exchange::Blocks:
        return command + 1000 * 5 + 10 * (2010 + 2010 + 10010) * 25 + 10'000;
    case Exchange::Comments:
        return 500 + 1000 + 500 + 3 * 3000 + 500 + 1'000;
    case Exchange::Format:
        return command + 100 * 70 * 25;
    case Exchange::Unchecked:
        return 1'000;
    }
    return 0;
}

bool Connected(Sequence s) {
    return s == Sequence::Connection || s == Sequence::Download || s == Sequence::Upload ||
           s == Sequence::Deploy;
}

} // namespace

std::string_view FaultTitle(FaultKind fault) {
    switch (fault) {
    case FaultKind::Silence:
        return "silence";
    case FaultKind::Garbage:
        return "garbage first";
    case FaultKind::WrongEcho:
        return "wrong echo always";
    case FaultKind::BadChecksum:
        return "bad checksum";
    case FaultKind::NakEveryBlock:
        return "NAK every block";
    case FaultKind::LineDrop:
        return "line drops";
    case FaultKind::NoOkReply:
        return "no OK/Default";
    case FaultKind::ShortFrame:
        return "frame short";
    case FaultKind::LongFrame:
        return "frame long";
    }
    return "?";
}

const std::vector<MatrixStep>& MatrixSteps() {
    using E = Exchange;
    using S = Sequence;
    static const std::vector<MatrixStep> steps{
        Step(S::Connection, "connection: wake-up (Go!)", "Ver", "", E::Wake),
        Step(S::Download, "download: wake-up", "Ver", std::string(kWake), E::Wake),
        Step(S::Download, "download: Get CONF", "Get CONF", "Get System Configuration....... ",
             E::Frame),
        Step(S::Download, "download: Get OPER", "Get OPER", "Get Sensor Operation Config.... ",
             E::Frame),
        Step(S::Download, "download: Get USER", "Get USER", "Get User Setup................. ",
             E::Frame),
        Step(S::Download, "download: enablewaves", "enablewaves",
             "Get Waves Option............... ", E::Command, 1, true),
        Step(S::Download, "download: bdir", "bdir", "Get Recorder Settings.......... ", E::Blocks),
        Step(S::Upload, "upload: wake-up", "Ver", std::string(kWake), E::Wake),
        Step(S::Upload, "upload: Deployment", "Deployment FM9", "Update Deployment Name......... ",
             E::Command),
        Step(S::Upload, "upload: StartDate", "StartDate 2001/07/04",
             "Update Deployment Start Time... ", E::Command),
        Step(S::Upload, "upload: StartTime", "StartTime 09:05:00",
             "Update Deployment Start Time... ", E::Command),
        Step(S::Upload, "upload: Comments", "Comments", "Update Comments................ ",
             E::Comments, 4),
        Step(S::Upload, "upload: nc", "nc 25", "Update Number of Cells......... ", E::Command),
        Step(S::Upload, "upload: of ascii", "of ascii", "Set Output Format.............. ",
             E::Command),
        Step(S::Upload, "upload: AutoSleep on", "AutoSleep on", "Set AutoSleep.................. ",
             E::Command),
        Step(S::Upload, "upload: SaveSetup", "SaveSetup", "Save Setup..................... ",
             E::Command),
        Step(S::Deploy, "deployment start: deploy", "deploy", "", E::Command),
        Step(S::RecorderRead, "recorder read: wake-up", "Ver", "", E::Wake),
        Step(S::RecorderRead, "recorder read: bdir", "bdir", "", E::Blocks),
        Step(S::Format, "format: wake-up", "Ver", std::string(kWake), E::Wake),
        Step(S::Format, "format: format", "format", "Formatting memory card......... ", E::Format,
             2),
        Step(S::Format, "format: directory again", "bdir", "Reading Recorder Directory..... ",
             E::Blocks),
        Step(S::ClockRead, "clock read: wake-up", "Ver", "", E::Wake),
        Step(S::ClockRead, "clock read: Date", "Date", "", E::Command),
        Step(S::ClockRead, "clock read: Time", "Time", "", E::Command),
        Step(S::ClockSet, "clock set: wake-up", "Ver", "", E::Wake),
        Step(S::ClockSet, "clock set: Date line", "Date 2001/07/04", "", E::Unchecked),
        Step(S::ClockSet, "clock set: Time line", "Time 09:05:31", "", E::Unchecked),
        Step(S::PcQpx, "PC-QPX: wake-up", "Ver", std::string(kWake), E::Wake),
        Step(S::PcQpx, "PC-QPX: pl", "pl   0.50", "Update Pulse Length............ ", E::Command),
        Step(S::PcQpx, "PC-QPX: pg", "pg   0.40", "Update User Pulse Lag.......... ", E::Command),
        Step(S::PcQpx, "PC-QPX: rpg", "rpg   0.00", "Update User ResLag............. ", E::Command),
        Step(S::PcQpx, "PC-QPX: SaveSetup", "SaveSetup", "Save Setup..................... ",
             E::Command),
        // The read-back has no label of its own: "Failed" follows the last success.
        Step(S::PcQpx, "PC-QPX: Get OPER read-back", "Get OPER", "", E::Frame),
    };
    return steps;
}

bool FaultApplies(const MatrixStep& step, FaultKind fault, std::string* reason) {
    const auto no = [&](std::string_view why) {
        if (reason != nullptr) {
            *reason = why;
        }
        return false;
    };
    if (step.exchange == Exchange::Unchecked) {
        return no("the clock lines are written without echo check or reply: nothing comes back "
                  "for a fault to spoil, and nothing is reported as Success");
    }
    switch (fault) {
    case FaultKind::Silence:
    case FaultKind::Garbage:
    case FaultKind::WrongEcho:
    case FaultKind::LineDrop:
    case FaultKind::NoOkReply:
        return true;
    case FaultKind::BadChecksum:
        if (step.exchange == Exchange::Frame || step.exchange == Exchange::Blocks) {
            return true;
        }
        return no("text replies carry no checksum");
    case FaultKind::NakEveryBlock:
        if (step.exchange == Exchange::Blocks) {
            return true;
        }
        return no("only the \"bdir\" block transfer is acknowledged block by block");
    case FaultKind::ShortFrame:
    case FaultKind::LongFrame:
        if (step.exchange == Exchange::Frame) {
            return true;
        }
        if (step.exchange == Exchange::Blocks) {
            return no("a directory block with a wrong length fails its checksum and is NAKed: "
                      "the checksum and NAK columns cover it");
        }
        return no("no binary frame in a text exchange");
    }
    return no("unknown fault");
}

std::int64_t SequenceBoundMs(Sequence sequence) {
    // The connected sequences run on into the later phases when the fault is absorbed.
    constexpr std::int64_t kPausesMs = 20'000; // step pauses, the 2000 ms pause, display ticks
    std::int64_t bound = kPausesMs;
    for (const MatrixStep& step : MatrixSteps()) {
        // The upload's faulted instrument takes over when the planner closes, so a fault aimed
        // at "deploy" runs through the whole upload first.
        const bool inScope = step.sequence == sequence ||
                             (Connected(sequence) && sequence != Sequence::Connection &&
                              Connected(step.sequence) && step.sequence > sequence) ||
                             (sequence == Sequence::Deploy && step.sequence == Sequence::Upload);
        if (inScope) {
            bound += WorstStepMs(step);
        }
    }
    // The format reads the directory again through a wake-up of its own.
    if (sequence == Sequence::Format) {
        bound += WorstStepMs(MatrixSteps()[0]);
    }
    return bound;
}

std::string_view OutcomeMark(Outcome outcome) {
    switch (outcome) {
    case Outcome::Empty:
        return " ";
    case Outcome::FailedClean:
        return "pass";
    case Outcome::Recovered:
        return "rec";
    case Outcome::NotApplicable:
        return "n/a";
    case Outcome::Broken:
        return "FAIL";
    }
    return "?";
}

std::string MatrixTable(const std::vector<MatrixStep>& steps,
                        const std::vector<std::array<CellResult, kFaultKinds.size()>>& results) {
    std::string out = "| step |";
    std::string rule = "|---|";
    for (const FaultKind fault : kFaultKinds) {
        out += " " + std::string(FaultTitle(fault)) + " |";
        rule += ":---:|";
    }
    out += "\n" + rule + "\n";
    for (std::size_t row = 0; row < steps.size() && row < results.size(); ++row) {
        out += "| " + steps[row].name + " |";
        for (const CellResult& cell : results[row]) {
            out += " " + std::string(OutcomeMark(cell.outcome)) + " |";
        }
        out += "\n";
    }
    return out;
}

std::string MatrixLegend() {
    std::string out;
    out += "- pass: the step failed, the user saw its failure (its label followed by \"Failed\", "
           "or the sequence's own report), the run ended within its bound, the port was closed "
           "as the sequence requires (exactly once for the connected deployment, left open by "
           "the planner's dialogs), nothing was sent after the failing step and no "
           "\"SaveSetup\" followed a failed command.\n";
    out += "- rec: the protocol absorbed the fault (a retry, a NAK and a resend, junk ignored) "
           "and the result was checked against the instrument: structures downloaded as held, "
           "setup saved as uploaded, card listed or emptied, clock read or set, pulse settings "
           "saved and read back.\n";
    out += "- rec where a persistent fault is absorbed: the recorder read goes on whatever its "
           "wake-up answered, the clock read whatever the echo of \"Date\" and \"Time\" was, "
           "the comment lines go out without an echo check, and \"enablewaves\" succeeds on any "
           "reply; what is read afterwards decides, and it was right.\n";
    out += "- FAIL: an invariant did not hold (the tests fail on any).\n";
    std::map<std::string, std::set<std::string>> reasons;
    for (const MatrixStep& step : MatrixSteps()) {
        for (const FaultKind fault : kFaultKinds) {
            std::string why;
            if (!FaultApplies(step, fault, &why)) {
                reasons[why].insert(std::string(FaultTitle(fault)));
            }
        }
    }
    for (const auto& [why, faults] : reasons) {
        std::string columns;
        for (const std::string& f : faults) {
            columns += (columns.empty() ? "" : ", ") + f;
        }
        out += "- n/a (" + columns + "): " + why + ".\n";
    }
    return out;
}

} // namespace qpx::test
