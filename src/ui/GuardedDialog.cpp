#include "ui/GuardedDialog.h"

#include "ui/InstrumentExchange.h"

namespace qpx::ui {

void GuardedDialog::done(int result) {
    if (InstrumentExchange::Running()) {
        if (!pending_) {
            pending_ = result;
            InstrumentExchange::WhenIdle(this, [this, result] {
                const int asked = pending_.value_or(result);
                pending_.reset();
                done(asked);
            });
        }
        return;
    }
    pending_.reset();
    ending(result);
    QDialog::done(result);
}

void GuardedDialog::ending(int) {}

} // namespace qpx::ui
