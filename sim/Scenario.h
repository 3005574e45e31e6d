#pragma once

#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qpx::sim {

// Everything that makes one simulated instrument differ from another: identity, power state,
// structures, faults and the pacing of its replies. A scenario is plain data; the Instrument
// reads it once when it is built and keeps its own copy.

enum class StructureKind { SystemConfiguration, UserSetup, OperationConfiguration };

// Which command lines a fault spoils, and how often ("wrong on the first attempt, right on the
// retry").
struct FaultTrigger {
    // The command line exactly as received, without its CR. Empty: every command the fault can
    // apply to.
    std::string command;
    // How many occurrences are spoiled, counted from the first; negative: every one.
    int times = -1;
};

// The echo of the command's CR comes back wrong (noise on the way back: the instrument heard the
// command right and answers it; the host sees a bad echo and repeats). The trigger needs a
// command.
struct EchoFault {
    FaultTrigger when{};
};

// Spoils the binary frame of "Get CONF", "Get USER" or "Get OPER".
struct FrameFault {
    FaultTrigger when{};
    bool missing = false;   // "OK", then no frame
    int checksumDelta = 0;  // added to the checksum (1: off by one)
    int lengthDelta = 0;    // added to the length field (negative: too short, positive: too long)
    int extraBytes = 0;     // bytes appended after the frame
    int dropLineAfter = -1; // frame bytes sent before the line goes dead for good; negative: none
};

// Bytes that come before the reply text (after the echoed line end).
struct GarbageFault {
    FaultTrigger when{};
    std::vector<std::uint8_t> bytes{0x00, 0x7F, 0x13, 0xA5};
};

// The command is answered with these lines instead of its own reply (neither "OK" nor
// "Default"), followed by the prompt.
struct ReplyFault {
    FaultTrigger when{};
    std::vector<std::string> lines{"ERROR"};
};

// One byte of a structure changed as it is sent (offset into the data as sent).
struct BytePatch {
    StructureKind structure = StructureKind::SystemConfiguration;
    std::size_t offset = 0;
    std::uint8_t value = 0;
};

// One file on the simulated memory card, as its directory block reports it.
struct RecorderFile {
    std::string name; // at most 12 characters are sent
    std::uint32_t size = 0;
    int year = 2001; // calendar year; sent as years since 1980
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
};

// Spoils the "bdir" block transfer. Blocks are counted as sent, first send of the header = 0;
// a resend after NAK counts again.
struct BlockFault {
    int badChecksumTimes = 0;      // the first k sends of the spoiled block carry a wrong checksum
    int badChecksumBlock = 0;      // which block (0 header, 1.. file blocks, then end, used space)
    bool usedSpaceMissing = false; // no used-space block: after the end block's ACK, silence
    int extraFileBlocks = 0;       // that many dummy file blocks after the scenario's files
    int dropLineInBlock =
        -1;                // the line goes dead inside this block (same counting); negative: none
    int dropLineAfter = 2; // bytes of that block sent before it does
};

// Makes the instrument go silent for good in the middle of a dialogue: after it has answered
// the Nth complete command line (1 = the first), or when a given command line arrives (its
// bytes are echoed, its CR is not, nothing follows). Comment lines and answers count as lines.
struct SilenceFault {
    int afterLines = -1;   // negative: not by count
    std::string atCommand; // empty: not by command
};

// "format": how the instrument answers its confirmation.
struct FormatBehaviour {
    int durationMs = 3000;  // formatting time after "yes"
    bool aborted = false;   // "aborted" instead of "Format complete" / "OK"
    bool asksTwice = false; // the question comes again after the first "yes"
};

// "deploy": the periodic output that follows it. Output is produced from timestamps, so a
// real-time server and the virtual line see the same lines.
struct DeployBehaviour {
    // Time between two output lines; 0: the UserSetup's profilingInterval in seconds (then
    // 1000 ms if that is 0).
    int outputIntervalMs = 0;
    std::string banner = "Deployment started"; // empty: no banner line
};

