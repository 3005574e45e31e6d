#include "instrument/ClockCheckRecord.h"

#include "fuzz/support/KeptInputs.h"
#include "instrument/DeploymentRecord.h"
#include "link/CalendarMath.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using instrument::ReferenceProblem;

// A reading `offset` seconds off the computer's clock at `local` (UTC offset `utcOffset`).
planning::ClockReading Reading(const link::CalendarTime& local, int utcOffset,
                               std::int64_t offset) {
    return {local, utcOffset, link::AddSeconds(local, offset)};
}

// The deployment record as the deployment writes it, with only what the check reads filled in.
std::string DeploymentJson(const std::string& serial,
                           const std::optional<planning::ClockReading>& clock) {
    instrument::DeploymentRecord record;
    record.serialNumber = serial;
    record.clock = clock;
    return instrument::FormatDeploymentRecordJson(record);
}

std::optional<instrument::DeploymentRecordFile> DeploymentFile(const std::string& json) {
    return instrument::DeploymentRecordFile{"QPX123_20261109T114811Z_deploy.json",
                                            instrument::ReadDeploymentClockReference(json)};
}

TEST(ClockCheckRecord, DriftAgainstTheDeploymentReading) {
    const struct {
        const char* name;
        planning::ClockReading deployed;
        planning::ClockReading recovered;
        double elapsedDays;
        std::int64_t drift;
        std::optional<double> perDay;
    } cases[] = {
        {"thirty days, instrument gaining", Reading({2026, 11, 9, 12, 48, 11}, 3600, 5),
         Reading({2026, 12, 9, 12, 48, 11}, 3600, 65), 30.0, 60, 2.0},
        // Deployed in winter time at +01:00, recovered at +00:00: one local hour less is the
        // same UTC instant ten days on.
        {"across a UTC offset change", Reading({2026, 3, 1, 12, 0, 0}, 3600, -10),
         Reading({2026, 3, 11, 11, 0, 0}, 0, -30), 10.0, -20, -2.0},
        {"instrument behind, then ahead", Reading({2026, 1, 1, 0, 0, 0}, 0, -40),
         Reading({2026, 1, 5, 0, 0, 0}, 0, 40), 4.0, 80, 20.0},
        {"under a minute: no rate", Reading({2026, 1, 1, 0, 0, 0}, 0, 3),
         Reading({2026, 1, 1, 0, 0, 59}, 0, 4), 59.0 / 86400.0, 1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto check = instrument::MakeClockCheck("QPX123", c.recovered);
        const auto outcome = instrument::MakeClockCheckRecord(
            check, DeploymentFile(DeploymentJson("QPX123", c.deployed)));
        ASSERT_TRUE(outcome.record) << outcome.refusal;
        ASSERT_TRUE(outcome.record->drift);
        const auto& drift = *outcome.record->drift;
        EXPECT_DOUBLE_EQ(drift.elapsedDays, c.elapsedDays);
        EXPECT_EQ(drift.driftSeconds, c.drift);
        EXPECT_EQ(drift.driftSecondsPerDay.has_value(), c.perDay.has_value());
        if (c.perDay && drift.driftSecondsPerDay) {
            EXPECT_DOUBLE_EQ(*drift.driftSecondsPerDay, *c.perDay);
        }

        const auto json = nlohmann::json::parse(instrument::FormatClockCheckJson(*outcome.record));
        EXPECT_EQ(json["record"], "clock check");
        EXPECT_EQ(json["offsetSeconds"], instrument::OffsetSeconds(check));
        EXPECT_EQ(json["instrumentAhead"], instrument::OffsetSeconds(check) > 0);
        EXPECT_EQ(json["drift"]["deploymentRecord"], "QPX123_20261109T114811Z_deploy.json");
        EXPECT_EQ(json["drift"]["driftSeconds"], c.drift);
        EXPECT_EQ(json["drift"]["driftSecondsPerDay"].is_null(), !c.perDay.has_value());
    }
}

// Not one of the kinds of record the drift can be taken from: each says why, and keeps the
// serial number where the record names one, so that another instrument's is still refused.
TEST(ClockCheckRecord, RecordsWithoutAUsableReadingAreTold) {
    const planning::ClockReading reading = Reading({2026, 11, 9, 12, 0, 0}, 3600, 5);
    std::string badUtc = DeploymentJson("QPX123", reading);
    badUtc.replace(badUtc.find("2026-11-09T11:00:00Z"), 20, "yesterday");
    const struct {
        std::string json;
        ReferenceProblem problem;
        std::string serial;
    } cases[] = {
        {"", ReferenceProblem::NotJson, ""},
        {"{\"record\": \"deployment\",", ReferenceProblem::NotJson, ""},
        {"[1, 2]", ReferenceProblem::NotDeploymentRecord, ""},
        {R"({"record": "clock check", "formatVersion": 1})", ReferenceProblem::NotDeploymentRecord,
         ""},
        {R"({"record": "deployment", "formatVersion": 2, "instrument": {"serialNumber": "A"}})",
         ReferenceProblem::NotDeploymentRecord, ""},
        {R"({"record": "deployment", "formatVersion": 1, "instrument": {"serialNumber": 7}})",
         ReferenceProblem::NoSerialNumber, ""},
        {R"({"record": "deployment", "formatVersion": 1})", ReferenceProblem::NoSerialNumber, ""},
        {DeploymentJson("QPX123", std::nullopt), ReferenceProblem::NoClockReading, "QPX123"},
        {R"({"record": "deployment", "formatVersion": 1, "instrument": {"serialNumber": "B"}})",
         ReferenceProblem::NoClockReading, "B"},
        {badUtc, ReferenceProblem::BadClockReading, "QPX123"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        const auto reference = instrument::ReadDeploymentClockReference(c.json);
        EXPECT_EQ(reference.problem, c.problem);
        EXPECT_EQ(reference.serialNumber, c.serial);
        EXPECT_FALSE(reference.error.empty());
    }
}

TEST(ClockCheckRecord, AnotherInstrumentsRecordIsRefusedOneWithoutAReadingNoted) {
    const auto check =
        instrument::MakeClockCheck("QPX123", Reading({2026, 12, 9, 12, 0, 0}, 3600, 9));
    const planning::ClockReading deployed = Reading({2026, 11, 9, 12, 0, 0}, 3600, 5);

    for (const auto& other :
         {DeploymentJson("QPX999", deployed), DeploymentJson("QPX999", std::nullopt)}) {
        const auto refused = instrument::MakeClockCheckRecord(check, DeploymentFile(other));
        EXPECT_FALSE(refused.record);
        EXPECT_NE(refused.refusal.find("QPX999"), std::string::npos) << refused.refusal;
        EXPECT_NE(refused.refusal.find("QPX123"), std::string::npos) << refused.refusal;
    }
    const auto notJson = instrument::MakeClockCheckRecord(check, DeploymentFile("plain text"));
    EXPECT_FALSE(notJson.record);
    EXPECT_NE(notJson.refusal.find("not JSON"), std::string::npos) << notJson.refusal;

    const auto noReading = instrument::MakeClockCheckRecord(
        check, DeploymentFile(DeploymentJson("QPX123", std::nullopt)));
    ASSERT_TRUE(noReading.record);
    EXPECT_FALSE(noReading.record->drift);
    EXPECT_NE(noReading.note.find("no clock reading"), std::string::npos);
    EXPECT_TRUE(nlohmann::json::parse(instrument::FormatClockCheckJson(*noReading.record))["drift"]
                    .is_null());
    EXPECT_EQ(instrument::ClockCheckStem(check), "QPX123_20261209T110000Z_clock");
}

} // namespace
} // namespace qpx::test

namespace qpx::test {
namespace {

// The kept inputs of the deployment record reader's fuzzer (a real record with and without its
// clock reading, an offset at the edge of 64 bits), replayed through the harness.
TEST(DeploymentRecordReaderFuzzInputs, EveryKeptInputHoldsItsInvariants) {
    EXPECT_GT(fuzz::ReplayKeptInputs(QPX_FUZZ_FOLDER, "DeploymentRecordReaderFuzz"), 0);
}

} // namespace
} // namespace qpx::test
