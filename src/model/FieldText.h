#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace qpx::model {

// A fixed text field of a structure as a character string: up to its first NUL, or its whole
// width when the instrument filled it without one. Never reads past the field.
template <std::size_t N>
std::string_view FieldText(const std::array<char, N>& field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return {field.data(), static_cast<std::size_t>(end - field.begin())};
}

} // namespace qpx::model
