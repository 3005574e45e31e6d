#pragma once

#include <string_view>

namespace qpx::planning {

// How the dialogs read an edit box while the user types: the leading number of the text, 0 when
// the text does not start with one. So "0", ".", "-" and "abc" read as 0 and raise a dialog's
// "must be greater than 0" message, and "12x" reads as 12. Whether the text is empty (nothing to
// check yet) is the caller's test. Independent of the C library's locale: only '.' is a decimal
// point. Leading blanks are skipped; hexadecimal, "inf" and "nan" are not numbers here.

// Decimal reading: sign, digits, an optional '.' and digits, an optional exponent. A value beyond
// the float range is clamped to the largest finite float, so a reading is never inf or nan.
float DecimalReading(std::string_view text);

// Integer reading: sign and digits; "2.5" reads as 2. Clamped to the int range.
int IntegerReading(std::string_view text);

} // namespace qpx::planning
