#pragma once

#include "link/MessageSink.h"

#include <QString>
#include <QUrl>
#include <functional>

namespace qpx::ui {

// Every help request of the program opens the one topic of this context.
inline constexpr int kHelpContext = 131200;
// The user guide, installed beside the program.
inline constexpr const char* kHelpFileName = "deployqpx-help.html";

// Where the guide is looked for: beside the program in `programDirectory`.
QString HelpFilePath(const QString& programDirectory);
// The guide's address at the topic's anchor ("#context-131200").
QUrl HelpUrl(const QString& helpFile);

// Opens a document with the desktop's handler; true when the handler took it.
using DocumentOpener = std::function<bool(const QUrl&)>;

// Opens the guide at the help topic. A missing guide (or one no handler takes) is reported with
// the path that was tried, instead of failing silently. True when the guide was opened.
bool OpenHelp(const QString& programDirectory, link::MessageSink& messages,
              const DocumentOpener& open);
// The same for the running program, with QDesktopServices.
bool OpenHelp(link::MessageSink& messages);

} // namespace qpx::ui
