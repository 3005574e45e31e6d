#include "fuzz/Harnesses.h"
#include "fuzz/support/FuzzInput.h"
#include "instrument/ClockCheckRecord.h"
#include "operations/RecordNaming.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace qpx::fuzz {

// Whatever file is given as the deployment record at recovery: it is refused with a reason, or
// its reading compares with a clock check of the same instrument into a record that is valid JSON,
// and of another instrument is refused.
int DeploymentRecordReaderFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const instrument::DeploymentClockReference reference =
        instrument::ReadDeploymentClockReference(text);
    const bool usable = reference.problem == instrument::ReferenceProblem::None;
    Require(usable == reference.error.empty(), "a refusal without a reason, or a reason kept");
    const instrument::DeploymentRecordFile file{"record.json", reference};
    if (!usable) {
        Require(!instrument::DeploymentRecordRefusal(file).empty() ||
                    reference.problem == instrument::ReferenceProblem::NoClockReading,
                "an unusable deployment record accepted");
        return 0;
    }
    Require(operations::ParseUtcInstant(reference.readAtUtcText) == reference.readAtUtcSeconds,
            "a reading time that does not read back");
    const planning::ClockReading reading{{2030, 1, 1, 0, 0, 0}, 3600, {2030, 1, 1, 0, 1, 5}};
    const auto other = instrument::MakeClockCheck(reference.serialNumber + "x", reading);
    Require(!instrument::SerialNumberRefusal(file, other.serialNumber).empty(),
            "a record of another instrument compared");
    const auto same = instrument::MakeClockCheck(reference.serialNumber, reading);
    const instrument::ClockCheckOutcome outcome = instrument::MakeClockCheckRecord(same, file);
    Require(outcome.record.has_value() && outcome.record->drift.has_value(),
            "a usable reading gave no drift");
    const auto& drift = *outcome.record->drift;
    Require(std::isfinite(drift.elapsedDays) &&
                (!drift.driftSecondsPerDay || std::isfinite(*drift.driftSecondsPerDay)),
            "a drift that is no number");
    const std::string json = instrument::FormatClockCheckJson(*outcome.record);
    Require(!nlohmann::json::parse(json, nullptr, false).is_discarded(),
            "a clock check record that is not JSON");
    Require(!instrument::FormatClockCheckText(*outcome.record).empty(), "an empty record text");
    return 0;
}

} // namespace qpx::fuzz
