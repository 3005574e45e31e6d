#include "serial/PortArgument.h"

#include "model/TextFormat.h"

#include <algorithm>
#include <cctype>

namespace qpx::serial {
namespace {

bool IsPortNumberForm(std::string_view text) {
    if (text.size() < 4) {
        return false;
    }
    const auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    return upper(text[0]) == 'C' && upper(text[1]) == 'O' && upper(text[2]) == 'M' &&
           std::all_of(text.begin() + 3, text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

} // namespace

PortArgument ParsePortArgument(std::string_view text, const PortList& ports) {
    PortArgument result;
    if (text.empty()) {
        result.error = "No port given: use COM1 to COM8 or a device path.";
        return result;
    }
    if (!IsPortNumberForm(text)) {
        result.device = std::string(text);
        return result;
    }
    const auto number = model::ParseInteger(text.substr(3));
    if (!number || *number < 1 || *number > kPortCount) {
        result.error =
            "Unknown port \"" + std::string(text) + "\": use COM1 to COM8 or a device path.";
        return result;
    }
    const int index = static_cast<int>(*number) - 1;
    if (ports.device(index).empty()) {
        result.error = PortName(index) + " has no serial device behind it.";
        return result;
    }
    result.index = index;
    result.device = ports.device(index);
    return result;
}

} // namespace qpx::serial
