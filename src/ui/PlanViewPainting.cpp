#include "ui/PlanViewPainting.h"

#include "model/TextFormat.h"
#include "ui/DialogWidgets.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

namespace qpx::ui {
namespace {

using planning::EndurancePoint;
using planning::WaterColumn;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kMidGrey(0x80, 0x80, 0x80);
const QColor kLightGrey(0xd8, 0xd8, 0xd8);
const QColor kPaleGrey(0xf0, 0xf0, 0xf0);

void Unavailable(QPainter& painter, const QRectF& area) {
    painter.setPen(kInk);
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("unavailable"));
}

QString Length(double value, bool metric) {
    return CoreText(model::FormatText(metric ? "%.2f m" : "%.2f ft", value));
}

// Ranges from the transducer mapped onto the area for the instrument's orientation: `along` is
// the range, `across` 0..1 the position across the column.
class ColumnFrame {
public:
    ColumnFrame(const QRectF& plot, double fullRange, int orientation)
        : plot_(plot), full_(fullRange), orientation_(orientation) {}

    QPointF at(double along, double across) const {
        const double share = std::clamp(along / full_, 0.0, 1.0);
        switch (orientation_) {
        case 0: // down: from the top
            return {plot_.left() + across * plot_.width(), plot_.top() + share * plot_.height()};
        case 2: // side: from the left
            return {plot_.left() + share * plot_.width(), plot_.top() + across * plot_.height()};
        default: // up: from the bottom
            return {plot_.left() + across * plot_.width(), plot_.bottom() - share * plot_.height()};
        }
    }
    QRectF band(double from, double to, double left = 0.0, double right = 1.0) const {
        return QRectF(at(from, left), at(to, right)).normalized();
    }
    // Pixels per unit of range along the column.
    double scale() const { return (orientation_ == 2 ? plot_.width() : plot_.height()) / full_; }
    bool sideways() const { return orientation_ == 2; }
    // `pixels` from range 0 away from the water, where the instrument stands.
    QPointF behind(double across, double pixels) const {
        const QPointF at = this->at(0.0, across);
        switch (orientation_) {
        case 0:
            return at - QPointF(0, pixels);
        case 2:
            return at - QPointF(pixels, 0);
        default:
            return at + QPointF(0, pixels);
        }
    }

private:
    QRectF plot_;
    double full_;
    int orientation_;
};

void DrawCells(QPainter& painter, const ColumnFrame& frame, const WaterColumn& column,
               const QFontMetricsF& metrics) {
    for (const auto& cell : column.cells) {
        painter.setPen(QPen(kMidGrey, 0.5));
        painter.setBrush(cell.number % 2 == 0 ? kLightGrey : kPaleGrey);
        if (cell.contaminated) {
            painter.setBrush(QBrush(kMidGrey, Qt::DiagCrossPattern));
        }
        if (cell.outOfWater) {
            painter.setBrush(QBrush(kMidGrey, Qt::Dense5Pattern));
        }
        painter.drawRect(frame.band(cell.nearEdge, cell.farEdge));
    }
    if (column.cells.size() > 100) {
        return;
    }
    // Numbers after every band, so no band covers one; every k-th where bands are thinner than
    // the text, so no two numbers touch.
    const double bandPixels = column.cellSize * frame.scale();
    const double needed = frame.sideways() ? metrics.horizontalAdvance(QStringLiteral("100")) * 1.3
                                           : metrics.height() * 1.1;
    const int every = std::max(1, static_cast<int>(std::ceil(needed / bandPixels)));
    painter.setPen(kInk);
    for (const auto& cell : column.cells) {
        if ((cell.number - 1) % every == 0) {
            const QPointF centre = frame.at(cell.centre, 0.5);
            painter.drawText(
                QRectF(centre - QPointF(40, metrics.height() / 2), QSizeF(80, metrics.height())),
                Qt::AlignCenter, QString::number(cell.number));
        }
    }
}

// A line across the column at a range, and its label beside it; labels are gathered and set
// apart afterwards so that two close marks stay readable.
struct Mark {
    double range;
    QPen pen;
    QString label;
};

void DrawMarks(QPainter& painter, const ColumnFrame& frame, const QRectF& labels,
               std::vector<Mark> marks, const QFontMetricsF& metrics) {
    std::vector<std::pair<double, QString>> placed;
    for (const Mark& mark : marks) {
        painter.setPen(mark.pen);
        const QPointF from = frame.at(mark.range, 0.0);
        const QPointF to = frame.at(mark.range, 1.0);
        painter.drawLine(from, frame.sideways() ? to : QPointF(labels.left() - 4, to.y()));
        placed.emplace_back(frame.sideways() ? from.x() : from.y(), mark.label);
    }
    std::sort(placed.begin(), placed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    painter.setPen(kInk);
    double last = -1e9;
    for (auto& [position, label] : placed) {
        if (frame.sideways()) {
            // Labels under the column, one line each, at their marks' left.
            const double y = std::max(labels.top() + metrics.height(), last + metrics.height());
            painter.drawText(
                QPointF(std::min(position, labels.right() - metrics.horizontalAdvance(label)), y),
                label);
            last = y;
        } else {
            const double y = std::max(position + metrics.ascent() / 2, last + metrics.height());
            painter.drawText(QPointF(labels.left(), y), label);
            last = y;
        }
    }
}

// Range ticks along the column's near side: 1, 2 or 5 times a power of ten apart.
void DrawRangeAxis(QPainter& painter, const ColumnFrame& frame, double full, bool metric,
                   const QFontMetricsF& metrics) {
    const double raw = full / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw) {
            step = factor * power;
            break;
        }
    }
    painter.setPen(QPen(kInk, 1));
    painter.drawLine(frame.at(0.0, -0.04), frame.at(full, -0.04));
    for (double range = 0.0; range <= full * 1.0001; range += step) {
        const QPointF at = frame.at(range, -0.04);
        const QString text = CoreText(model::FormatGeneral(range, 4)) +
                             (metric ? QStringLiteral(" m") : QStringLiteral(" ft"));
        if (frame.sideways()) {
            painter.drawLine(at, at - QPointF(0, 4));
            painter.drawText(at - QPointF(metrics.horizontalAdvance(text) / 2, 7), text);
        } else {
            painter.drawLine(at, at - QPointF(4, 0));
            painter.drawText(
                at - QPointF(metrics.horizontalAdvance(text) + 7, -metrics.ascent() / 2), text);
        }
    }
}

} // namespace

