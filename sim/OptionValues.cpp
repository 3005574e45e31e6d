#include "sim/OptionValues.h"

#include "model/TextFormat.h"

namespace qpx::sim::options {
namespace {

std::string RangeMessage(long long low, long long high) {
    return "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high);
}

std::optional<bool> ParseSwitch(std::string_view value) {
    for (const std::string_view on : {"", "1", "yes", "true", "on"}) {
        if (value == on) {
            return true;
        }
    }
    for (const std::string_view off : {"0", "no", "false", "off"}) {
        if (value == off) {
            return false;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int> ParseBounded(std::string_view text, long long low, long long high) {
    const std::optional<long long> value = model::ParseInteger(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

Apply Integer(long long low, long long high, std::function<int&(Builder&)> target) {
    return [=](Builder& b, std::string_view value) -> std::string {
        const std::optional<int> number = ParseBounded(value, low, high);
        if (!number) {
            return RangeMessage(low, high);
        }
        target(b) = *number;
        return {};
    };
}

Apply Switch(std::function<void(Builder&, bool)> set) {
    return [set](Builder& b, std::string_view value) -> std::string {
        const std::optional<bool> on = ParseSwitch(value);
        if (!on) {
            return "expected yes or no";
        }
        set(b, *on);
        return {};
    };
}

Apply Bytes(std::function<std::uint32_t&(Builder&)> target) {
    return [target](Builder& b, std::string_view value) -> std::string {
        const std::optional<long long> bytes = model::ParseInteger(value);
        if (!bytes || *bytes < 0 || *bytes > 0xFFFFFFFFLL) {
            return "expected a number of bytes below 4 GiB";
        }
        target(b) = static_cast<std::uint32_t>(*bytes);
        return {};
    };
}

std::string PairOfNumbers(std::string_view value, char separator, int low, int high, int& first,
                          int& second) {
    const std::size_t cut = value.find(separator);
    const std::optional<int> a = ParseBounded(value.substr(0, cut), low, high);
    std::optional<int> b = second;
    if (cut != std::string_view::npos) {
        b = ParseBounded(value.substr(cut + 1), 0, high);
    }
    if (!a || !b) {
        return std::string("expected a number, optionally followed by ") + separator +
               " and a number";
    }
    first = *a;
    second = *b;
    return {};
}

} // namespace qpx::sim::options
