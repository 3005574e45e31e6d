#include "operations/ClockSync.h"

#include "link/CalendarMath.h"
#include "link/CommandExchange.h"
#include "link/PortFunctions.h"
#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace qpx::operations {
namespace {

constexpr int kReplyPolls = 2500;
constexpr std::size_t kLineEndCapacity = 2;
constexpr std::size_t kReplyCapacity = 100;
constexpr int kWriteTimeoutMs = 1000;

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One conversion of sscanf's "%d" (width 0: unbounded) or "%02d" (width 2): leading white
// space, an optional sign and digits, within the width.
std::optional<int> ScanInt(std::string_view text, std::size_t& pos, std::size_t width) {
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    const std::size_t start = pos;
    const std::size_t limit = width == 0 ? text.size() : std::min(text.size(), pos + width);
    std::size_t end = pos;
    if (end < limit && (text[end] == '+' || text[end] == '-')) {
        ++end;
    }
    const std::size_t digitsStart = end;
    while (end < limit && IsDigit(text[end])) {
        ++end;
    }
    if (end == digitsStart) {
        return std::nullopt;
    }
    const auto value = model::ParseInteger(text.substr(start, end - start));
    if (!value || *value < INT32_MIN || *value > INT32_MAX) {
        return std::nullopt;
    }
    pos = end;
    return static_cast<int>(*value);
}

// "Date" or "Time": the command, the end of its echoed line, then the reply up to the prompt.
std::optional<std::array<int, 3>> AskClock(link::Link& link, std::string_view command,
                                           std::string_view words, char separator) {
    // Its echo result does not matter: the reply decides.
    link::SendCommand(link, command, '>', true);
    std::string lineEnd;
    if (link::WaitForPrompt(link.port, lineEnd, kLineEndCapacity, "\n", kReplyPolls) == 0) {
        return std::nullopt;
    }
    std::string reply;
    if (link::WaitForPrompt(link.port, reply, kReplyCapacity, ">", kReplyPolls) == 0) {
        return std::nullopt;
    }
    return ReadClockNumbers(reply, words, separator);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

std::optional<std::array<int, 3>> ReadClockNumbers(std::string_view reply, std::string_view remove,
                                                   char separator) {
    std::string text(reply);
    if (!remove.empty()) {
        for (std::size_t at = text.find(remove); at != std::string::npos; at = text.find(remove)) {
            text.erase(at, remove.size());
        }
    }
    std::array<int, 3> numbers{0, 0, 0};
    std::size_t pos = 0;
    const auto first = ScanInt(text, pos, 0);
    if (!first) {
        return std::nullopt;
    }
    numbers[0] = *first;
    for (std::size_t i = 1; i < numbers.size(); ++i) {
        if (pos >= text.size() || text[pos] != separator) {
            break;
        }
        ++pos;
        const auto next = ScanInt(text, pos, 2);
        if (!next) {
            break;
        }
        numbers[i] = *next;
    }
    return numbers;
}

link::CalendarTime NormalisedCalendarTime(int year, int month, int day, int hour, int minute,
                                          int second) {
    const std::int64_t months = static_cast<std::int64_t>(year) * 12 + (month - 1);
    const std::int64_t y = FloorDiv(months, 12);
    const int m = static_cast<int>(months - y * 12) + 1;
    const std::int64_t days = link::DaysFromCivil(static_cast<int>(y), m, 1) + (day - 1);
    return link::CalendarFromSeconds(days * 86400 + static_cast<std::int64_t>(hour) * 3600 +
                                     static_cast<std::int64_t>(minute) * 60 + second);
}

std::optional<link::CalendarTime> ReadInstrumentClock(link::Link& link) {
    if (!link::IsServedSystem(link::WakeAndIdentify(link))) {
        return std::nullopt;
    }
    const auto date = AskClock(link, "Date", "Current date is", '/');
    if (!date) {
        return std::nullopt;
    }
    const auto time = AskClock(link, "Time", "Current time is", ':');
    if (!time) {
        return std::nullopt;
    }
    return NormalisedCalendarTime((*date)[0], (*date)[1], (*date)[2], (*time)[0], (*time)[1],
                                  (*time)[2]);
}

ClockSettingLines MakeClockSettingLines(const link::CalendarTime& now) {
    // The lines take a moment to reach the instrument; the next second is the nearer guess.
    const link::CalendarTime t = link::AddSeconds(now, 1);
    return {model::FormatText("Date %d/%02d/%02d\r", t.year, t.month, t.day),
            model::FormatText("Time %02d:%02d:%02d\r", t.hour, t.minute, t.second)};
}

bool SetInstrumentClock(link::Link& link, ClockMode mode, const link::CalendarTime& dialogTime) {
    if (!link::IsServedSystem(link::WakeAndIdentify(link))) {
        return false;
    }
    // One reading for both lines: two readings could straddle midnight and send yesterday's
    // date with today's time.
    const link::CalendarTime now =
        mode == ClockMode::Manual ? dialogTime : link.clock().localTime();
    const ClockSettingLines lines = MakeClockSettingLines(now);
    if (link::WriteStringTimed(link.port, lines.date, link::kLineTerminator, kWriteTimeoutMs) < 0) {
        return false;
    }
    return link::WriteStringTimed(link.port, lines.time, link::kLineTerminator, kWriteTimeoutMs) >=
           0;
}

} // namespace qpx::operations
