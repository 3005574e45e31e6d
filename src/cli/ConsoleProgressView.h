#pragma once

#include "cli/CliEnvironment.h"
#include "link/ProgressView.h"

#include <memory>
#include <ostream>

namespace qpx::cli {

// The progress window on standard error: each appended text is written as it comes, so a step's
// label stands there while its command runs and its result follows on the same line. CR LF
// becomes a plain line end; the bar is not drawn.
class ConsoleProgressView : public link::ProgressView {
public:
    explicit ConsoleProgressView(CliEnvironment& env) : env_(env) {}

    void appendText(std::string_view text) override;
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void setStep(int) override {}
    void stepIt() override {}

private:
    CliEnvironment& env_;
};

class ConsoleProgressViews : public link::ProgressViewFactory {
public:
    explicit ConsoleProgressViews(CliEnvironment& env) : env_(env) {}
    std::unique_ptr<link::ProgressView> open() override {
        return std::make_unique<ConsoleProgressView>(env_);
    }

private:
    CliEnvironment& env_;
};

} // namespace qpx::cli
