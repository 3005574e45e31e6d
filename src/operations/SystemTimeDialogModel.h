#pragma once

#include "link/Clock.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qpx::operations {

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

enum class ClockMode {
    Auto = 0,   // set the instrument to the computer's clock
    Manual = 1, // set it to the date-time control's value
};

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

    ClockMode mode() const { return mode_; }
    void selectAuto() { mode_ = ClockMode::Auto; }
    void selectManual() { mode_ = ClockMode::Manual; }
    // The date-time control takes input only in Manual mode.
    bool dateTimeEnabled() const { return mode_ == ClockMode::Manual; }

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
    ClockMode mode_ = ClockMode::Auto;
    std::string computerText_;
    std::string instrumentText_;
    std::string differenceText_;
};

} // namespace qpx::operations
