#include "cli/ConsoleMessageSink.h"

namespace qpx::cli {

void ConsoleMessageSink::showMessage(std::string_view text) {
    ++shown_;
    err_ << text << '\n' << std::flush;
}

bool ConsoleMessageSink::askOkCancel(std::string_view text, std::string_view title) {
    (void)title;
    err_ << text << '\n';
    if (answerOk_) {
        err_ << "Confirmed by --yes.\n" << std::flush;
        return true;
    }
    ++refused_;
    err_ << "Not confirmed: give --yes to go ahead.\n" << std::flush;
    return false;
}

void ConsoleMessageSink::showInformation(std::string_view title, std::string_view text) {
    ++shown_;
    err_ << title << ": " << text << '\n' << std::flush;
}

} // namespace qpx::cli
