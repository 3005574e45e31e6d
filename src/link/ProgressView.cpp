#include "link/ProgressView.h"

namespace qpx::link {

std::string StepLabel(std::string_view name, std::size_t width) {
    std::string label(name);
    const std::size_t dots = label.size() + 2 < width ? width - 1 - label.size() : 1;
    label.append(dots, '.');
    label += ' ';
    return label;
}

void AppendLogText(ProgressView* view, std::string_view text) {
    if (view != nullptr) {
        view->appendText(text);
    }
}

} // namespace qpx::link
