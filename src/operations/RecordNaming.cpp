#include "operations/RecordNaming.h"

#include "link/CalendarMath.h"
#include "model/FieldText.h"
#include "model/TextFormat.h"

#include <cstdio>

namespace qpx::operations {
namespace {

link::CalendarTime UtcCalendar(const RecordInstant& instant) {
    return link::CalendarFromSeconds(UtcSeconds(instant));
}

bool Digits(std::string_view text, std::size_t from, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

std::string_view ProgramVersion() { return QPX_PROGRAM_VERSION; }

RecordInstant InstantNow(link::Clock& clock) {
    return {clock.localTime(), clock.utcOffsetSeconds()};
}

std::int64_t UtcSeconds(const RecordInstant& instant) {
    return link::SecondsFromCalendar(instant.local) - instant.utcOffsetSeconds;
}

std::string UtcOffsetText(int seconds) {
    const int minutes = (seconds < 0 ? -seconds : seconds) / 60;
    return model::FormatText("%c%02d:%02d", seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

std::string LocalInstantText(const RecordInstant& instant) {
    const link::CalendarTime& t = instant.local;
    return model::FormatText("%04d/%02d/%02d %02d:%02d:%02d ", t.year, t.month, t.day, t.hour,
                             t.minute, t.second) +
           UtcOffsetText(instant.utcOffsetSeconds);
}

std::string UtcInstantText(const RecordInstant& instant) {
    const link::CalendarTime t = UtcCalendar(instant);
    return model::FormatText("%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour,
                             t.minute, t.second);
}

std::optional<std::int64_t> ParseUtcInstant(std::string_view text) {
    // "yyyy-mm-ddThh:mm:ssZ", exactly.
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    link::CalendarTime t;
    if (!Digits(text, 0, 4, t.year) || !Digits(text, 5, 2, t.month) || !Digits(text, 8, 2, t.day) ||
        !Digits(text, 11, 2, t.hour) || !Digits(text, 14, 2, t.minute) ||
        !Digits(text, 17, 2, t.second) || !link::IsCalendarTime(t)) {
        return std::nullopt;
    }
    return link::SecondsFromCalendar(t);
}

std::string SerialNumberText(const model::SystemConfiguration& system) {
    std::string text(model::FieldText(system.serialNumber));
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '?';
        }
    }
    return text;
}

std::string RecordFileStem(std::string_view serialNumber, const RecordInstant& instant,
                           std::string_view kind) {
    std::string serial;
    for (const char c : serialNumber) {
        const bool safe = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                          (c >= 'a' && c <= 'z') || c == '-' || c == '.';
        serial.push_back(safe ? c : '_');
    }
    if (serial.empty() || serial.find_first_not_of('.') == std::string::npos) {
        serial = "unknown";
    }
    const link::CalendarTime t = UtcCalendar(instant);
    return serial +
           model::FormatText("_%04d%02d%02dT%02d%02d%02dZ_", t.year, t.month, t.day, t.hour,
                             t.minute, t.second) +
           std::string(kind);
}

} // namespace qpx::operations
