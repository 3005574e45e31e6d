#pragma once

#include "model/UserSetup.h"
#include "operations/ConnectedSetup.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every step of the instrument dialogue crossed with every fault the simulator can inject. One
// cell runs the step's whole sequence on virtual time with the fault aimed at that step, then
// judges what the user saw, what went out on the line and what the instrument kept.
namespace qpx::test {

enum class FaultKind {
    Silence,       // the instrument answers nothing from this step on
    Garbage,       // junk bytes before the reply
    WrongEcho,     // the line end's echo comes back wrong on every attempt
    BadChecksum,   // one frame or block with a wrong checksum
    NakEveryBlock, // every block after the header arrives spoiled, so each one is NAKed
    LineDrop,      // the line goes dead in the middle of the step
    NoOkReply,     // a reply with neither "OK" nor "Default"
    ShortFrame,    // the frame's length field one short
    LongFrame,     // the frame's length field one long
};

inline constexpr std::array<FaultKind, 9> kFaultKinds{
    FaultKind::Silence,     FaultKind::Garbage,       FaultKind::WrongEcho,
    FaultKind::BadChecksum, FaultKind::NakEveryBlock, FaultKind::LineDrop,
    FaultKind::NoOkReply,   FaultKind::ShortFrame,    FaultKind::LongFrame};

// Column title.
std::string_view FaultTitle(FaultKind fault);

// The sequences a user starts. The connected deployment runs connection, download, upload and
// "deploy" on one port; the others are the planner's dialogs on a port of their own.
enum class Sequence {
    Connection,
    Download,
    Upload,
    Deploy,
    RecorderRead,
    Format,
    ClockRead,
    ClockSet,
    PcQpx,
};

// How a step talks to the instrument; it decides which faults can reach it.
enum class Exchange {
    Wake,      // space, break, wake-up string and "Ver"
    Command,   // an echoed command line and its reply
    Frame,     // an echoed command, "OK" and a binary frame
    Blocks,    // "bdir" and its block transfer
    Comments,  // "Comments" and three lines, no echo check
    Format,    // "format", its question and the wait for "OK"
    Unchecked, // a line written without echo check or reply
};

struct MatrixStep {
    Sequence sequence;
    std::string name;    // row title
    std::string command; // the line the fault is aimed at, as the instrument receives it
    // Progress-window label that must end in "Failed" when the step fails; empty: the sequence
    // reports elsewhere (the "Go!" log, or not at all).
    std::string label;
    Exchange exchange;
    // Lines the step itself sends from `command` on (the comment lines, the "yes" to the format
    // question).
    int span = 1;
    // The step succeeds on any reply (the waves option): a reply without "OK" is no failure.
    bool anyReply = false;
};

// Every step, in the order a user meets them.
const std::vector<MatrixStep>& MatrixSteps();

enum class Outcome {
    Empty,         // not run
    FailedClean,   // the step's failure was reported and every invariant held
    Recovered,     // the protocol absorbed the fault and the result is right
    NotApplicable, // the fault cannot reach this step
    Broken,        // an invariant did not hold
};

struct CellResult {
    Outcome outcome = Outcome::Empty;
    std::string note;           // why, for NotApplicable and Broken
    std::int64_t elapsedMs = 0; // virtual time the sequence took from the faulted phase on
    std::int64_t boundMs = 0;
};

// The worst case of a sequence from its phase on, from the protocol's time-outs.
std::int64_t SequenceBoundMs(Sequence sequence);

CellResult RunCell(const MatrixStep& step, FaultKind fault);
// The run of a sequence with no fault at all, judged like a recovered cell.
CellResult RunClean(Sequence sequence);

// "pass", "rec", "n/a", "FAIL", or blank for an empty cell.
std::string_view OutcomeMark(Outcome outcome);

// The printed matrix: a Markdown table, one row per step, one column per fault; `results` is
// indexed [step][fault].
std::string MatrixTable(const std::vector<MatrixStep>& steps,
                        const std::vector<std::array<CellResult, kFaultKinds.size()>>& results);
// Why each not-applicable cell is so, one line per reason.
std::string MatrixLegend();

// One connected deployment from "Go!" to the disconnect message, with the cells edited to
// `cells`, and optionally one fault aimed at one step of the connected sequences.
struct DeploymentRun {
    bool connected = false;
    operations::ConnectedSetupOutcome outcome = operations::ConnectedSetupOutcome::NoPort;
    // The upload ended with an accepted "SaveSetup".
    bool uploadReported = false;
    model::UserSetup uploaded; // the updated copy the upload sent (valid once the planner ran)
    model::UserSetup saved;    // what the instrument kept with "SaveSetup"
    model::UserSetup initial;  // what it kept before the run
};
DeploymentRun RunConnectedDeployment(const MatrixStep* step, FaultKind fault, int cells);

// Whether `fault` can reach `step` at all; `reason` gets why not.
bool FaultApplies(const MatrixStep& step, FaultKind fault, std::string* reason = nullptr);

} // namespace qpx::test
