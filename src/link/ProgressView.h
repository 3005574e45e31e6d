#pragma once

#include <cstddef>
#include <memory>
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
    // The sequence has ended. After a success the window keeps its full bar on screen for a
    // moment (1.5 s) before it goes; that hold belongs to the window, so headless callers and
    // tests do not wait for it.
    virtual void finish(bool success) { (void)success; }
};

// Opens a fresh status window for one sequence (the download, the upload, a format, a PC-QPX
// update). The window lives as long as the returned object.
class ProgressViewFactory {
public:
    virtual ~ProgressViewFactory() = default;
    virtual std::unique_ptr<ProgressView> open() = 0;
};

// A step's name as its log label: dots up to one short of `width`, then a space, so the result
// that follows lines up ("Update Cell Size" -> "Update Cell Size............... "). The upload,
// download and recorder steps are 32 wide; the connection's are 34. A name that does not fit
// keeps one dot and the space.
std::string StepLabel(std::string_view name, std::size_t width = 32);

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
    void finish(bool success) override {
        finished_ = true;
        succeeded_ = success;
    }

    const std::string& text() const { return text_; }
    int low() const { return low_; }
    int high() const { return high_; }
    int position() const { return position_; }
    bool finished() const { return finished_; }
    bool succeeded() const { return succeeded_; }

private:
    std::string text_;
    int low_ = 0;
    int high_ = 100;
    int position_ = 0;
    int step_ = 10;
    bool finished_ = false;
    bool succeeded_ = false;
};

} // namespace qpx::link
