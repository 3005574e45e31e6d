#pragma once

#include "model/TextFormat.h"

#include <cstddef>
#include <string>

// Helpers the planner's own files share: how its boxes show numbers, and list positions.
namespace qpx::planning::planner {

// A float box shows the shortest general form, up to six significant digits: 0.5, 1.64, 600.
inline std::string FloatText(float value) {
    return model::FormatGeneral(static_cast<double>(value));
}

inline std::string IntText(int value) {
    return model::FormatText("%d", value);
}

// `index` when a list of `entries` has it, else -1 (nothing selected).
inline int Selection(int index, std::size_t entries) {
    return index >= 0 && static_cast<std::size_t>(index) < entries ? index : -1;
}

} // namespace qpx::planning::planner
