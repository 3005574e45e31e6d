#pragma once

#include "cli/CliEnvironment.h"
#include "link/MessageSink.h"

#include <ostream>

namespace qpx::cli {

// The system's messages on standard error. The tool never reads standard input: a question is
// answered OK only when the command line said so beforehand (format --yes), otherwise it is
// printed with how to confirm it and answered Cancel.
class ConsoleMessageSink : public link::MessageSink {
public:
    explicit ConsoleMessageSink(CliEnvironment& env, bool answerOk = false)
        : env_(env), answerOk_(answerOk) {}

    void showMessage(std::string_view text) override;
    bool askOkCancel(std::string_view text, std::string_view title) override;
    void showInformation(std::string_view title, std::string_view text) override;

    // How many questions were answered Cancel.
    int refusedQuestions() const { return refused_; }
    int messagesShown() const { return shown_; }

private:
    // Starts a fresh line when a progress label is still open.
    std::ostream& line();

    CliEnvironment& env_;
    bool answerOk_;
    int refused_ = 0;
    int shown_ = 0;
};

} // namespace qpx::cli
