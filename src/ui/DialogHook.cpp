#include "ui/DialogHook.h"

#include <QTimer>

namespace qpx::ui {

int ExecModal(QDialog& dialog, const DialogHook& hook) {
    if (hook) {
        // Queued, so it runs in the dialog's own loop after the dialog has been shown.
        QTimer::singleShot(0, &dialog, [&dialog, hook] { hook(dialog); });
    }
    return dialog.exec();
}

} // namespace qpx::ui
