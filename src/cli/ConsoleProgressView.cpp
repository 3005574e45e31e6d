#include "cli/ConsoleProgressView.h"

namespace qpx::cli {

void ConsoleProgressView::appendText(std::string_view text) {
    for (const char c : text) {
        if (c != '\r') {
            err_.put(c);
        }
    }
    err_.flush();
}

} // namespace qpx::cli
