#pragma once

#include "instrument/PcQpxSettings.h"
#include "link/Link.h"
#include "link/MessageSink.h"
#include "ui/GuardedDialog.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qpx::ui {

class ProgressWindowFactory;

// "PC-QPX Settings" (template 130), bound to an instrument::PcQpxSettings model that works on the
// planner's copies. "&Update PC-QPX Settings" checks the three inputs and sends them over `link`
// (none in planning mode: then it only checks); Enter closes once the boxes read as numbers,
// "&Close" at once. Whoever opened it takes the model's three structures back however it closed.
class PcQpxSettingsDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 130;
    static constexpr int kCloseId = 2;

    PcQpxSettingsDialog(QWidget* parent, instrument::PcQpxSettings& settings, link::Link* link,
                        link::MessageSink& messages);
    ~PcQpxSettingsDialog() override;

    // The update's status windows, owned by this dialog; null in planning mode.
    ProgressWindowFactory* progressWindows() const { return progress_.get(); }

public slots:
    void updateClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void enterPressed();
    void showValues();

    instrument::PcQpxSettings& settings_;
    link::Link* link_;
    link::MessageSink& messages_;
    std::unique_ptr<ProgressWindowFactory> progress_;

    QLineEdit* pulseLength_ = nullptr;
    QLineEdit* userPulseLag_ = nullptr;
    QLineEdit* userResLag_ = nullptr;
};

} // namespace qpx::ui
