#pragma once

#include "link/MessageSink.h"
#include "planning/AdvancedSettings.h"
#include "ui/GuardedDialog.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qpx::ui {

// The advanced settings window (template 131, "Advanced Settings"): water temperature and
// salinity with the speed of sound they give, and the burst scheme. It binds an AdvancedSettings
// model opened on the planner's copy; OK hands the block back through acceptedBlock() only when
// the model's checks pass, otherwise the first failure is shown and the window stays open.
class AdvancedSettingsDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 131;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    AdvancedSettingsDialog(QWidget* parent, planning::AdvancedSettings model,
                           link::MessageSink& messages);

    // The values OK accepted (temperature in degrees Celsius); none before that or after Cancel.
    const std::optional<planning::AdvancedBlock>& acceptedBlock() const { return accepted_; }

private:
    void build();
    void showValues();
    void applyEnabling();
    void showModelMessage(const std::optional<planning::DialogMessage>& message);
    void focusLeft(std::optional<planning::DialogMessage> (planning::AdvancedSettings::*lost)());
    void okClicked();

    planning::AdvancedSettings model_;
    link::MessageSink& messages_;
    std::optional<planning::AdvancedBlock> accepted_;
    // A message box shown from a focus change takes the focus itself; its own focus change must
    // not raise a second box.
    bool showingMessage_ = false;

    QComboBox* temperatureMode_ = nullptr;
    QLabel* temperatureLabel_ = nullptr;
    QLineEdit* temperature_ = nullptr;
    QLineEdit* salinity_ = nullptr;
    QLabel* soundSpeedLabel_ = nullptr;
    QLineEdit* soundSpeed_ = nullptr;
    QComboBox* burstMode_ = nullptr;
    QLineEdit* burstInterval_ = nullptr;
    QLineEdit* profilesPerBurst_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace qpx::ui
