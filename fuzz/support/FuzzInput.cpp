#include "fuzz/support/FuzzInput.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace qpx::fuzz {

std::vector<std::vector<std::uint8_t>> SplitSegments(std::span<const std::uint8_t> input) {
    std::vector<std::vector<std::uint8_t>> segments(1);
    std::size_t i = 0;
    while (i < input.size()) {
        if (input.size() - i >= kSegmentMarker.size() &&
            std::equal(kSegmentMarker.begin(), kSegmentMarker.end(), input.begin() + i,
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
            segments.emplace_back();
            i += kSegmentMarker.size();
            continue;
        }
        segments.back().push_back(input[i++]);
    }
    return segments;
}

std::vector<std::uint8_t> JoinSegments(const std::vector<std::vector<std::uint8_t>>& segments) {
    std::vector<std::uint8_t> joined;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) {
            joined.insert(joined.end(), kSegmentMarker.begin(), kSegmentMarker.end());
        }
        joined.insert(joined.end(), segments[i].begin(), segments[i].end());
    }
    return joined;
}

namespace {
std::string& ReplayedInputName() {
    static std::string name;
    return name;
}
} // namespace

void SetReplayedInputName(std::string name) {
    ReplayedInputName() = std::move(name);
}

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s%s%s\n", what,
                     ReplayedInputName().empty() ? "" : ", input ", ReplayedInputName().c_str());
        std::abort();
    }
}

bool ShowsNonNumber(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

namespace {

std::string CollapseBlanks(std::string_view text) {
    if (text.find("  ") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ') {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the number at the front of `text` as printf writes one, 0 when there is none.
std::size_t NumberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const std::size_t digitsFrom = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
    }
    if (i == digitsFrom || (i == digitsFrom + 1 && text[digitsFrom] == '.')) {
        return 0;
    }
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E') &&
        (IsDigit(text[i + 1]) || text[i + 1] == '-' || text[i + 1] == '+')) {
        std::size_t j = i + 1;
        if (text[j] == '-' || text[j] == '+') {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

// '#' one number, '*' any text, anything else itself. Each (text, pattern) position is tried at
// most once: messages quote what was typed, and with several '*' plain backtracking over a long
// text took most of a harness's time.
class PatternMatch {
public:
    PatternMatch(std::string_view text, std::string_view pattern)
        : text_(text), pattern_(pattern),
          wildcards_(static_cast<std::size_t>(std::count_if(
              pattern.begin(), pattern.end(), [](char c) { return c == '*' || c == '#'; }))) {}

    bool run() { return step(0, 0, 0); }

private:
    // Position `t` of the text against what follows wildcard number `w` at `p`; a failure is
    // remembered per (t, w), the only pairs that can come back.
    bool match(std::size_t t, std::size_t p, std::size_t w) {
        if (failed_.empty()) {
            failed_.assign((text_.size() + 1) * wildcards_, 0);
        }
        std::uint8_t& failed = failed_[t * wildcards_ + w];
        if (failed != 0) {
            return false;
        }
        const bool matched = step(t, p, w + 1);
        failed = matched ? 0 : 1;
        return matched;
    }

    // `w` wildcards lie before `p`.
    bool step(std::size_t t, std::size_t p, std::size_t w) {
        // Plain characters in a loop, not one call each: keeps the depth to the wildcards.
        while (p < pattern_.size() && pattern_[p] != '*' && pattern_[p] != '#') {
            if (t >= text_.size() || text_[t] != pattern_[p]) {
                return false;
            }
            ++t;
            ++p;
        }
        if (p == pattern_.size()) {
            return t == text_.size();
        }
        if (pattern_[p] == '*') {
            if (p + 1 == pattern_.size()) {
                return true;
            }
            for (std::size_t skip = t; skip <= text_.size(); ++skip) {
                if (match(skip, p + 1, w)) {
                    return true;
                }
            }
            return false;
        }
        // A padded number may have eaten the blank in front of it.
        if (t < text_.size() && text_[t] == ' ') {
            ++t;
        }
        const std::size_t length = NumberLength(text_.substr(t));
        return length > 0 && match(t + length, p + 1, w);
    }

    std::string_view text_;
    std::string_view pattern_;
    std::size_t wildcards_;
    std::vector<std::uint8_t> failed_;
};

std::string ToPattern(std::string_view format) {
    std::string pattern;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            pattern.push_back(format[i]);
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            pattern.push_back('%');
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() &&
               std::string_view("0123456789.-+ #").find(format[j]) != std::string_view::npos) {
            ++j;
        }
        if (j < format.size()) {
            pattern.push_back(format[j] == 's' ? '*' : '#');
        }
        i = j;
    }
    return CollapseBlanks(pattern);
}

// The formats are the system's fixed texts, so each pattern is worked out once.
const std::string& PatternOf(std::string_view format) {
    static std::map<std::string, std::string, std::less<>> patterns;
    auto found = patterns.find(format);
    if (found == patterns.end()) {
        found = patterns.emplace(std::string(format), ToPattern(format)).first;
    }
    return found->second;
}

bool MatchesCollapsed(std::string_view collapsed, std::string_view format) {
    const std::string& pattern = PatternOf(format);
    // The literal start settles most formats at once.
    const std::size_t literal = std::min(pattern.find_first_of("*#"), pattern.size());
    if (collapsed.substr(0, literal) != std::string_view(pattern).substr(0, literal)) {
        return false;
    }
    return PatternMatch(collapsed, pattern).run();
}

} // namespace

bool MatchesFormat(std::string_view text, std::string_view format) {
    return MatchesCollapsed(CollapseBlanks(text), format);
}

bool MatchesAnyFormat(std::string_view text, std::span<const std::string_view> formats) {
    const std::string collapsed = CollapseBlanks(text);
    return std::any_of(formats.begin(), formats.end(), [&](std::string_view format) {
        return MatchesCollapsed(collapsed, format);
    });
}

bool MatchesAnyFormat(std::string_view text, std::initializer_list<std::string_view> formats) {
    return MatchesAnyFormat(text,
                            std::span<const std::string_view>(formats.begin(), formats.size()));
}

void ExpectedMessages::check(std::string_view text) {
    shown_.emplace_back(text);
    Require(!ShowsNonNumber(text), "a message shows inf or nan");
    Require(MatchesAnyFormat(text, formats_), "a message that is not one of the system's own");
}

void ExpectedMessages::showMessage(std::string_view text) {
    check(text);
}

bool ExpectedMessages::askOkCancel(std::string_view text, std::string_view) {
    check(text);
    return answerOk_;
}

void ExpectedMessages::showInformation(std::string_view, std::string_view text) {
    check(text);
}

std::vector<std::string_view> LinkMessages() {
    return {"FAIL TO CLEAR TRANSMIT BUFFER",
            "FAIL TO CLEAR RECEIVE BUFFER",
            "FAIL TO CLEAR RECEIVE BUFFER 2",
            "FAIL TO LOCATE PROMPT",
            "FAIL TO QUIET THE LINE",
            "COMMAND TOO LONG",
            "Error Getting System Variable Structure: ",
            " Bad CheckSum getting System Variable Structure: ",
            "Failed to start system. Please try again."};
}

std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace qpx::fuzz
