#pragma once

#include <span>
#include <string_view>

namespace qpx::fuzz {

// Every message format the planner and its sub-dialog models can show.
std::span<const std::string_view> ModelMessages();

} // namespace qpx::fuzz
