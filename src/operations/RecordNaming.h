#pragma once

#include "link/Clock.h"
#include "model/SystemConfiguration.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the deployment and clock-check records name their instants and their files. An instant is
// kept as the computer's local time with its offset from UTC: people read the local time, the
// file names and every comparison use UTC, which a time-zone or daylight-saving change between
// deployment and recovery does not move.
namespace qpx::operations {

inline constexpr std::string_view kProgramName = "DeployQpx";
// The program's version, "1.70".
std::string_view ProgramVersion();

struct RecordInstant {
    link::CalendarTime local;
    int utcOffsetSeconds = 0;
};

// The clock's local time and offset, read once.
RecordInstant InstantNow(link::Clock& clock);
// Seconds since 1970-01-01 00:00:00 UTC.
std::int64_t UtcSeconds(const RecordInstant& instant);
// "+01:00", "-05:30", "+00:00".
std::string UtcOffsetText(int seconds);
// "2026/12/09 12:48:11 +01:00".
std::string LocalInstantText(const RecordInstant& instant);
// "2026-12-09T11:48:11Z".
std::string UtcInstantText(const RecordInstant& instant);
// Reads UtcInstantText's form back as seconds since 1970 UTC; nothing for any other text.
std::optional<std::int64_t> ParseUtcInstant(std::string_view text);

// A record as its two files hold it: STEM.txt for people, STEM.json for scripts.
struct RecordTexts {
    std::string stem;
    std::string text;
    std::string json;
};

// The instrument's serial number as text, control characters shown as "?".
std::string SerialNumberText(const model::SystemConfiguration& system);

// "<serial>_<yyyymmddThhmmssZ>_<kind>": characters a file name cannot safely hold on every
// system become "_", and an empty serial number is "unknown".
std::string RecordFileStem(std::string_view serialNumber, const RecordInstant& instant,
                           std::string_view kind);

} // namespace qpx::operations
