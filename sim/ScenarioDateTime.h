#pragma once

#include <optional>
#include <string_view>

namespace qpx::sim {

struct ScenarioDateTime {
    int year, month, day, hour, minute, second;
};

// "YYYY/MM/DD HH:MM:SS", each number within its own calendar range only: a day that its month
// does not have (2023/02/31) is accepted, so a scenario can play an instrument whose clock or
// card holds an impossible date.
std::optional<ScenarioDateTime> ParseScenarioDateTime(std::string_view text);

} // namespace qpx::sim
