#pragma once

#include "instrument/DeploymentReview.h"
#include "link/CommandJournal.h"
#include "link/Link.h"
#include "operations/ConnectedSetup.h"
#include "operations/RecordNaming.h"
#include "planning/DeploymentPlanner.h"
#include "planning/DeploymentValues.h"

#include <optional>
#include <string>
#include <vector>

// What is kept of every run that reached the upload: who sent what to which instrument, how each
// line went, and how the run ended. One text for people and one JSON for scripts, with one name.
namespace qpx::instrument {

// A setting as downloaded and as planned.
struct RecordedSetting {
    std::string name;
    std::string downloaded;
    std::string planned;
    bool changed = false;
};

struct DeploymentRecord {
    operations::RecordInstant made; // when the review was passed
    std::string serialNumber;
    link::InstrumentIdentity identity;
    std::vector<ReviewLine> hardware; // the hardware configuration's fields
    std::vector<RecordedSetting> settings;
    DeploymentReview review;
    std::optional<planning::ClockReading> clock;
    std::string plannedDuration; // as typed; empty for none
    std::string remarks;
    // Filled in when the upload has run.
    std::vector<link::JournalEntry> sent;
    std::string result;
    std::string failedStep;
    std::string failureMessage;
};

// Everything known before the upload: `downloaded` are the inputs the planner was opened with.
DeploymentRecord StartDeploymentRecord(const planning::DeploymentPlanner& planner,
                                       const planning::PlannerInputs& downloaded,
                                       const planning::AcceptedPlan& plan,
                                       const link::InstrumentIdentity& identity,
                                       const operations::RecordInstant& made);
void FinishDeploymentRecord(DeploymentRecord& record, const operations::UploadRun& run);

// "<serial>_<yyyymmddThhmmssZ>_deploy".
std::string DeploymentRecordStem(const DeploymentRecord& record);
// "echo matched at attempt 1, reply OK", "failed: no echo match in 10 attempts", ...
std::string OutcomeText(const link::JournalEntry& entry);
std::string FormatDeploymentRecordText(const DeploymentRecord& record);
std::string FormatDeploymentRecordJson(const DeploymentRecord& record);
// The stem, the text and the JSON together, for saving.
operations::RecordTexts DeploymentRecordTexts(const DeploymentRecord& record);

// A section of a record for people: its title, then "  label  text" lines with the labels padded
// to one column.
struct RecordLine {
    std::string label;
    std::string text;
};
void AddRecordLines(std::string& out, std::string_view title, const std::vector<RecordLine>& lines);

} // namespace qpx::instrument
