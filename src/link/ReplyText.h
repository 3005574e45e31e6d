#pragma once

#include <string_view>

namespace qpx::link {

// Whether an instrument's reply holds `part` anywhere ("OK", a prompt, a version line).
inline bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace qpx::link
