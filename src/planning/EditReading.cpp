#include "planning/EditReading.h"

#include "model/TextFormat.h"

#include <cctype>
#include <cfloat>
#include <climits>
#include <cstddef>

namespace qpx::planning {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    return i;
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i;
}

std::size_t SkipSign(std::string_view text, std::size_t i) {
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    return i;
}

} // namespace

float DecimalReading(std::string_view text) {
    const std::size_t start = SkipBlanks(text);
    std::size_t i = SkipSign(text, start);
    const std::size_t integerStart = i;
    i = SkipDigits(text, i);
    std::size_t digits = i - integerStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = i + 1;
        const std::size_t fractionEnd = SkipDigits(text, fractionStart);
        digits += fractionEnd - fractionStart;
        i = fractionEnd;
    }
    if (digits == 0) {
        return 0.0f;
    }
    // An exponent counts only when digits follow it: "2e" is 2.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t exponentDigits = SkipSign(text, i + 1);
        const std::size_t exponentEnd = SkipDigits(text, exponentDigits);
        if (exponentEnd > exponentDigits) {
            i = exponentEnd;
        }
    }
    const std::string_view number = text.substr(start, i - start);
    const bool negative = number.front() == '-';
    const bool tiny =
        number.find("e-") != std::string_view::npos || number.find("E-") != std::string_view::npos;
    if (const auto value = model::ParseDouble(number)) {
        if (*value > FLT_MAX) {
            return FLT_MAX;
        }
        if (*value < -FLT_MAX) {
            return -FLT_MAX;
        }
        return static_cast<float>(*value);
    }
    // Only a magnitude beyond double's range fails to parse here: too small reads as 0.
    if (tiny) {
        return 0.0f;
    }
    return negative ? -FLT_MAX : FLT_MAX;
}

int IntegerReading(std::string_view text) {
    const std::size_t start = SkipBlanks(text);
    const std::size_t digitsStart = SkipSign(text, start);
    const std::size_t end = SkipDigits(text, digitsStart);
    if (end == digitsStart) {
        return 0;
    }
    const std::string_view number = text.substr(start, end - start);
    const bool negative = number.front() == '-';
    const auto value = model::ParseInteger(number);
    if (!value) {
        return negative ? INT_MIN : INT_MAX;
    }
    if (*value > INT_MAX) {
        return INT_MAX;
    }
    if (*value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(*value);
}

} // namespace qpx::planning
