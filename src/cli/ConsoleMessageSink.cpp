#include "cli/ConsoleMessageSink.h"

namespace qpx::cli {

std::ostream& ConsoleMessageSink::line() {
    if (env_.errLineOpen) {
        env_.err << '\n';
        env_.errLineOpen = false;
    }
    return env_.err;
}

void ConsoleMessageSink::showMessage(std::string_view text) {
    ++shown_;
    line() << text << '\n' << std::flush;
}

bool ConsoleMessageSink::askOkCancel(std::string_view text, std::string_view title) {
    (void)title;
    line() << text << '\n';
    if (answerOk_) {
        env_.err << "Confirmed by --yes.\n" << std::flush;
        return true;
    }
    ++refused_;
    env_.err << "Not confirmed: give --yes to go ahead.\n" << std::flush;
    return false;
}

void ConsoleMessageSink::showInformation(std::string_view title, std::string_view text) {
    ++shown_;
    line() << title << ": " << text << '\n' << std::flush;
}

} // namespace qpx::cli
