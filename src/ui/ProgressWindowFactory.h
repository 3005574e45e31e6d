#pragma once

#include "link/Clock.h"
#include "link/ProgressView.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace qpx::ui {

class ProgressWindow;

// Opens a fresh ProgressWindow over the owner for each sequence of the core.
class ProgressWindowFactory final : public link::ProgressViewFactory {
public:
    ProgressWindowFactory(QWidget* owner, link::Clock& clock);

    std::unique_ptr<link::ProgressView> open() override;

    // What each window showed, kept when it goes: the windows themselves never outlive their
    // sequence.
    const QStringList& transcripts() const { return transcripts_; }
    // Called with each window once it is shown (tests look at it while the sequence runs).
    std::function<void(ProgressWindow&)> onOpened;

private:
    QPointer<QWidget> owner_;
    link::Clock& clock_;
    QStringList transcripts_;
};

} // namespace qpx::ui
