#pragma once

#include "planning/DeploymentPlanner.h"

#include <optional>
#include <vector>

// Where the planned cells lie in the water, for the planner's views: every cell's span from the
// transducer, and, given the distance to the surface (up-looking) or the bottom (down-looking),
// which cells the boundary's side-lobe echoes reach and which lie beyond it. Lengths in the
// planner's unit system.
namespace qpx::planning {

struct CellSpan {
    int number = 0; // 1-based, from the transducer out
    double nearEdge = 0.0;
    double centre = 0.0;
    double farEdge = 0.0;
    bool contaminated = false; // its far edge lies past the side-lobe limit
    bool outOfWater = false;   // its centre lies past the boundary
};

struct WaterColumn {
    double blanking = 0.0;
    double cellSize = 0.0;
    std::vector<CellSpan> cells;
    double profileEnd = 0.0;   // the far edge of the last cell
    double maxRange = 0.0;     // the system's, in the same unit
    int sensorOrientation = 0; // 0 down, 1 up, 2 side (the SystemConfiguration's)
    std::optional<double> boundary;
    // boundary x cos(slant angle): echoes of the boundary reach every range past it.
    std::optional<double> sideLobeLimit;
};

// Cell i (1-based) is centred at blanking + cell size x (i - 0.5), summed in double from the
// planner's float values as the profiling-range text is. Nothing when the planner's values give
// no profile (no cells, a cell size or blanking that is not a positive finite number) or the
// boundary distance is not a positive finite number.
std::optional<WaterColumn> PlannedWaterColumn(const DeploymentPlanner& planner,
                                              std::optional<double> boundary = std::nullopt);

} // namespace qpx::planning
