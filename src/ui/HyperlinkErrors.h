#pragma once

#include <string>

namespace qpx::ui {

// The shell-execute result codes: greater than this means the address was opened.
inline constexpr int kOpenSucceededAbove = 32;
// What a failed open reports where the platform gives no code of its own: "no application
// associated".
inline constexpr int kNoAssociation = 31;

// The text for a failed open's code ("Unknown Error (%d) occurred." for codes outside the table).
std::string HyperlinkErrorText(int code);
// The whole message: "Unable to open hyperlink:\n\n" and the code's text.
std::string HyperlinkErrorMessage(int code);

} // namespace qpx::ui
