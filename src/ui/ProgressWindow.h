#pragma once

#include "link/Clock.h"
#include "link/ProgressView.h"
#include "ui/ColourControl.h"
#include "ui/GuardedDialog.h"

#include <QString>

class QPlainTextEdit;
class QProgressBar;

namespace qpx::ui {

// The status window of a long exchange (template 232): a log box in green fixed-pitch text on
// black and a bar. The core drives it; it holds no logic beyond its looks. While it is up the
// program shows the wait cursor, because the user cannot act until the exchange ends.
class ProgressWindow final : public GuardedDialog, public link::ProgressView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 232;
    static constexpr int kLogBoxId = 1300;
    static constexpr int kBarId = 1010;
    static constexpr int kHoldMs = 1500;

    // `clock` takes the hold after a success.
    ProgressWindow(QWidget* owner, link::Clock& clock);
    ~ProgressWindow() override;

    // Centres the window over its owner, on top, shown and painted before the first exchange.
    void present();

    void appendText(std::string_view text) override;
    void setRange(int low, int high) override;
    void setPosition(int position) override;
    void setStep(int step) override;
    void stepIt() override;
    void finish(bool success) override;

    QString text() const;
    QPlainTextEdit* logBox() const { return log_; }
    QProgressBar* bar() const { return bar_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    link::Clock& clock_;
    QPlainTextEdit* log_ = nullptr;
    QProgressBar* bar_ = nullptr;
    ColourControl logColours_;
    int step_ = 10;
};

} // namespace qpx::ui
