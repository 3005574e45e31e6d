#include "ui/ActivityTrace.h"

#include <QPainter>
#include <cmath>
#include <cstdlib>

namespace qpx::ui {

namespace {

// Degrees to radians in single precision, as the trace has always been drawn.
constexpr float kRadiansPerDegree = 0.017453292f;

void PlotSegment(QImage& image, QPoint from, QPoint to, QRgb colour) {
    const int dx = std::abs(to.x() - from.x());
    const int dy = std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    int err = dx - dy;
    int x = from.x();
    int y = from.y();
    while (x != to.x() || y != to.y()) {
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
            image.setPixel(x, y, colour);
        const int twice = 2 * err;
        if (twice > -dy) {
            err -= dy;
            x += sx;
        }
        if (twice < dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

std::vector<QPoint> TraceVertices(int width, int height) {
    std::vector<QPoint> points;
    if (width <= 0 || height <= 0)
        return points;
    const int m = width / 2;
    points.reserve(static_cast<std::size_t>(height) + 1);
    points.emplace_back(m, 0);
    for (int i = 0; i < height; ++i) {
        const float envelope = static_cast<float>(3 * i) * kRadiansPerDegree;
        const float zigzag = static_cast<float>(60 * i) * kRadiansPerDegree;
        const double x = static_cast<double>(m) * (1.0 - std::cos(static_cast<double>(envelope)) *
                                                             std::sin(static_cast<double>(zigzag)));
        points.emplace_back(static_cast<int>(x), i);
    }
    return points;
}

QImage DrawTrace(QSize client, QColor background, QColor line) {
    QImage image(client.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(background);
    const std::vector<QPoint> points = TraceVertices(client.width(), client.height());
    for (std::size_t k = 1; k < points.size(); ++k)
        PlotSegment(image, points[k - 1], points[k], line.rgb());
    return image;
}

ActivityTrace::ActivityTrace(QWidget* parent, QColor background, QColor line)
    : QFrame(parent), background_(background), line_(line) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLineWidth(1);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

QSize ActivityTrace::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {14 + frame, 120 + frame};
}

void ActivityTrace::prepareBuffer() {
    buffer_ = QImage(contentsRect().size().expandedTo(QSize(0, 0)), QImage::Format_RGB32);
}

void ActivityTrace::redraw() {
    buffer_ = DrawTrace(buffer_.size(), background_, line_);
    update();
}

void ActivityTrace::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (!buffer_.isNull())
        painter.drawImage(contentsRect().topLeft(), buffer_);
}

void ActivityTrace::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // Layouts settle the strip's size after it was first drawn; keep the picture filling it.
    if (!buffer_.isNull() || isVisible()) {
        prepareBuffer();
        redraw();
    }
}

} // namespace qpx::ui
