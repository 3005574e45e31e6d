#include "ui/ProgramArt.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: without an explicit reference the linker would leave
// them out of the program.
static void LoadProgramResources() {
    Q_INIT_RESOURCE(DeployQpx);
}

namespace qpx::ui {

namespace {

QPixmap Render(const QString& resource, QSize size, qreal ratio) {
    LoadProgramResources();
    QSvgRenderer renderer(resource);
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pixmap;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Render(QStringLiteral(":/deployqpx/icon.svg"), QSize(side, side), 1.0));
    return icon;
}

QPixmap LogoPixmap(qreal devicePixelRatio) {
    return Render(QStringLiteral(":/deployqpx/logo.svg"), QSize(119, 49), devicePixelRatio);
}

} // namespace qpx::ui
