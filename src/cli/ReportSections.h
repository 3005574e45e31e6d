#pragma once

#include "cli/Report.h"
#include "instrument/HardwareConfigView.h"
#include "operations/Recorder.h"
#include "operations/SettingsTable.h"
#include "planning/DeploymentPlanner.h"

#include <string>
#include <string_view>
#include <vector>

namespace qpx::cli {

// A list entry as a word: the dialogs pad theirs with leading blanks ("     Alkaline").
using operations::EntryText;

// Every setting of the settings table as the planner shows it, with the planner's estimates
// after the settings they follow: the planner's boxes ("deployment"), its advanced block as the
// advanced settings dialog shows it ("advanced") and, when the system has the waves option, its
// wave block as the waves dialog shows it ("waves").
void AddPlannerSections(Report& report, const planning::DeploymentPlanner& planner);

// "&Deploy": "accepted", or the first failed check's message ("deploy-check").
void AddDeployCheckSection(Report& report, const std::optional<std::string>& refusal);

// The hardware configuration view, with its transformation matrix as rows.
void AddHardwareSection(Report& report, const instrument::HardwareConfigView& view);

// The recorder dialog's texts and file listing.
struct RecorderListing {
    std::vector<operations::RecorderListRow> rows;
    std::string fileCountText;
    std::string usedText;
    std::string freeText;
};
void AddRecorderSection(Report& report, const RecorderListing& listing);

// The files of a directory as read: the slots that hold a file, as the list shows them.
RecorderListing ListingOf(const operations::RecorderDirectory& directory);

} // namespace qpx::cli
