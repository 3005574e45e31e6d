#include "model/TextFormat.h"
#include "planning/DeploymentPlanner.h"
#include "planning/EditReading.h"
#include "planning/PlannerText.h"
#include "planning/SystemLimits.h"

#include <cstddef>

// The user's edits and selections in the planner window.
namespace qpx::planning {

void DeploymentPlanner::fileNameChanged(std::string text) {
    fileName_ = std::move(text);
}

void DeploymentPlanner::commentChanged(int index, std::string text) {
    if (index >= 0 && static_cast<std::size_t>(index) < comments_.size()) {
        comments_[static_cast<std::size_t>(index)] = std::move(text);
    }
}

std::optional<DialogMessage> DeploymentPlanner::boxEdited(CheckedBox box, std::string text) {
    if (text == edit(box).text) {
        return std::nullopt;
    }
    return applyEdit(box, std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::applyEdit(CheckedBox box, std::string text) {
    const LiveCheck& check = LiveCheckFor(box);
    CheckedEdit& entry = edit(box);
    entry.text = std::move(text);
    if (check.length) {
        entry.exactMetres.reset();
    }
    if (entry.text.empty()) {
        return std::nullopt;
    }
    const double reading = check.integer ? static_cast<double>(IntegerReading(entry.text))
                                         : static_cast<double>(DecimalReading(entry.text));
    if (!check.accepts(reading)) {
        return DialogMessage{check.message, 0, false};
    }
    entry.value = reading;
    recompute(check.recomputes);
    return std::nullopt;
}

std::optional<DialogMessage> DeploymentPlanner::averagingIntervalChanged(std::string text) {
    return boxEdited(CheckedBox::Averaging, std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::profilingIntervalChanged(std::string text) {
    return boxEdited(CheckedBox::Profiling, std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::cellsChanged(std::string text) {
    return boxEdited(CheckedBox::Cells, std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::cellSizeChanged(std::string text) {
    return boxEdited(CheckedBox::CellSize, std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::blankingChanged(std::string text) {
    return boxEdited(CheckedBox::Blanking, std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::batteryPacksChanged(std::string text) {
    return boxEdited(CheckedBox::BatteryPacks, std::move(text));
}

void DeploymentPlanner::batteryTypeSelected(int index) {
    if (planner::Selection(index, kBatteryRatings.size()) < 0) {
        return;
    }
    batteryType_ = index;
    computePower();
}

void DeploymentPlanner::coordinateSelected(int index) {
    if (coordinateEnabled() && planner::Selection(index, coordinateEntries().size()) >= 0) {
        coordinate_ = index;
    }
}

void DeploymentPlanner::outputModeSelected(int index) {
    if (planner::Selection(index, kOutputModeList.size()) >= 0) {
        outputMode_ = index;
    }
}

void DeploymentPlanner::setStartTime(const link::CalendarTime& start) {
    start_ = start;
}

std::optional<DialogMessage> DeploymentPlanner::plannedDurationChanged(std::string text) {
    if (text.find_first_not_of(" \t") == std::string::npos) {
        plannedDurationText_.clear();
        plannedDays_.reset();
        return std::nullopt;
    }
    // The whole text must be the number: unlike the planner's boxes nothing checks it again.
    const std::optional<double> days = model::ParseDouble(text);
    if (!days || !(*days >= kMinPlannedDays && *days <= kMaxPlannedDays)) {
        return DialogMessage{std::string(kPlannedDurationMessage)};
    }
    const std::size_t first = text.find_first_not_of(" \t");
    plannedDurationText_ = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    plannedDays_ = *days;
    return std::nullopt;
}

} // namespace qpx::planning