void PaintWaterColumn(QPainter& painter, const QRectF& area,
                      const std::optional<WaterColumn>& column, bool metric) {
    painter.save();
    painter.fillRect(area, Qt::white);
    if (!column) {
        Unavailable(painter, area);
        painter.restore();
        return;
    }
    const QFontMetricsF metrics(painter.font());
    // The picture reaches past the profile and the boundary; the system's maximum range is
    // drawn when it lies near enough not to shrink the cells to lines, and named otherwise.
    double full = std::max(column->profileEnd, column->boundary.value_or(0.0)) * 1.15;
    const bool maxRangeDrawn = column->maxRange <= full * 2.0;
    if (maxRangeDrawn) {
        full = std::max(full, column->maxRange * 1.05);
    }
    const bool sideways = column->sensorOrientation == 2;
    const double line = metrics.height();
    const QRectF inner = area.adjusted(8, line + 10, -8, -8);
    QRectF plot;
    QRectF labels;
    if (sideways) {
        plot = QRectF(inner.left() + 10, inner.top() + line + 12, inner.width() - 20,
                      std::min(inner.height() * 0.35, 120.0));
        labels =
            QRectF(inner.left(), plot.bottom() + 6, inner.width(), inner.bottom() - plot.bottom());
    } else {
        const double tickRoom = metrics.horizontalAdvance(QStringLiteral("0000 ft")) + 12;
        const double width = std::min(inner.width() * 0.4, 200.0);
        plot =
            QRectF(inner.left() + tickRoom, inner.top() + line, width, inner.height() - 2 * line);
        labels =
            QRectF(plot.right() + 12, plot.top(), inner.right() - plot.right() - 12, plot.height());
    }
    const ColumnFrame frame(plot, full, column->sensorOrientation);

    // The instrument at range 0, the blanking zone hatched.
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(kMidGrey);
    painter.drawRect(QRectF(frame.behind(0.3, 0.0), frame.behind(0.7, 10.0)).normalized());
    painter.setBrush(QBrush(kMidGrey, Qt::BDiagPattern));
    painter.setPen(Qt::NoPen);
    painter.drawRect(frame.band(0.0, column->blanking));

    DrawCells(painter, frame, *column, metrics);
    DrawRangeAxis(painter, frame, full, metric, metrics);
    std::vector<Mark> marks;
    if (maxRangeDrawn) {
        marks.push_back({column->maxRange, QPen(kInk, 1, Qt::DashLine),
                         QStringLiteral("Max range ") + Length(column->maxRange, metric)});
    }
    if (column->boundary) {
        const QString name = column->sensorOrientation == 1   ? QStringLiteral("Surface ")
                             : column->sensorOrientation == 0 ? QStringLiteral("Bottom ")
                                                              : QStringLiteral("Boundary ");
        marks.push_back(
            {*column->boundary, QPen(kInk, 2.5), name + Length(*column->boundary, metric)});
        marks.push_back(
            {*column->sideLobeLimit, QPen(kInk, 1.5, Qt::DotLine),
             QStringLiteral("Side-lobe limit ") + Length(*column->sideLobeLimit, metric)});
    }
    DrawMarks(painter, frame, labels, std::move(marks), metrics);
    painter.setPen(kInk);
    QString summary = QStringLiteral("Blanking ") + Length(column->blanking, metric) +
                      QStringLiteral(", ") + QString::number(column->cells.size()) +
                      QStringLiteral(" cells to ") + Length(column->profileEnd, metric);
    if (!maxRangeDrawn) {
        summary += QStringLiteral("; max range ") + Length(column->maxRange, metric);
    }
    painter.drawText(area.adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignLeft, summary);
    painter.restore();
}

