#pragma once

#include "link/Clock.h"
#include "link/Link.h"
#include "operations/ClockSync.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qpx::instrument {

inline constexpr std::string_view kSystemTimeTitle = "System Time";

// Controls of the dialog template and their texts.
inline constexpr int kAutoRadioId = 1048;
inline constexpr int kManualRadioId = 1049;
inline constexpr int kComputerTimeTextId = 1054;
inline constexpr int kSystemTimeTextId = 1055;
inline constexpr int kDifferenceTextId = 1056;
inline constexpr int kDateTimePlaceholderId = 1041; // the date-time control is put over it
inline constexpr std::string_view kAutoRadioText = "Auto - (Match Computer Clock)";
inline constexpr std::string_view kManualRadioText = "Manual";
inline constexpr std::string_view kComputerTimeLabel = "Computer Time: ";
inline constexpr std::string_view kSystemTimeLabel = "System Time: ";
inline constexpr std::string_view kDifferenceLabel = "Difference: ";
inline constexpr std::string_view kSetSystemTimeGroup = "Set System Time:";
inline constexpr std::string_view kDateTimeDisplayFormat = "yyyy'/'MM'/'dd',  'HH':'mm':'ss";

// "%4d/%02d/%02d %02d:%02d:%02d".
std::string CalendarText(const link::CalendarTime& time);

// Computer minus instrument, whole seconds. Taken in 64 bits: a 32-bit difference wraps for
// clocks some 68 years apart (a flat clock battery reads 1980 or earlier).
std::int64_t ClockDifferenceSeconds(const link::CalendarTime& computer,
                                    const link::CalendarTime& instrument);

// "    %4d %02d:%02d:%02d" (days, hours, minutes, seconds), each as its absolute value: the text
// does not tell which clock is ahead.
std::string DifferenceText(std::int64_t seconds);

// Model of the SystemTimeDialog: the two clocks side by side, the difference, and the choice of
// what the instrument is set to.
class SystemTimeDialogModel {
public:
    SystemTimeDialogModel(const link::CalendarTime& computer, const link::CalendarTime& instrument);

    const std::string& computerTimeText() const { return computerText_; }
    const std::string& instrumentTimeText() const { return instrumentText_; }
    const std::string& differenceText() const { return differenceText_; }

    operations::ClockMode mode() const { return mode_; }
    void selectAuto() { mode_ = operations::ClockMode::Auto; }
    void selectManual() { mode_ = operations::ClockMode::Manual; }
    // The date-time control takes input only in Manual mode.
    bool dateTimeEnabled() const { return mode_ == operations::ClockMode::Manual; }

    // The date-time control's value; it starts at the computer time.
    const link::CalendarTime& controlTime() const { return control_; }
    void setControlTime(const link::CalendarTime& time) { control_ = time; }

    // OK: the control's value becomes the computer time.
    void accept() { computer_ = control_; }
    const link::CalendarTime& computerTime() const { return computer_; }
    const link::CalendarTime& instrumentTime() const { return instrument_; }

private:
    link::CalendarTime computer_;
    link::CalendarTime instrument_;
    link::CalendarTime control_;
    operations::ClockMode mode_ = operations::ClockMode::Auto;
    std::string computerText_;
    std::string instrumentText_;
    std::string differenceText_;
};

// Shows the dialog model; true when the user pressed OK (the control's value is then taken).
using SystemTimeDialogRunner = std::function<bool(SystemTimeDialogModel&)>;

// The planner's "Show System &Time..." button: reads the instrument clock, shows the dialog with
// the computer's time beside it, and on OK sets the instrument clock. Without a port, or when
// the clock cannot be read, nothing is shown. True when the clock was set.
bool RunSystemTime(link::Link* link, const SystemTimeDialogRunner& showDialog);

} // namespace qpx::instrument
