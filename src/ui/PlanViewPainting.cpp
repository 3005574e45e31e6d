#include "ui/PlanViewPainting.h"

#include "model/TextFormat.h"
#include "ui/DialogWidgets.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

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

private:
    QRectF plot_;
    double full_;
    int orientation_;
};

void DrawCells(QPainter& painter, const ColumnFrame& frame, const WaterColumn& column,
               const QFontMetricsF& metrics) {
    const double bandPixels = column.cellSize * frame.scale();
    const bool numbered = column.cells.size() <= 100;
    // Every cell is numbered when there is room; otherwise every k-th, so no two numbers touch.
    const int every = std::max(1, static_cast<int>(std::ceil(metrics.height() * 1.1 / bandPixels)));
    for (const auto& cell : column.cells) {
        const QRectF band = frame.band(cell.nearEdge, cell.farEdge, 0.15, 0.85);
        painter.setPen(QPen(kMidGrey, 0.5));
        painter.setBrush(cell.number % 2 == 0 ? kLightGrey : kPaleGrey);
        if (cell.contaminated) {
            painter.setBrush(QBrush(kMidGrey, Qt::DiagCrossPattern));
        }
        if (cell.outOfWater) {
            painter.setBrush(QBrush(kMidGrey, Qt::Dense5Pattern));
        }
        painter.drawRect(band);
        if (numbered && (cell.number - 1) % every == 0) {
            painter.setPen(kInk);
            painter.drawText(band, Qt::AlignCenter, QString::number(cell.number));
        }
    }
}

void DrawMark(QPainter& painter, const ColumnFrame& frame, double range, const QPen& pen,
              const QString& label) {
    painter.setPen(pen);
    painter.drawLine(frame.at(range, 0.0), frame.at(range, 1.0));
    painter.setPen(kInk);
    const QPointF end = frame.at(range, frame.sideways() ? 0.02 : 1.0);
    painter.drawText(end + (frame.sideways() ? QPointF(3, 12) : QPointF(-120, -3)), label);
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
    const double full =
        std::max({column->maxRange, column->profileEnd, column->boundary.value_or(0.0) * 1.05}) *
        1.02;
    const QRectF plot = area.adjusted(10, metrics.height() + 8, -130, -metrics.height() - 8);
    const ColumnFrame frame(plot, full, column->sensorOrientation);

    // The instrument at range 0, the blanking zone hatched.
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(kMidGrey);
    const QRectF head = frame.band(-full * 0.0, full * 0.015, 0.35, 0.65);
    painter.drawRect(head);
    painter.setBrush(QBrush(kMidGrey, Qt::BDiagPattern));
    painter.setPen(Qt::NoPen);
    painter.drawRect(frame.band(0.0, column->blanking, 0.15, 0.85));

    DrawCells(painter, frame, *column, metrics);
    DrawMark(painter, frame, column->maxRange, QPen(kInk, 1, Qt::DashLine),
             QStringLiteral("Max range ") + Length(column->maxRange, metric));
    if (column->boundary) {
        const QString name = column->sensorOrientation == 1   ? QStringLiteral("Surface ")
                             : column->sensorOrientation == 0 ? QStringLiteral("Bottom ")
                                                              : QStringLiteral("Boundary ");
        DrawMark(painter, frame, *column->boundary, QPen(kInk, 2.5),
                 name + Length(*column->boundary, metric));
        DrawMark(painter, frame, *column->sideLobeLimit, QPen(kInk, 1.5, Qt::DotLine),
                 QStringLiteral("Side-lobe limit ") + Length(*column->sideLobeLimit, metric));
    }
    painter.setPen(kInk);
    painter.drawText(area.adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignLeft,
                     QStringLiteral("Blanking ") + Length(column->blanking, metric) +
                         QStringLiteral(", profile to ") + Length(column->profileEnd, metric));
    painter.restore();
}

namespace {

struct ChartFrame {
    QRectF plot;
    double minInterval = 1.0;
    double maxInterval = 10.0;
    double maxDays = 1.0;

    double x(double interval) const {
        const double share = std::log(interval / minInterval) / std::log(maxInterval / minInterval);
        return plot.left() + std::clamp(share, 0.0, 1.0) * plot.width();
    }
    double y(double days) const {
        return plot.bottom() - std::clamp(days / maxDays, 0.0, 1.0) * plot.height();
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
    for (const auto& point : sweep) {
        most = std::max({most, static_cast<double>(point.batteryDays.value_or(0.0f)),
                         static_cast<double>(point.recorderDays.value_or(0.0f))});
    }
    if (!(frame.minInterval > 0.0) || !(frame.maxInterval > frame.minInterval) || !(most > 0.0) ||
        !std::isfinite(most)) {
        return std::nullopt;
    }
    // A round top: 1, 2 or 5 times a power of ten.
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= most * 1.05) {
            frame.maxDays = step * power;
            break;
        }
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
        if (x - width / 2 < lastRight + 6) {
            continue;
        }
        lastRight = x + width / 2;
        painter.setPen(QPen(kLightGrey, 1));
        painter.drawLine(QPointF(x, frame.plot.top()), QPointF(x, frame.plot.bottom()));
        painter.setPen(kInk);
        painter.drawText(QPointF(x - width / 2, frame.plot.bottom() + metrics.height()), label);
    }
    for (int i = 0; i <= 5; ++i) {
        const double days = frame.maxDays * i / 5.0;
        const double y = frame.y(days);
        painter.setPen(QPen(kLightGrey, 1));
        painter.drawLine(QPointF(frame.plot.left(), y), QPointF(frame.plot.right(), y));
        painter.setPen(kInk);
        const QString label = CoreText(model::FormatGeneral(days, 4));
        painter.drawText(QPointF(frame.plot.left() - metrics.horizontalAdvance(label) - 6,
                                 y + metrics.ascent() / 2),
                         label);
    }
    painter.drawText(QRectF(frame.plot.left(), frame.plot.bottom() + metrics.height() + 4,
                            frame.plot.width(), metrics.height() + 4),
                     Qt::AlignHCenter, QStringLiteral("Profiling interval (logarithmic)"));
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
        const double left = std::clamp(x - width / 2, area.left() + 2, area.right() - width - 2);
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
