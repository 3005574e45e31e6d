#pragma once

#include "operations/DeploymentDisplay.h"
#include "ui/GuardedDialog.h"

#include <QTimer>
#include <string_view>

class QLabel;
class QPlainTextEdit;

namespace qpx::ui {

// The "Deployment Display" window (template 189): the instrument's output after "deploy",
// collected by the DeploymentDisplay model on a 200 ms tick until the user presses OK. Closing
// it in any way stops the tick and closes the model's port.
class DeploymentDisplayDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 189;
    static constexpr int kIntervalTextId = 1012;
    static constexpr int kOutputId = 1019;
    static constexpr int kOkId = 1;
    static constexpr int kTimerId = 1108;

    DeploymentDisplayDialog(QWidget* parent, operations::DeploymentDisplay& display);
    ~DeploymentDisplayDialog() override;

    const QTimer& tickTimer() const { return timer_; }
    // Ticks the model has been given (a tick that came while one ran is not counted).
    int ticks() const { return ticks_; }

public slots:
    // One tick, an exchange of its own. A tick arriving while one runs (its read waits in a local
    // event loop, where timers keep firing) is dropped: the model is never re-entered. OK or a
    // close while a tick reads ends the window once the read is over.
    void tick();

protected:
    void showEvent(QShowEvent* event) override;
    void ending(int result) override;

private:
    void append(std::string_view piece);
    void finish();

    operations::DeploymentDisplay& display_;
    QTimer timer_;
    QPlainTextEdit* output_ = nullptr;
    QLabel* interval_ = nullptr;
    int ticks_ = 0;
};

} // namespace qpx::ui
