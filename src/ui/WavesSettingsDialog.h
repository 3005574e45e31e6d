#pragma once

#include "link/MessageSink.h"
#include "planning/WavesSettings.h"
#include "ui/GuardedDialog.h"

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qpx::ui {

// The waves settings window (template 132, "Waves Settings"): how often a wave series is
// recorded, its rate, length and type, and the duration that gives. It binds a WavesSettings
// model opened on the planner's copy; OK hands the four values back through acceptedBlock()
// once the range checks pass.
class WavesSettingsDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 132;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    WavesSettingsDialog(QWidget* parent, planning::WavesSettings model,
                        link::MessageSink& messages);

    // Passed values that already break the duration rule are reported once the window is on
    // screen (a box before the window would stand in front of nothing); later calls do nothing.
    void showOpeningMessage();

    const std::optional<planning::WaveBlock>& acceptedBlock() const { return accepted_; }

private:
    void build();
    void showValues();
    void showDuration(const std::optional<planning::DialogMessage>& message);
    void okClicked();

    planning::WavesSettings model_;
    link::MessageSink& messages_;
    std::optional<planning::WaveBlock> accepted_;
    bool openingMessageShown_ = false;

    QLineEdit* recordEvery_ = nullptr;
    QComboBox* rate_ = nullptr;
    QLineEdit* length_ = nullptr;
    QComboBox* type_ = nullptr;
    QLineEdit* duration_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace qpx::ui
