#pragma once

#include "link/MessageSink.h"

#include <ostream>

namespace qpx::cli {

// The system's messages on standard error. The tool never reads standard input: a question is
// answered OK only when the command line said so beforehand (format --yes), otherwise it is
// printed with how to confirm it and answered Cancel.
class ConsoleMessageSink : public link::MessageSink {
public:
    explicit ConsoleMessageSink(std::ostream& err, bool answerOk = false)
        : err_(err), answerOk_(answerOk) {}

    void showMessage(std::string_view text) override;
    bool askOkCancel(std::string_view text, std::string_view title) override;
    void showInformation(std::string_view title, std::string_view text) override;

    // How many questions were answered Cancel.
    int refusedQuestions() const { return refused_; }
    int messagesShown() const { return shown_; }

private:
    std::ostream& err_;
    bool answerOk_;
    int refused_ = 0;
    int shown_ = 0;
};

} // namespace qpx::cli
