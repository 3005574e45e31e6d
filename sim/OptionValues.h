#pragma once

#include "sim/SimOption.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qpx::sim::options {

// The value readers the option table is made of; each refuses with a message for the user.

std::optional<int> ParseBounded(std::string_view text, long long low, long long high);

// A number option that lands in an int of the scenario.
Apply Integer(long long low, long long high, std::function<int&(Builder&)> target);

// Switches are given bare on the command line; a scenario file may also say yes or no.
Apply Switch(std::function<void(Builder&, bool)> set);

// A byte count that fits the instrument's 32-bit fields.
Apply Bytes(std::function<std::uint32_t&(Builder&)> target);

// "A[SEP B]" as two numbers; B keeps `second` when not given.
std::string PairOfNumbers(std::string_view value, char separator, int low, int high, int& first,
                          int& second);

} // namespace qpx::sim::options
