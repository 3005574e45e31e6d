#include "model/TextFormat.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

#if defined(_WIN32)
#include <locale.h>
#else
#include <locale.h>
#if defined(__APPLE__)
#include <xlocale.h>
#endif
#endif

namespace qpx::model {
namespace {

#if defined(_WIN32)
_locale_t CLocale() {
    static _locale_t locale = _create_locale(LC_ALL, "C");
    return locale;
}

// Gives the C99 result: the whole text's length even when it does not fit. msvcrt's own answer
// then is -1, which would leave every text of 256 characters or more empty.
int FormatInC(char* buffer, std::size_t size, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = _vsnprintf_l(buffer, size, format, CLocale(), args);
    if (n < 0 || static_cast<std::size_t>(n) >= size) {
        n = _vscprintf_l(format, CLocale(), copy);
    }
    va_end(copy);
    return n;
}
#else
locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Switches only this thread to the "C" locale for the one call.
int FormatInC(char* buffer, std::size_t size, const char* format, va_list args) {
    const locale_t previous = uselocale(CLocale());
    const int n = std::vsnprintf(buffer, size, format, args);
    uselocale(previous);
    return n;
}
#endif

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n')) {
        text.remove_suffix(1);
    }
    return text;
}

template <typename T>
std::optional<T> ParseWhole(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string FormatText(const char* format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = FormatInC(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) {
        va_end(copy);
        return {};
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        va_end(copy);
        return std::string(small, static_cast<std::size_t>(n));
    }
    std::vector<char> large(static_cast<std::size_t>(n) + 1);
    FormatInC(large.data(), large.size(), format, copy);
    va_end(copy);
    return std::string(large.data(), static_cast<std::size_t>(n));
}

std::optional<double> ParseDouble(std::string_view text) {
    auto value = ParseWhole<double>(text);
    if (value && !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> ParseFloat(std::string_view text) {
    auto value = ParseWhole<float>(text);
    if (value && !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> ParseInteger(std::string_view text) {
    return ParseWhole<long long>(text);
}

std::string FormatGeneral(double value, int significantDigits) {
    std::string text = FormatText("%.*g", significantDigits, value);
    // msvcrt writes at least three exponent digits ("1e-008"), glibc two: one form everywhere.
    const std::size_t e = text.find_first_of("eE");
    if (e != std::string::npos && text.size() - e == 5 && text[e + 2] == '0') {
        text.erase(e + 2, 1);
    }
    return text;
}

} // namespace qpx::model
