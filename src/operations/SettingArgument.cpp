#include "operations/SettingArgument.h"

#include "link/CalendarMath.h"

#include <algorithm>
#include <cctype>

namespace qpx::operations {
namespace {

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Exactly `count` digits at `pos`.
std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i])) == 0) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string KnownNames() {
    std::string names;
    for (const SettingRow* row : KeyedRows()) {
        if (!names.empty()) {
            names += ", ";
        }
        names += row->key;
    }
    return names;
}

std::string ChoiceList(std::span<const std::string_view> choices) {
    std::string list;
    for (const auto word : choices) {
        if (!list.empty()) {
            list += ", ";
        }
        list += word;
    }
    return list;
}

} // namespace

std::string_view SettingKey(SettingName name) {
    return SettingRowOf(name).key;
}

std::span<const std::string_view> SettingChoices(SettingName name) {
    return SettingRowOf(name).words;
}

std::optional<link::CalendarTime> ParseCalendarText(std::string_view text) {
    // "YYYY/MM/DD HH:MM:SS": 19 characters with the separators in fixed places.
    if (text.size() != 19 || text[4] != '/' || text[7] != '/' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto year = Digits(text, 0, 4);
    const auto month = Digits(text, 5, 2);
    const auto day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2);
    const auto minute = Digits(text, 14, 2);
    const auto second = Digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *year < 1000) {
        return std::nullopt;
    }
    const link::CalendarTime time{*year, *month, *day, *hour, *minute, *second};
    // A date-time control holds only times that exist: 2001/02/29 or 24:00:00 do not.
    if (*month < 1 || *month > 12 || *day < 1 || *hour > 23 || *minute > 59 || *second > 59 ||
        link::CalendarFromSeconds(link::SecondsFromCalendar(time)) != time) {
        return std::nullopt;
    }
    return time;
}

SettingParse ParseSettingArgument(std::string_view text) {
    SettingParse result;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        result.error = "\"" + std::string(text) + "\" is not a setting: use NAME=VALUE.";
        return result;
    }
    const std::string_view key = text.substr(0, equals);
    const auto rows = KeyedRows();
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [key](const auto* row) { return SameWord(row->key, key); });
    if (found == rows.end()) {
        result.error =
            "Unknown setting \"" + std::string(key) + "\"; the settings are " + KnownNames() + ".";
        return result;
    }
    SettingArgument setting;
    setting.name = (*found)->id;
    setting.value = std::string(text.substr(equals + 1));

    const auto choices = SettingChoices(setting.name);
    if (!choices.empty()) {
        const auto word = std::find_if(choices.begin(), choices.end(), [&](std::string_view w) {
            return SameWord(w, setting.value);
        });
        if (word == choices.end()) {
            result.error = std::string((*found)->key) + " takes one of " + ChoiceList(choices) +
                           ", not \"" + setting.value + "\".";
            return result;
        }
        setting.choice = static_cast<int>(word - choices.begin());
    }
    if (setting.name == SettingName::Start) {
        setting.start = ParseCalendarText(setting.value);
        if (!setting.start) {
            result.error = "start takes \"YYYY/MM/DD HH:MM:SS\", not \"" + setting.value + "\".";
            return result;
        }
    }
    result.setting = std::move(setting);
    return result;
}

} // namespace qpx::operations
