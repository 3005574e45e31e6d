#include "ui/ProgressWindowFactory.h"

#include "ui/ProgressWindow.h"

namespace qpx::ui {

namespace {

// Keeps the window's text when the core lets the window go.
class KeptWindow final : public link::ProgressView {
public:
    KeptWindow(std::unique_ptr<ProgressWindow> window, QStringList& transcripts)
        : window_(std::move(window)), transcripts_(transcripts) {}
    ~KeptWindow() override { transcripts_.append(window_->text()); }

    void appendText(std::string_view text) override { window_->appendText(text); }
    void setRange(int low, int high) override { window_->setRange(low, high); }
    void setPosition(int position) override { window_->setPosition(position); }
    void setStep(int step) override { window_->setStep(step); }
    void stepIt() override { window_->stepIt(); }
    void finish(bool success) override { window_->finish(success); }

private:
    std::unique_ptr<ProgressWindow> window_;
    QStringList& transcripts_;
};

} // namespace

ProgressWindowFactory::ProgressWindowFactory(QWidget* owner, link::Clock& clock)
    : owner_(owner), clock_(clock) {}

std::unique_ptr<link::ProgressView> ProgressWindowFactory::open() {
    auto window = std::make_unique<ProgressWindow>(owner_.data(), clock_);
    window->present();
    if (onOpened)
        onOpened(*window);
    return std::make_unique<KeptWindow>(std::move(window), transcripts_);
}

} // namespace qpx::ui
