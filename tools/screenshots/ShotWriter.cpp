#include "screenshots/ShotWriter.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace qpx::screenshots {

namespace {

QPixmap Draw(QWidget& window) {
    window.ensurePolished();
    if (!window.isVisible())
        window.adjustSize();
    // Pending layout and paint events first, so the image shows the window's current contents.
    QApplication::processEvents();
    return window.grab();
}

} // namespace

bool ShotWriter::save(QWidget& window, const QString& name) {
    const QPixmap image = Draw(window);
    if (image.isNull() || !image.save(folder_.filePath(name + QStringLiteral(".png")))) {
        failures_ << name;
        return false;
    }
    written_ << name;
    return true;
}

bool ShotWriter::saveIfDifferent(QWidget& window, const QString& name, const QString& sameAs) {
    const QImage earlier(folder_.filePath(sameAs + QStringLiteral(".png")));
    const QImage now = Draw(window).toImage().convertToFormat(earlier.format());
    if (!earlier.isNull() && now == earlier) {
        QFile::remove(folder_.filePath(name + QStringLiteral(".png")));
        return false;
    }
    return save(window, name);
}

} // namespace qpx::screenshots
