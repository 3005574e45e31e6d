#pragma once

#include <string_view>

namespace qpx::link {

// Where the core reports to the user: the GUI shows modal message boxes, the command-line tool
// prints to standard error, tests record. The texts are the system's own and arrive unchanged.
class MessageSink {
public:
    virtual ~MessageSink() = default;

    // A modal box with the text and one OK button (the usual failure report).
    virtual void showMessage(std::string_view text) = 0;
    // A modal question with OK and Cancel buttons; true only for OK.
    virtual bool askOkCancel(std::string_view text, std::string_view title) = 0;
    // A modal information box with a title, an information icon and an OK button.
    virtual void showInformation(std::string_view title, std::string_view text) = 0;
};

} // namespace qpx::link
