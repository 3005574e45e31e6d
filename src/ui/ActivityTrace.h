#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <vector>

namespace qpx::ui {

// The corners of the trace's line for a client area of `width` x `height`: the centre of the top
// edge, then one point per row i at x = trunc(m * (1 - cos(3i deg) * sin(60i deg))), m = width / 2.
std::vector<QPoint> TraceVertices(int width, int height);

// The trace's picture: the background, then straight segments through the vertices. Each segment
// covers its start pixel and leaves out its end pixel, which the next segment starts on (a
// Bresenham walk), so no pixel is set twice and the last vertex stays unset. Pixels outside the
// area (x = 2m on an even width) are clipped.
QImage DrawTrace(QSize client, QColor background, QColor line);

// The narrow indicator strip of the connection window: a sunken frame around a picture drawn once
// into an off-screen image and copied on every paint, so the strip never flickers.
class ActivityTrace final : public QFrame {
    Q_OBJECT
public:
    ActivityTrace(QWidget* parent, QColor background, QColor line);

    // Makes the off-screen image the size of the client area.
    void prepareBuffer();
    // Draws into the image and schedules a repaint.
    void redraw();

    const QImage& buffer() const { return buffer_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QColor background_;
    QColor line_;
    QImage buffer_;
};

} // namespace qpx::ui