// How replies are spread out in time. None of it changes a reply's content: a host that
// depends on how its reads cut the reply is wrong, and these switches show it.
struct Pacing {
    int replyDelayMs = 0;        // before the first byte after the echoed line end
    int midReplyPauseMs = 0;     // one pause inside the reply
    int midReplyPauseAfter = -1; // reply bytes before that pause; negative: half of the reply
    int pieceBytes = 0;          // the reply leaves in pieces of this many bytes; 0: at once
    int pieceGapMs = 0;          // quiet time between two pieces
};

struct Scenario {
    int baudRate = 9600;

    // Identity.
    std::string versionText = "Kelvra QPX Current Profiler Version 1.70";
    bool versionLeadIn = false; // a 0xE8 byte right after the echoed CR of "Ver"
    std::string systemTypeText = "QPX";
    // Reply line of "enablewaves"; without one it follows wavesOption ("NO", "YES",
    // "DIRECTIONAL"). An empty text sends no line, only the prompt.
    std::optional<std::string> wavesReply;

    // Power. A sleeping instrument hears nothing but a break of at least minimumBreakMs or ten
    // '+' in a row; then it boots: banner after bannerDelayMs, prompt promptDelayMs later.
    bool sleeping = false;
    bool wakesOnBreak = true;
    int minimumBreakMs = 100;
    std::string banner = "\r\nKelvra QPX Current Profiler\r\n";
    int bannerDelayMs = 300;
    int promptDelayMs = 0;

    // Structures: the defaults of a planning copy for this frequency index and waves option,
    // unless a whole structure is given; patches are applied to the bytes as sent.
    int frequencyIndex = 1;
    int wavesOption = 0;
    std::optional<model::SystemConfiguration> systemConfiguration;
    std::optional<model::UserSetup> userSetup;
    std::optional<model::OperationConfiguration> operationConfiguration; // held form
    std::vector<BytePatch> patches;
    int frameLeadIn = 0;          // 0xE8 bytes before each frame's length
    bool promptAfterFrame = true; // '>' after the frame, as the instrument returns to its prompt

    // Memory card: its files, total capacity and used space in bytes (the used space is sent in
    // units of 65536 bytes, rounded down).
    std::vector<RecorderFile> recorderFiles;
    std::uint32_t recorderCapacity = 64u * 1024u * 1024u;
    std::uint32_t recorderUsed = 0;
    // The instrument's clock at time zero of the line; it runs on with the line's time.
    int clockYear = 2001;
    int clockMonth = 7;
    int clockDay = 4;
    int clockHour = 9;
    int clockMinute = 5;
    int clockSecond = 0;
    FormatBehaviour format;
    DeployBehaviour deploy;

    // Faults.
    bool silent = false; // never answers anything, not even a break
    std::optional<EchoFault> wrongEcho;
    std::optional<FrameFault> frameFault;
    std::optional<GarbageFault> garbageBeforeReply;
    std::optional<ReplyFault> replacedReply;
    std::optional<BlockFault> blockFault;
    std::optional<SilenceFault> silence;

    Pacing pacing;
};

// The maker's systems a "Ver" can report.
enum class SystemKind { Qpx, Merovane, Clv, ClvReportingWqs, Rill, Zeb, Wqs };

// An awake QPX at 9600 baud.
Scenario QpxScenario(int frequencyIndex = 1);
// The same instrument as it sees (or ignores) the host when asleep.
Scenario SleepingScenario(int frequencyIndex = 1);
// Asleep, deaf to the break: only the wake-up string wakes it.
Scenario PlusOnlyScenario(int frequencyIndex = 1);
// Asleep; after waking, its compass holds the prompt back for promptDelayMs (15 s).
Scenario CompassScenario(int frequencyIndex = 1);
// Asleep; a break reaches an SDI-12 interface instead of the command prompt.
Scenario SdiScenario();
// An awake instrument of another kind (its "Ver" and "systemtype" texts).
Scenario SystemScenario(SystemKind kind);

} // namespace qpx::sim
