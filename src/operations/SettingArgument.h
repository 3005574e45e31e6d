#pragma once

#include "link/Clock.h"
#include "operations/SettingsTable.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// A planner setting given on the command line as NAME=VALUE. Parsing only checks the form: the
// name must be known, a list setting must name one of its entries and the start time must be a
// real calendar time. Whether the planner takes the value is decided by the planner's own checks
// when the setting is applied (SettingApplication.h).
namespace qpx::operations {

// The settings and their keys and words are the core's settings table's rows.
using SettingName = SettingId;

std::string_view SettingKey(SettingName name);

// The accepted words of a list setting, by list index; empty for other settings.
std::span<const std::string_view> SettingChoices(SettingName name);

struct SettingArgument {
    SettingName name = SettingName::FileName;
    // The text after the first '=', exactly as given (it may be empty or hold further '=').
    std::string value;
    // The list index for a list setting (coordinate-system, output-mode, battery-type,
    // temperature-mode, burst-mode, wave-rate, wave-type).
    std::optional<int> choice;
    // The calendar time of `start`.
    std::optional<link::CalendarTime> start;
};

struct SettingParse {
    std::optional<SettingArgument> setting;
    std::string error; // why the argument is not a setting; empty when it is
};

// "cells=25" -> cells with value "25". Names and list words are matched without regard to letter
// case; the start time is "YYYY/MM/DD HH:MM:SS". Any input is safe: a text that is not a setting
// gives an error, never a partial setting.
SettingParse ParseSettingArgument(std::string_view text);

// "YYYY/MM/DD HH:MM:SS" (exactly that form, four-digit year, a date and time that exist), or
// nothing.
std::optional<link::CalendarTime> ParseCalendarText(std::string_view text);

} // namespace qpx::operations
