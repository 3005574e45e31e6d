#include "model/TextFormat.h"
#include "planning/DeploymentPlanner.h"
#include "planning/PlannerText.h"
#include "planning/SystemLimits.h"

#include <algorithm>
#include <cstddef>

// The planner's shown texts and the combo boxes' entries.
namespace qpx::planning {
namespace {

constexpr std::array<std::string_view, 3> kCoordinateList{"    Beam", "     XYZ", "     ENU"};

} // namespace

const std::string& DeploymentPlanner::commentText(int index) const {
    return comments_[static_cast<std::size_t>(std::clamp(index, 0, 2))];
}

std::string DeploymentPlanner::startDateTimeText() const {
    return model::FormatText("%04d/%02d/%02d,  %02d:%02d:%02d", start_.year, start_.month,
                             start_.day, start_.hour, start_.minute, start_.second);
}

std::string DeploymentPlanner::cellSizeLabel() const {
    return metric() ? "Cell Size (m):" : "Cell Size (ft):";
}

std::string DeploymentPlanner::blankingLabel() const {
    return metric() ? "Blanking Distance (m):" : "Blanking Distance (ft):";
}

std::vector<std::string_view> DeploymentPlanner::coordinateList() const {
    const std::size_t count = inputs_.system.compassInstalled != 0 ? 3 : 2;
    return {kCoordinateList.begin(), kCoordinateList.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::vector<std::string_view> DeploymentPlanner::coordinateEntries() const {
    std::vector<std::string_view> entries = coordinateList();
    const std::size_t held = static_cast<std::size_t>(std::max(heldCoordinate_, 0));
    if (held == entries.size() && held < kCoordinateList.size()) {
        entries.push_back(kCoordinateList[held]);
    }
    return entries;
}

int DeploymentPlanner::coordinateSelection() const {
    return planner::Selection(coordinate_, coordinateEntries().size());
}

int DeploymentPlanner::outputModeSelection() const {
    return planner::Selection(outputMode_, kOutputModeList.size());
}

int DeploymentPlanner::recorderEnabledSelection() const {
    return planner::Selection(recorderEnabled_, kRecorderEnabledList.size());
}

std::vector<std::string_view> DeploymentPlanner::batteryTypeList() {
    std::vector<std::string_view> list;
    for (const BatteryRating& rating : kBatteryRatings) {
        list.push_back(rating.listText);
    }
    return list;
}

} // namespace qpx::planning
