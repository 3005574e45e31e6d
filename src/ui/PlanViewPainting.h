#pragma once

#include "planning/EnduranceSweep.h"
#include "planning/WaterColumn.h"

#include <QRectF>
#include <optional>
#include <vector>

class QPainter;

// The planner's two pictures, drawn into any painter (a widget, a PNG, an SVG) so that what is
// saved is what is shown. Colours are grey levels and patterns, so a printout on a grey printer
// keeps every distinction.
namespace qpx::ui {

// The instrument, the blanking zone, every cell as a numbered band, the system's maximum range
// and, with a boundary, the surface or bottom with the side-lobe limit and the cells they spoil.
// Up-looking instruments draw from the bottom up, down-looking from the top down, side-looking
// from left to right. Nothing to draw gives the word "unavailable" in the middle.
void PaintWaterColumn(QPainter& painter, const QRectF& area,
                      const std::optional<planning::WaterColumn>& column, bool metric);

// Battery and recorder days against the profiling interval on a logarithmic axis, the curve
// that ends the deployment drawn heavier, the plan's interval marked with its two values, and an
// optional planned duration as a horizontal line.
void PaintEnduranceChart(QPainter& painter, const QRectF& area,
                         const std::vector<planning::EndurancePoint>& sweep,
                         std::optional<double> plannedDays = std::nullopt);

// Where the chart's plot lies in `area` and the interval at an x inside it, for the cross-hair's
// tooltip; nothing outside the plot or without a sweep.
std::optional<double> EnduranceIntervalAt(const QRectF& area,
                                          const std::vector<planning::EndurancePoint>& sweep,
                                          double x);

} // namespace qpx::ui
