#pragma once

#include <string>
#include <string_view>

namespace qpx::link {

// The log box and progress bar of a status window. The core appends step labels and results to
// it; the GUI's progress window repaints after each append, the command-line tool prints.
class ProgressView {
public:
    virtual ~ProgressView() = default;

    // Appends at the very end of the text, scrolls it into view and repaints.
    virtual void appendText(std::string_view text) = 0;
    virtual void setRange(int low, int high) = 0;
    virtual void setPosition(int position) = 0;
    virtual void setStep(int step) = 0;
    // Advances the bar by one step.
    virtual void stepIt() = 0;
};

// Appends `text` to the view; does nothing without a view.
void AppendLogText(ProgressView* view, std::string_view text);

// A progress view that only keeps what it was told: used by headless callers and by tests.
class RecordingProgressView : public ProgressView {
public:
    void appendText(std::string_view text) override { text_.append(text); }
    void setRange(int low, int high) override {
        low_ = low;
        high_ = high;
    }
    void setPosition(int position) override { position_ = position; }
    void setStep(int step) override { step_ = step; }
    void stepIt() override { position_ += step_; }

    const std::string& text() const { return text_; }
    int low() const { return low_; }
    int high() const { return high_; }
    int position() const { return position_; }

private:
    std::string text_;
    int low_ = 0;
    int high_ = 100;
    int position_ = 0;
    int step_ = 10;
};

} // namespace qpx::link
