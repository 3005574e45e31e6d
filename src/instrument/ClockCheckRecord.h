#pragma once

#include "link/Clock.h"
#include "link/Link.h"
#include "operations/RecordNaming.h"
#include "planning/DeploymentValues.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The clock check at recovery: the instrument's clock read against the computer's, kept as a
// record, and compared with the reading the deployment record holds, which tells how far the
// instrument's clock ran off during the deployment.
namespace qpx::instrument {

inline constexpr std::string_view kClockCheckKind = "clock";
// A drift rate over less time than this would be mostly the one-second resolution of the clocks.
inline constexpr std::int64_t kMinimumDriftSeconds = 60;
// A deployment record is some kilobytes; anything near this is no deployment record.
inline constexpr std::size_t kDeploymentRecordMaxBytes = 1024 * 1024;

struct ClockCheck {
    std::string serialNumber;
    operations::RecordInstant computer; // local time and its UTC offset
    link::CalendarTime instrument;      // the instrument's local clock
};

ClockCheck MakeClockCheck(std::string serialNumber, const planning::ClockReading& reading);
// Instrument minus computer local time: positive when the instrument is ahead.
std::int64_t OffsetSeconds(const ClockCheck& check);

// Why a deployment record gives no reference to compare with.
enum class ReferenceProblem {
    None,
    NotJson,
    NotDeploymentRecord,
    NoSerialNumber,
    NoClockReading, // a deployment record, its serial number known, but no clock was read
    BadClockReading,
};

// The clock reading of a deployment record.
struct DeploymentClockReference {
    ReferenceProblem problem = ReferenceProblem::None;
    std::string error;        // the problem in words; empty when there is none
    std::string serialNumber; // known from NoClockReading on
    std::string readAtUtcText;
    std::int64_t readAtUtcSeconds = 0;
    std::int64_t offsetSeconds = 0;
};

// Reads the "instrument.serialNumber" and "clockCheck" of a deployment record's JSON; other keys
// are not looked at.
DeploymentClockReference ReadDeploymentClockReference(std::string_view json);

struct ClockDrift {
    std::string deploymentRecord; // its file name
    std::string deployedAtUtcText;
    std::int64_t offsetAtDeploymentSeconds = 0;
    double elapsedDays = 0.0;
    std::int64_t driftSeconds = 0; // offset now minus offset at deployment
    // Linear; none over less than kMinimumDriftSeconds.
    std::optional<double> driftSecondsPerDay;
};

struct DriftResult {
    std::optional<ClockDrift> drift;
    std::string error; // a record of another instrument; empty otherwise
};

// `reference` must hold a clock reading (problem None).
DriftResult CompareWithDeployment(const ClockCheck& check,
                                  const DeploymentClockReference& reference,
                                  std::string_view deploymentFileName);

struct ClockCheckRecord {
    ClockCheck check;
    std::optional<ClockDrift> drift;
};

// What both front ends do once the reading is there: the record to save, or why none is.
struct ClockCheckOutcome {
    std::optional<ClockCheckRecord> record;
    std::string refusal; // set when there is no record
    std::string note;    // a deployment record without a clock reading: saved without drift
};

struct DeploymentRecordFile {
    std::string fileName;
    DeploymentClockReference reference;
};

// Why the record cannot be compared with at all (not JSON, not a deployment record, no serial
// number, a clock reading that cannot be read); empty when it can, with or without a reading.
std::string DeploymentRecordRefusal(const DeploymentRecordFile& deployment);
// Naming both serial numbers when the record is of another instrument; empty otherwise.
std::string SerialNumberRefusal(const DeploymentRecordFile& deployment,
                                std::string_view serialNumber);

ClockCheckOutcome MakeClockCheckRecord(const ClockCheck& check,
                                       const std::optional<DeploymentRecordFile>& deployment);

// "+64 s", "30.05 days", "+2.13 s/day" (or why there is no rate).
std::string DriftSecondsText(std::int64_t seconds);
std::string ElapsedDaysText(double days);
std::string DriftRateText(const std::optional<double>& secondsPerDay);

// "<serial>_<yyyymmddThhmmssZ>_clock".
std::string ClockCheckStem(const ClockCheck& check);
std::string FormatClockCheckText(const ClockCheckRecord& record);
std::string FormatClockCheckJson(const ClockCheckRecord& record);
// The stem, the text and the JSON together, for saving.
operations::RecordTexts ClockCheckRecordTexts(const ClockCheckRecord& record);

// Wakes the instrument and reads its serial number from the system configuration ("Get CONF").
// Nothing when it did not answer as a QPX or Merovane or the frame failed (a message was shown).
std::optional<std::string> ReadInstrumentSerialNumber(link::Link& link);

} // namespace qpx::instrument
