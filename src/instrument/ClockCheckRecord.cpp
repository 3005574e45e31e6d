#include "instrument/ClockCheckRecord.h"

#include "instrument/DeploymentRecord.h"
#include "instrument/DeploymentReview.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/CalendarMath.h"
#include "link/FetchStructure.h"
#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "model/SystemConfiguration.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <span>
#include <vector>

namespace qpx::instrument {
namespace {

using Json = nlohmann::ordered_json;

DeploymentClockReference Problem(ReferenceProblem problem, std::string error,
                                 std::string serialNumber = {}) {
    DeploymentClockReference reference;
    reference.problem = problem;
    reference.error = std::move(error);
    reference.serialNumber = std::move(serialNumber);
    return reference;
}

const Json* Member(const Json& object, const char* key) {
    if (!object.is_object() || !object.contains(key)) {
        return nullptr;
    }
    return &object[key];
}

// An offset of more than two centuries is no clock reading, and a larger one would overflow the
// drift's subtraction.
std::optional<std::int64_t> BoundedOffset(const Json* offset) {
    constexpr std::int64_t kMaxOffsetSeconds = 200LL * 366 * 86400;
    if (offset == nullptr || !offset->is_number_integer()) {
        return std::nullopt;
    }
    if (offset->is_number_unsigned()) {
        const auto value = offset->get<std::uint64_t>();
        return value <= static_cast<std::uint64_t>(kMaxOffsetSeconds)
                   ? std::optional<std::int64_t>(static_cast<std::int64_t>(value))
                   : std::nullopt;
    }
    const auto value = offset->get<std::int64_t>();
    return value >= -kMaxOffsetSeconds && value <= kMaxOffsetSeconds
               ? std::optional<std::int64_t>(value)
               : std::nullopt;
}

// A serial number from a file, as messages and records show it: control characters as "?".
std::string Printable(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '?';
        }
    }
    return text;
}

} // namespace

ClockCheck MakeClockCheck(std::string serialNumber, const planning::ClockReading& reading) {
    return {
        std::move(serialNumber), {reading.computer, reading.utcOffsetSeconds}, reading.instrument};
}

std::int64_t OffsetSeconds(const ClockCheck& check) {
    return ClockOffsetSeconds(
        {check.computer.local, check.computer.utcOffsetSeconds, check.instrument});
}

DeploymentClockReference ReadDeploymentClockReference(std::string_view text) {
    const Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded()) {
        return Problem(ReferenceProblem::NotJson, "it is not JSON");
    }
    const Json* kind = Member(json, "record");
    if (kind == nullptr || !kind->is_string() || kind->get<std::string>() != "deployment") {
        return Problem(ReferenceProblem::NotDeploymentRecord, "it is not a deployment record");
    }
    // A later format may move what is read here: better no drift than a wrong one.
    const Json* version = Member(json, "formatVersion");
    if (version == nullptr || !version->is_number_integer() || version->get<std::int64_t>() != 1) {
        return Problem(ReferenceProblem::NotDeploymentRecord,
                       "it is not a deployment record of format version 1");
    }
    const Json* instrument = Member(json, "instrument");
    const Json* serial = instrument != nullptr ? Member(*instrument, "serialNumber") : nullptr;
    if (serial == nullptr || !serial->is_string() || serial->get<std::string>().empty()) {
        return Problem(ReferenceProblem::NoSerialNumber,
                       "the deployment record names no instrument serial number");
    }
    const std::string serialNumber = Printable(serial->get<std::string>());
    const Json* clock = Member(json, "clockCheck");
    if (clock == nullptr || clock->is_null()) {
        return Problem(ReferenceProblem::NoClockReading,
                       "the deployment record of " + serialNumber + " holds no clock reading",
                       serialNumber);
    }
    const Json* computer = Member(*clock, "computerTime");
    const Json* utc = computer != nullptr ? Member(*computer, "utc") : nullptr;
    const std::optional<std::int64_t> offset = BoundedOffset(Member(*clock, "offsetSeconds"));
    std::optional<std::int64_t> readAt;
    if (utc != nullptr && utc->is_string()) {
        readAt = operations::ParseUtcInstant(utc->get<std::string>());
    }
    if (!readAt || !offset) {
        return Problem(ReferenceProblem::BadClockReading,
                       "the clock reading of the deployment record of " + serialNumber +
                           " cannot be read",
                       serialNumber);
    }
    DeploymentClockReference reference;
    reference.serialNumber = serialNumber;
    reference.readAtUtcText = utc->get<std::string>();
    reference.readAtUtcSeconds = *readAt;
    reference.offsetSeconds = *offset;
    return reference;
}

