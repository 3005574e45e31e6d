#include "sim/ScenarioDateTime.h"

#include "sim/OptionValues.h"

#include <vector>

namespace qpx::sim {

std::optional<ScenarioDateTime> ParseScenarioDateTime(std::string_view text) {
    std::vector<int> numbers;
    const std::string_view separators = "/ :";
    std::size_t expected = 0;
    while (numbers.size() < 6) {
        const std::size_t end = numbers.size() == 5 ? text.size() : text.find(separators[expected]);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<int> number = options::ParseBounded(text.substr(0, end), 0, 9999);
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        text.remove_prefix(end < text.size() ? end + 1 : end);
        // Two '/' between the date's numbers, one blank, then two ':'.
        expected = numbers.size() < 2 ? 0 : numbers.size() == 2 ? 1 : 2;
    }
    const ScenarioDateTime t{numbers[0], numbers[1], numbers[2],
                             numbers[3], numbers[4], numbers[5]};
    if (t.year < 1980 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 ||
        t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    return t;
}

} // namespace qpx::sim
