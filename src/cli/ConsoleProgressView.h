#pragma once

#include "link/ProgressView.h"

#include <memory>
#include <ostream>

namespace qpx::cli {

// The progress window on standard error: each appended text is written as it comes, so a step's
// label stands there while its command runs and its result follows on the same line. CR LF
// becomes a plain line end; the bar is not drawn.
class ConsoleProgressView : public link::ProgressView {
public:
    explicit ConsoleProgressView(std::ostream& err) : err_(err) {}

    void appendText(std::string_view text) override;
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void setStep(int) override {}
    void stepIt() override {}

private:
    std::ostream& err_;
};

class ConsoleProgressViews : public link::ProgressViewFactory {
public:
    explicit ConsoleProgressViews(std::ostream& err) : err_(err) {}
    std::unique_ptr<link::ProgressView> open() override {
        return std::make_unique<ConsoleProgressView>(err_);
    }

private:
    std::ostream& err_;
};

} // namespace qpx::cli
