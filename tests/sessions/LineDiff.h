#pragma once

#include <string>
#include <string_view>

namespace qpx::test {

// A readable difference between two texts, line by line: each line only in `expected` as
// "   N - text", each line only in `actual` as "   N + text", N being the line's number in its
// own text. Lines both share are left out; "..." stands between separate runs of changes.
// Control characters show as \r, \t or \xNN, and a missing final line end is said so. Empty
// when the texts are equal.
std::string LineDiff(std::string_view expected, std::string_view actual);

} // namespace qpx::test
