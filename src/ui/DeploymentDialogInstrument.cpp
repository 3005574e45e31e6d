#include "instrument/RecorderDialogModel.h"
#include "instrument/SystemTimeDialogModel.h"
#include "operations/RecordNaming.h"
#include "ui/DeploymentDialog.h"
#include "ui/InstrumentExchange.h"
#include "ui/PcQpxSettingsDialog.h"
#include "ui/RecorderDialog.h"
#include "ui/SystemTimeDialog.h"

#include <memory>

namespace qpx::ui {

// The windows that talk to the instrument. Their exchanges run on this one thread and wait in
// local event loops that keep the windows painting; every window's actions are behind the one
// InstrumentExchange guard meanwhile.

void DeploymentDialog::openPcQpxSettings() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    instrument::PcQpxSettings settings(planner_.unitSystem(), planner_.systemConfiguration(),
                                       planner_.userSetup(), planner_.operationConfiguration());
    PcQpxSettingsDialog dialog(this, settings, link_, messages_);
    ExecModal(dialog, dialogHook_);
    // However it closed: an update already went to the instrument and was read back.
    planner_.pcQpxSettingsClosed(settings.systemConfiguration(), settings.userSetup(),
                                 settings.operationConfiguration());
}

void DeploymentDialog::openRecorderDetails() {
    if (link_ == nullptr || InstrumentExchange::Refused()) {
        return;
    }
    // The directory is large (512 slots); it lives for this opening only, starting from what the
    // planner keeps of the card.
    auto model = std::make_unique<instrument::RecorderDialogModel>(
        operations::DirectoryFromSpace(planner_.recorder()));
    RecorderDialog dialog(this, *model, *link_);
    dialog.openDirectory();
    ExecModal(dialog, dialogHook_);
    planner_.recorderDetailsClosed(model->space());
    showEstimates();
}

void DeploymentDialog::openSystemTime() {
    InstrumentExchange exchange;
    if (!exchange) {
        return;
    }
    const bool set = instrument::RunSystemTime(
        link_, [this, &exchange](instrument::SystemTimeDialogModel& model) {
            const int utcOffset = link_->clock().utcOffsetSeconds();
            planner_.noteClockReading({model.computerTime(), utcOffset, model.instrumentTime()});
            // The user's turn between reading and setting the clock.
            exchange.suspend();
            SystemTimeDialog dialog(
                this, model,
                ClockCheckContext{operations::SerialNumberText(planner_.systemConfiguration()),
                                  utcOffset, dialogHook_});
            const bool accepted = ExecModal(dialog, dialogHook_) == QDialog::Accepted;
            exchange.resume();
            return accepted;
        });
    // The reading before the clock was set no longer tells how the instrument's clock stands; it
    // is not read again here (that would be an exchange nobody asked for): the review's "Check
    // Clock" reads it for the record.
    if (set) {
        planner_.forgetClockReading();
    }
}

} // namespace qpx::ui
