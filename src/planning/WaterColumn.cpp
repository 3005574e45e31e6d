#include "planning/WaterColumn.h"

#include "model/Units.h"
#include "planning/SystemLimits.h"

#include <cmath>
#include <numbers>

namespace qpx::planning {
namespace {

bool PositiveFinite(double value) {
    return std::isfinite(value) && value > 0.0;
}

} // namespace

std::optional<WaterColumn> PlannedWaterColumn(const DeploymentPlanner& planner,
                                              std::optional<double> boundary) {
    WaterColumn column;
    column.cellSize = planner.cellSize();
    column.blanking = planner.blanking();
    const int cells = planner.cells();
    if (cells <= 0 || !PositiveFinite(column.cellSize) || !std::isfinite(column.blanking) ||
        column.blanking < 0.0 || (boundary && !PositiveFinite(*boundary))) {
        return std::nullopt;
    }
    const model::SystemConfiguration& system = planner.systemConfiguration();
    column.sensorOrientation = system.sensorOrientation;
    const float maxRange =
        ProfileLimits(system.systemFrequency, planner.pulseCoherent() ? 1 : 0).maxRange;
    column.maxRange = planner.metric() ? maxRange : model::MetresToFeet(maxRange);
    column.boundary = boundary;
    if (boundary) {
        const double slant = system.slantAngle * 0.1 * std::numbers::pi / 180.0;
        column.sideLobeLimit = *boundary * std::cos(slant);
    }
    column.cells.reserve(static_cast<std::size_t>(cells));
    for (int i = 1; i <= cells; ++i) {
        CellSpan cell;
        cell.number = i;
        cell.centre = column.blanking + column.cellSize * (i - 0.5);
        cell.nearEdge = cell.centre - column.cellSize * 0.5;
        cell.farEdge = cell.centre + column.cellSize * 0.5;
        if (column.sideLobeLimit) {
            cell.contaminated = cell.farEdge > *column.sideLobeLimit;
            cell.outOfWater = cell.centre > *boundary;
        }
        column.cells.push_back(cell);
    }
    column.profileEnd = column.cells.back().farEdge;
    return column;
}

} // namespace qpx::planning
