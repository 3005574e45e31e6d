#include "LineDiff.h"

#include "model/TextFormat.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace qpx::test {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string Visible(std::string_view line) {
    std::string shown;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (byte < 0x20 || byte >= 0x7F) {
            shown += model::FormatText("\\x%02X", static_cast<unsigned>(byte));
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Numbered(std::size_t number, char mark, std::string_view line) {
    return model::FormatText("%4u %c ", static_cast<unsigned>(number), mark) + Visible(line) + "\n";
}

} // namespace

std::string LineDiff(std::string_view expected, std::string_view actual) {
    if (expected == actual) {
        return {};
    }
    const std::vector<std::string_view> a = SplitLines(expected);
    const std::vector<std::string_view> b = SplitLines(actual);
    // Longest common subsequence from the back: keep[i][j] is its length for a[i..], b[j..]. The
    // outputs compared here are a few hundred lines at most.
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    std::vector<std::vector<std::size_t>> keep(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            keep[i][j] =
                a[i] == b[j] ? keep[i + 1][j + 1] + 1 : std::max(keep[i + 1][j], keep[i][j + 1]);
        }
    }
    std::string diff;
    bool inChange = false;
    bool anyChange = false;
    const auto change = [&](std::size_t number, char mark, std::string_view line) {
        if (!inChange && anyChange) {
            diff += "...\n";
        }
        inChange = true;
        anyChange = true;
        diff += Numbered(number, mark, line);
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i] == b[j]) {
            inChange = false;
            ++i;
            ++j;
        } else if (i < n && (j == m || keep[i + 1][j] >= keep[i][j + 1])) {
            change(i + 1, '-', a[i]);
            ++i;
        } else {
            change(j + 1, '+', b[j]);
            ++j;
        }
    }
    const bool expectedEnds = expected.empty() || expected.back() == '\n';
    const bool actualEnds = actual.empty() || actual.back() == '\n';
    if (expectedEnds != actualEnds) {
        diff += expectedEnds ? "(the actual text has no line end after its last line)\n"
                             : "(the expected text has no line end after its last line)\n";
    }
    return diff;
}

} // namespace qpx::test