namespace {

struct ChartFrame {
    QRectF plot;
    double minInterval = 1.0;
    double maxInterval = 10.0;
    // Days on a logarithmic axis too: at short intervals both estimates are a few days, at the
    // longest thousands, and a linear axis would flatten the plan's own region to a line.
    double minDays = 0.1;
    double maxDays = 1.0;

    double x(double interval) const {
        const double share = std::log(interval / minInterval) / std::log(maxInterval / minInterval);
        return plot.left() + std::clamp(share, 0.0, 1.0) * plot.width();
    }
    double y(double days) const {
        const double share =
            days > 0.0 ? std::log(days / minDays) / std::log(maxDays / minDays) : 0.0;
        return plot.bottom() - std::clamp(share, 0.0, 1.0) * plot.height();
    }
};

// The chart's frame: the plot inside room for the axes' labels.
std::optional<ChartFrame> FrameOf(const QRectF& area, const std::vector<EndurancePoint>& sweep,
                                  std::optional<double> plannedDays) {
    if (sweep.size() < 2) {
        return std::nullopt;
    }
    ChartFrame frame;
    frame.plot = area.adjusted(64, 28, -20, -44);
    frame.minInterval = sweep.front().profilingInterval;
    frame.maxInterval = sweep.back().profilingInterval;
    double most = plannedDays.value_or(0.0);
    double least = plannedDays.value_or(std::numeric_limits<double>::infinity());
    for (const auto& point : sweep) {
        for (const auto& days : {point.batteryDays, point.recorderDays}) {
            if (days && *days > 0.0f) {
                most = std::max(most, static_cast<double>(*days));
                least = std::min(least, static_cast<double>(*days));
            }
        }
    }
    if (!(frame.minInterval > 0.0) || !(frame.maxInterval > frame.minInterval) || !(most > 0.0) ||
        !std::isfinite(most) || !std::isfinite(least)) {
        return std::nullopt;
    }
    // Whole decades at both ends.
    frame.minDays = std::pow(10.0, std::floor(std::log10(least)));
    frame.maxDays = std::pow(10.0, std::ceil(std::log10(most * 1.05)));
    if (frame.maxDays <= frame.minDays) {
        frame.maxDays = frame.minDays * 10.0;
    }
    return frame;
}

void DrawAxes(QPainter& painter, const ChartFrame& frame) {
    const QFontMetricsF metrics(painter.font());
    painter.setPen(QPen(kInk, 1));
    painter.drawLine(frame.plot.bottomLeft(), frame.plot.bottomRight());
    painter.drawLine(frame.plot.bottomLeft(), frame.plot.topLeft());
    // Interval ticks where a reader thinks in seconds, minutes and hours.
    double lastRight = -1e9;
    for (double tick : {0.5, 1.0, 2.0, 5.0, 10.0, 30.0, 60.0, 120.0, 300.0, 600.0, 1200.0, 1800.0,
                        3600.0, 7200.0, 14400.0, 21600.0, 43200.0}) {
        if (tick < frame.minInterval * 0.999 || tick > frame.maxInterval * 1.001) {
            continue;
        }
        const double x = frame.x(tick);
        const QString label = CoreText(planning::IntervalText(tick));
        const double width = metrics.horizontalAdvance(label);
        // Kept inside the plot's width, clear of the day labels at its left.
        const double left =
            std::clamp(x - width / 2, frame.plot.left() + 2, frame.plot.right() - width);
        if (left < lastRight + 6) {
            continue;
        }
        lastRight = left + width;
        painter.setPen(QPen(kLightGrey, 1));
        painter.drawLine(QPointF(x, frame.plot.top()), QPointF(x, frame.plot.bottom()));
        painter.setPen(kInk);
        painter.drawText(QPointF(left, frame.plot.bottom() + metrics.height() + 2), label);
    }
    for (double days = frame.minDays; days <= frame.maxDays * 1.0001; days *= 10.0) {
        const double y = frame.y(days);
        painter.setPen(QPen(kLightGrey, 1));
        painter.drawLine(QPointF(frame.plot.left(), y), QPointF(frame.plot.right(), y));
        painter.setPen(kInk);
        const QString label =
            CoreText(days < 1.0 ? model::FormatGeneral(days, 3) : model::FormatText("%.0f", days));
        painter.drawText(QPointF(frame.plot.left() - metrics.horizontalAdvance(label) - 6,
                                 y + metrics.ascent() / 2),
                         label);
    }
    painter.drawText(QRectF(frame.plot.left(), frame.plot.bottom() + metrics.height() + 4,
                            frame.plot.width(), metrics.height() + 4),
                     Qt::AlignHCenter,
                     QStringLiteral("Profiling interval (both axes logarithmic)"));
    painter.drawText(QPointF(4, frame.plot.top() - 10), QStringLiteral("Days"));
}

void DrawCurve(QPainter& painter, const ChartFrame& frame, const std::vector<EndurancePoint>& sweep,
               bool battery, const QPen& pen) {
    QPainterPath path;
    bool drawing = false;
    for (const auto& point : sweep) {
        const auto days = battery ? point.batteryDays : point.recorderDays;
        if (!days) {
            drawing = false;
            continue;
        }
        const QPointF at(frame.x(point.profilingInterval), frame.y(*days));
        if (drawing) {
            path.lineTo(at);
        } else {
            path.moveTo(at);
            drawing = true;
        }
    }
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

QString Days(const std::optional<float>& days) {
    return days ? CoreText(model::FormatText("%.0f days", static_cast<double>(*days)))
                : QStringLiteral("unavailable");
}

} // namespace

void PaintEnduranceChart(QPainter& painter, const QRectF& area,
                         const std::vector<EndurancePoint>& sweep,
                         std::optional<double> plannedDays) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const auto frame = FrameOf(area, sweep, plannedDays);
    if (!frame) {
        Unavailable(painter, area);
        painter.restore();
        return;
    }
    DrawAxes(painter, *frame);
    const planning::EnduranceLimit limit = planning::LimitingEstimate(sweep);
    const bool batteryEnds = limit == planning::EnduranceLimit::Battery;
    const bool recorderEnds = limit == planning::EnduranceLimit::Recorder;
    DrawCurve(painter, *frame, sweep, true, QPen(kInk, batteryEnds ? 3.0 : 1.5));
    DrawCurve(painter, *frame, sweep, false,
              QPen(kMidGrey, recorderEnds ? 3.0 : 1.5, Qt::DashLine));
    if (plannedDays) {
        painter.setPen(QPen(kInk, 1, Qt::DashDotLine));
        const double y = frame->y(*plannedDays);
        painter.drawLine(QPointF(frame->plot.left(), y), QPointF(frame->plot.right(), y));
        painter.drawText(QPointF(frame->plot.left() + 4, y - 3),
                         CoreText(model::FormatText("Planned %.0f days", *plannedDays)));
    }
    const auto own =
        std::find_if(sweep.begin(), sweep.end(), [](const EndurancePoint& p) { return p.planned; });
    const QFontMetricsF metrics(painter.font());
    if (own != sweep.end()) {
        const double x = frame->x(own->profilingInterval);
        painter.setPen(QPen(kInk, 1.5, Qt::DotLine));
        painter.drawLine(QPointF(x, frame->plot.top()), QPointF(x, frame->plot.bottom()));
        const QString text = QStringLiteral("Plan ") +
                             CoreText(planning::IntervalText(own->profilingInterval)) +
                             QStringLiteral(": battery ") + Days(own->batteryDays) +
                             QStringLiteral(", recorder ") + Days(own->recorderDays);
        const double width = metrics.horizontalAdvance(text);
        // Clear of the axis title "Days" at the top left.
        const double left =
            std::clamp(x - width / 2, frame->plot.left() + 4, area.right() - width - 2);
        painter.setPen(kInk);
        painter.drawText(QPointF(left, frame->plot.top() - 8), text);
    }
    // The key, bottom right inside the plot.
    const QPointF key(frame->plot.right() - 170, frame->plot.top() + 14);
    painter.setPen(QPen(kInk, batteryEnds ? 3.0 : 1.5));
    painter.drawLine(key, key + QPointF(24, 0));
    painter.setPen(QPen(kMidGrey, recorderEnds ? 3.0 : 1.5, Qt::DashLine));
    painter.drawLine(key + QPointF(0, 16), key + QPointF(24, 16));
    painter.setPen(kInk);
    painter.drawText(key + QPointF(30, 4), QStringLiteral("Battery days"));
    painter.drawText(key + QPointF(30, 20), QStringLiteral("Recorder days"));
    painter.restore();
}

std::optional<double> EnduranceIntervalAt(const QRectF& area,
                                          const std::vector<EndurancePoint>& sweep, double x) {
    const auto frame = FrameOf(area, sweep, std::nullopt);
    if (!frame || x < frame->plot.left() || x > frame->plot.right()) {
        return std::nullopt;
    }
    const double share = (x - frame->plot.left()) / frame->plot.width();
    return frame->minInterval * std::pow(frame->maxInterval / frame->minInterval, share);
}

} // namespace qpx::ui
