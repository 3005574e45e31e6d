#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qpx::model {

// printf-style formatting that always uses the "C" locale. A Qt program switches the C library
// to the user's locale at start; with a German locale "%4.2f" would print "0,50" and the
// instrument would read a comma on the wire. Every number shown or sent goes through here.
#if defined(__GNUC__) || defined(__clang__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
FormatText(const char* format, ...);

// Locale-independent number parsing of a whole text (leading and trailing blanks allowed).
// Nothing is returned for an empty text, trailing garbage or a value out of range.
std::optional<double> ParseDouble(std::string_view text);
std::optional<float> ParseFloat(std::string_view text);
std::optional<long long> ParseInteger(std::string_view text);

// The shortest general form with up to `significantDigits` significant digits ("%.*g"; six, as
// edit boxes show floats), with at least two exponent digits on every C library ("3e-08").
std::string FormatGeneral(double value, int significantDigits = 6);

} // namespace qpx::model
