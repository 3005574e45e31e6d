#pragma once

#include "instrument/SystemTimeDialogModel.h"
#include "ui/DialogHook.h"
#include "ui/GuardedDialog.h"

#include <optional>
#include <string>
#include <string_view>

class QDateTimeEdit;
class QLabel;
class QRadioButton;

namespace qpx::ui {

inline constexpr std::string_view kSaveClockCheckText = "Save Clock Check...";

// What "Save Clock Check..." needs besides the reading: the instrument and the clock's offset from
// UTC when it was read, and the hook its own dialogs go through.
struct ClockCheckContext {
    std::string serialNumber;
    int utcOffsetSeconds = 0;
    DialogHook hook;
};

// "System Time" (template 159), bound to an instrument::SystemTimeDialogModel: the computer's
// and the instrument's clocks with their difference, and Auto or Manual with the date-time
// control for what the instrument is set to. OK hands the control's value and the mode to the
// model; Cancel changes nothing. With a ClockCheckContext, "Save Clock Check..." keeps the reading
// shown as a clock-check record, compared with a deployment record if the user picks one.
class SystemTimeDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 159;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    SystemTimeDialog(QWidget* parent, instrument::SystemTimeDialogModel& model,
                     std::optional<ClockCheckContext> clockCheck = std::nullopt);

    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void saveClockCheck();

    instrument::SystemTimeDialogModel& model_;
    std::optional<ClockCheckContext> clockCheck_;
    // The reading as it was shown; the model's computer time becomes the control's on OK.
    link::CalendarTime computerRead_;
    QRadioButton* auto_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QDateTimeEdit* dateTime_ = nullptr;
    QLabel* difference_ = nullptr;
};

} // namespace qpx::ui
