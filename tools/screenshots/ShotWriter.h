#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

class QWidget;

namespace qpx::screenshots {

// Writes each window as <folder>/<name>.png and keeps count of what was written, so the program
// can tell which windows it never reached.
class ShotWriter {
public:
    explicit ShotWriter(const QString& folder) : folder_(folder) {}

    // Draws the window as it is now (shown or not) and saves it. False when nothing was drawn or
    // the file could not be written.
    bool save(QWidget& window, const QString& name);
    // Saves `window` as `name` only if it looks different from the image already saved as
    // `sameAs`: the English twin of a window whose labels do not change is not kept.
    bool saveIfDifferent(QWidget& window, const QString& name, const QString& sameAs);

    bool wrote(const QString& name) const { return written_.contains(name); }
    const QStringList& written() const { return written_; }
    const QStringList& failures() const { return failures_; }

private:
    QDir folder_;
    QStringList written_;
    QStringList failures_;
};

} // namespace qpx::screenshots
