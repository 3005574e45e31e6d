#pragma once

#include "model/FieldText.h"
#include "operations/ChangeFlags.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// How plan values become UserSetup fields: the conversions and text handling every settings row
// shares.
namespace qpx::operations {

// A plan value in its field's integer unit, to the nearest integer; nothing when the field cannot
// hold it.
template <typename Field>
inline std::optional<Field> NearestField(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double nearest = std::round(value);
    if (nearest < static_cast<double>(std::numeric_limits<Field>::min()) ||
        nearest > static_cast<double>(std::numeric_limits<Field>::max())) {
        return std::nullopt;
    }
    return static_cast<Field>(nearest);
}

// A list position or count that must fit its field and (for lists) the list.
template <typename Field>
std::optional<Field> IndexField(int value, int listSize) {
    if (value < 0 || value >= listSize) {
        return std::nullopt;
    }
    return static_cast<Field>(value);
}

template <typename Field>
std::optional<Field> CountField(int value) {
    if (value < 0 || value > static_cast<int>(std::numeric_limits<Field>::max())) {
        return std::nullopt;
    }
    return static_cast<Field>(value);
}

// Marks the item and rewrites the field when the plan's value differs from it.
template <typename Field>
void Compare(ChangeFlags& flags, ChangeItem item, Field& field, std::optional<Field> planned) {
    if (planned && *planned != field) {
        field = *planned;
        flags.mark(item);
    }
}

using model::FieldText;

// The plan's text as the instrument would compare it: up to an embedded NUL.
inline std::string_view PlanText(const std::string& text) {
    return std::string_view(text).substr(0, text.find('\0'));
}

// Writes a text into a fixed field, always terminated, the rest of the field zero.
template <std::size_t N>
void StoreText(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

inline int RateIndexOf(std::uint8_t waveOptions) {
    return (waveOptions >> 2) & 0x3;
}
inline int WaveTypeOf(std::uint8_t waveOptions) {
    return ((waveOptions >> 4) & 0x3) + 1;
}

} // namespace qpx::operations
