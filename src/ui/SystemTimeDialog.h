#pragma once

#include "instrument/SystemTimeDialogModel.h"
#include "ui/GuardedDialog.h"

class QDateTimeEdit;
class QLabel;
class QRadioButton;

namespace qpx::ui {

// "System Time" (template 159), bound to an instrument::SystemTimeDialogModel: the computer's
// and the instrument's clocks with their difference, and Auto or Manual with the date-time
// control for what the instrument is set to. OK hands the control's value and the mode to the
// model; Cancel changes nothing.
class SystemTimeDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 159;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    SystemTimeDialog(QWidget* parent, instrument::SystemTimeDialogModel& model);

    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    instrument::SystemTimeDialogModel& model_;
    QRadioButton* auto_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QDateTimeEdit* dateTime_ = nullptr;
    QLabel* difference_ = nullptr;
};

} // namespace qpx::ui
