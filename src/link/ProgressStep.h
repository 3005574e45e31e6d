#pragma once

#include "link/Clock.h"
#include "link/ProgressView.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace qpx::link {

// How the steps of one sequence are shown.
struct StepStyle {
    std::size_t width = 32; // of the label; the connection's are 34
    bool stepsBar = true;
    // Off: a failed step leaves its label alone and its caller reports the failure.
    bool reportsFailure = true;
};

// The steps of one logged sequence in one status window (none: shown nowhere). Each step writes
// its label, runs, then writes "Success" (the bar steps and the sequence pauses) or "Failed"
// (and the sequence's failure handling runs: most close their port there).
class ProgressSteps {
public:
    ProgressSteps(ProgressView* view, Clock& clock, std::function<void()> onFailure = {},
                  StepStyle style = {});

    // The label is StepLabel(name, width). Returns what `action` returned.
    bool run(std::string_view name, int pauseMs, const std::function<bool()>& action);
    // For a step that brings its label ready padded.
    bool runLabelled(std::string_view label, int pauseMs, const std::function<bool()>& action);

private:
    ProgressView* view_;
    Clock& clock_;
    std::function<void()> onFailure_;
    StepStyle style_;
};

} // namespace qpx::link
