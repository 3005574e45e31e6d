#include "ui/HtmFallback.h"

namespace qpx::ui {

std::string BuildHtmFallbackCommand(std::string_view registeredCommand, std::string_view address) {
    std::string_view head = registeredCommand;
    std::size_t cut = registeredCommand.find("\"%1\"");
    if (cut == std::string_view::npos)
        cut = registeredCommand.find("%1");
    if (cut != std::string_view::npos) {
        head = registeredCommand.substr(0, cut);
        // The blank that stood before the placeholder; the address gets exactly one.
        while (!head.empty() && head.back() == ' ')
            head.remove_suffix(1);
    }
    std::string command(head);
    command += ' ';
    command += address;
    return command;
}

std::string HtmOpenCommandKey(std::string_view htmClass) {
    std::string key(htmClass);
    key += "\\shell\\open\\command";
    return key;
}

} // namespace qpx::ui
