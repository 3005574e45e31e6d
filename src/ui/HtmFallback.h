#pragma once

#include <string>
#include <string_view>

namespace qpx::ui {

// The second way to open a web address on Windows when the shell refuses it: the command line
// registered for ".htm" files (the value of "<class>\shell\open\command"), cut at its first "%1"
// placeholder (the quoted one, "\"%1\"", when there is one, so its quotes go too) and the blanks
// before it, then one blank and the address. A command line without a placeholder gets the blank
// and the address at its end.
std::string BuildHtmFallbackCommand(std::string_view registeredCommand, std::string_view address);

// The key under the file-class root that holds the command line for the ".htm" class `htmClass`.
std::string HtmOpenCommandKey(std::string_view htmClass);

} // namespace qpx::ui
