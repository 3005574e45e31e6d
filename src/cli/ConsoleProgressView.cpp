#include "cli/ConsoleProgressView.h"

namespace qpx::cli {

void ConsoleProgressView::appendText(std::string_view text) {
    for (const char c : text) {
        if (c != '\r') {
            env_.err.put(c);
        }
    }
    if (!text.empty()) {
        env_.errLineOpen = text.back() != '\n';
    }
    env_.err.flush();
}

} // namespace qpx::cli
