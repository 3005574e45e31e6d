#pragma once

#include "link/ProgressView.h"

#include <deque>
#include <memory>
#include <string_view>

namespace qpx::test {

// A progress-view factory whose windows outlive the sequence that opened them: each window the
// core opens (and destroys) writes through to a RecordingProgressView kept here, so a test can
// read what it showed afterwards. `refuse` makes open() hand out no window at all.
class KeptProgressViews : public link::ProgressViewFactory {
public:
    std::unique_ptr<link::ProgressView> open() override {
        if (refuse) {
            return nullptr;
        }
        return std::make_unique<Window>(views.emplace_back(), destroyed);
    }

    bool refuse = false;
    std::deque<link::RecordingProgressView> views;
    int destroyed = 0;

private:
    class Window : public link::ProgressView {
    public:
        Window(link::RecordingProgressView& kept, int& destroyed)
            : kept_(kept), destroyed_(destroyed) {}
        ~Window() override { ++destroyed_; }
        void appendText(std::string_view text) override { kept_.appendText(text); }
        void setRange(int low, int high) override { kept_.setRange(low, high); }
        void setPosition(int position) override { kept_.setPosition(position); }
        void setStep(int step) override { kept_.setStep(step); }
        void stepIt() override { kept_.stepIt(); }
        void finish(bool success) override { kept_.finish(success); }

    private:
        link::RecordingProgressView& kept_;
        int& destroyed_;
    };
};

} // namespace qpx::test
