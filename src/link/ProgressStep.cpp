#include "link/ProgressStep.h"

#include <utility>

namespace qpx::link {

ProgressSteps::ProgressSteps(ProgressView* view, Clock& clock, std::function<void()> onFailure,
                             StepStyle style)
    : view_(view), clock_(clock), onFailure_(std::move(onFailure)), style_(style) {}

bool ProgressSteps::run(std::string_view name, int pauseMs, const std::function<bool()>& action) {
    return runLabelled(StepLabel(name, style_.width), pauseMs, action);
}

bool ProgressSteps::runLabelled(std::string_view label, int pauseMs,
                                const std::function<bool()>& action) {
    AppendLogText(view_, label);
    if (!action()) {
        if (style_.reportsFailure) {
            AppendLogText(view_, "Failed\r\n");
            if (onFailure_) {
                onFailure_();
            }
        }
        return false;
    }
    AppendLogText(view_, "Success\r\n");
    if (style_.stepsBar && view_ != nullptr) {
        view_->stepIt();
    }
    if (pauseMs > 0) {
        clock_.sleepMs(pauseMs);
    }
    return true;
}

} // namespace qpx::link
