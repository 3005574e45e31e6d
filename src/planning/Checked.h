#pragma once

#include "planning/DialogMessage.h"

#include <optional>

namespace qpx::planning {

// What a check of the planner or of one of its dialogs hands back: the value it accepted, or the
// message that refuses it (with the box to put the focus in). Exactly one of the two is set.
template <typename T>
struct Checked {
    std::optional<T> value;
    std::optional<DialogMessage> message;

    bool ok() const { return value.has_value(); }
};

} // namespace qpx::planning
