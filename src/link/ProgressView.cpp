#include "link/ProgressView.h"

namespace qpx::link {

void AppendLogText(ProgressView* view, std::string_view text) {
    if (view != nullptr) {
        view->appendText(text);
    }
}

} // namespace qpx::link