DriftResult CompareWithDeployment(const ClockCheck& check,
                                  const DeploymentClockReference& reference,
                                  std::string_view deploymentFileName) {
    DriftResult result;
    if (reference.serialNumber != check.serialNumber) {
        result.error = "The deployment record is of instrument " + reference.serialNumber +
                       ", not of the connected instrument " + check.serialNumber + ".";
        return result;
    }
    ClockDrift drift;
    drift.deploymentRecord = std::string(deploymentFileName);
    drift.deployedAtUtcText = reference.readAtUtcText;
    drift.offsetAtDeploymentSeconds = reference.offsetSeconds;
    const std::int64_t elapsed =
        operations::UtcSeconds(check.computer) - reference.readAtUtcSeconds;
    drift.elapsedDays = static_cast<double>(elapsed) / 86400.0;
    drift.driftSeconds = OffsetSeconds(check) - reference.offsetSeconds;
    if (elapsed >= kMinimumDriftSeconds) {
        drift.driftSecondsPerDay = static_cast<double>(drift.driftSeconds) / drift.elapsedDays;
    }
    result.drift = std::move(drift);
    return result;
}

std::string DeploymentRecordRefusal(const DeploymentRecordFile& deployment) {
    const ReferenceProblem problem = deployment.reference.problem;
    if (problem == ReferenceProblem::None || problem == ReferenceProblem::NoClockReading) {
        return {};
    }
    return "The deployment record " + deployment.fileName +
           " cannot be used: " + deployment.reference.error + ".";
}

std::string SerialNumberRefusal(const DeploymentRecordFile& deployment,
                                std::string_view serialNumber) {
    const DeploymentClockReference& reference = deployment.reference;
    if (reference.serialNumber.empty() || reference.serialNumber == serialNumber) {
        return {};
    }
    return "The deployment record " + deployment.fileName + " is of instrument " +
           reference.serialNumber + ", not of the connected instrument " +
           std::string(serialNumber) + ".";
}

ClockCheckOutcome MakeClockCheckRecord(const ClockCheck& check,
                                       const std::optional<DeploymentRecordFile>& deployment) {
    ClockCheckOutcome outcome;
    ClockCheckRecord record{check, std::nullopt};
    if (deployment) {
        outcome.refusal = DeploymentRecordRefusal(*deployment);
        if (outcome.refusal.empty()) {
            outcome.refusal = SerialNumberRefusal(*deployment, check.serialNumber);
        }
        if (!outcome.refusal.empty()) {
            return outcome;
        }
        if (deployment->reference.problem == ReferenceProblem::NoClockReading) {
            outcome.note = "The deployment record " + deployment->fileName +
                           " holds no clock reading: the clock check is recorded without drift.";
        } else {
            DriftResult drift =
                CompareWithDeployment(check, deployment->reference, deployment->fileName);
            if (!drift.drift) {
                outcome.refusal = drift.error;
                return outcome;
            }
            record.drift = std::move(drift.drift);
        }
    }
    outcome.record = std::move(record);
    return outcome;
}

std::string DriftSecondsText(std::int64_t seconds) {
    return model::FormatText("%+lld s", static_cast<long long>(seconds));
}

std::string ElapsedDaysText(double days) {
    return model::FormatText("%.2f days", days);
}

