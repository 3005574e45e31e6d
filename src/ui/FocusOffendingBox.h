#pragma once

#include "link/MessageSink.h"
#include "planning/DialogMessage.h"

class QWidget;

namespace qpx::ui {

// The on-OK rule of every dialog: the focus goes to the control whose template id the message
// names (found under `root`), and an edit box gets its whole text selected when the message asks
// for it, so the user can type the correction straight away. A focus id of 0, or one the dialog
// does not have, leaves the focus where it is.
void FocusOffendingBox(QWidget* root, const planning::DialogMessage& message);

// The message box first, then the focus: the box takes the focus while it is up, so focusing
// before it would be undone when it closes.
void ShowOffendingBox(link::MessageSink& messages, QWidget* root,
                      const planning::DialogMessage& message);

} // namespace qpx::ui