std::string DriftRateText(const std::optional<double>& secondsPerDay) {
    if (!secondsPerDay) {
        return model::FormatText("not worked out over less than %lld s",
                                 static_cast<long long>(kMinimumDriftSeconds));
    }
    return model::FormatText("%+.2f s/day", *secondsPerDay);
}

std::string ClockCheckStem(const ClockCheck& check) {
    return operations::RecordFileStem(check.serialNumber, check.computer, kClockCheckKind);
}

std::string FormatClockCheckText(const ClockCheckRecord& record) {
    const ClockCheck& check = record.check;
    std::string out = std::string(operations::kProgramName) + " clock check\n";
    AddRecordLines(out, "Record",
                   {{"Program", std::string(operations::kProgramName) + ' ' +
                                    std::string(operations::ProgramVersion())},
                    {"Serial number", check.serialNumber}});
    AddRecordLines(out, "Clock",
                   {{"Computer time", operations::LocalInstantText(check.computer)},
                    {"UTC", operations::UtcInstantText(check.computer)},
                    {"Instrument time", CalendarText(check.instrument)},
                    {"Offset", ClockOffsetText(OffsetSeconds(check))}});
    if (!record.drift) {
        out += "\nDrift since deployment\n  not compared with a deployment record\n";
        return out;
    }
    const ClockDrift& drift = *record.drift;
    AddRecordLines(out, "Drift since deployment",
                   {{"Deployment record", drift.deploymentRecord},
                    {"Deployed at", drift.deployedAtUtcText},
                    {"Offset at deployment", ClockOffsetText(drift.offsetAtDeploymentSeconds)},
                    {"Elapsed", ElapsedDaysText(drift.elapsedDays)},
                    {"Drift", DriftSecondsText(drift.driftSeconds)},
                    {"Drift per day", DriftRateText(drift.driftSecondsPerDay)}});
    return out;
}

std::string FormatClockCheckJson(const ClockCheckRecord& record) {
    const ClockCheck& check = record.check;
    const std::int64_t offset = OffsetSeconds(check);
    Json json;
    json["record"] = "clock check";
    json["formatVersion"] = 1;
    json["program"] = {{"name", operations::kProgramName},
                       {"version", operations::ProgramVersion()}};
    json["serialNumber"] = check.serialNumber;
    json["computerTime"] = {{"local", operations::LocalInstantText(check.computer)},
                            {"utc", operations::UtcInstantText(check.computer)}};
    json["instrumentTime"] = CalendarText(check.instrument);
    json["offsetSeconds"] = offset;
    json["instrumentAhead"] = offset > 0;
    json["drift"] = nullptr;
    if (record.drift) {
        const ClockDrift& drift = *record.drift;
        json["drift"] = {{"deploymentRecord", drift.deploymentRecord},
                         {"deployedAt", drift.deployedAtUtcText},
                         {"offsetAtDeploymentSeconds", drift.offsetAtDeploymentSeconds},
                         {"elapsedDays", drift.elapsedDays},
                         {"driftSeconds", drift.driftSeconds},
                         {"driftSecondsPerDay", nullptr}};
        if (drift.driftSecondsPerDay) {
            json["drift"]["driftSecondsPerDay"] = *drift.driftSecondsPerDay;
        }
    }
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

operations::RecordTexts ClockCheckRecordTexts(const ClockCheckRecord& record) {
    return {ClockCheckStem(record.check), FormatClockCheckText(record),
            FormatClockCheckJson(record)};
}

std::optional<std::string> ReadInstrumentSerialNumber(link::Link& link) {
    if (!link::IsServedSystem(link::WakeAndIdentify(link))) {
        return std::nullopt;
    }
    std::array<std::uint8_t, model::kSystemConfigurationSize> bytes{};
    int length = 0;
    if (link::FetchStructure(link, "Get CONF", bytes, &length) == 0) {
        return std::nullopt;
    }
    const auto decoded = model::CopyReceivedSystemConfiguration(
        std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(length)));
    if (!decoded.ok()) {
        link.messages.showMessage(decoded.error());
        return std::nullopt;
    }
    return operations::SerialNumberText(decoded.value());
}

} // namespace qpx::instrument
