#include "instrument/SystemTimeDialogModel.h"

#include "link/CalendarMath.h"
#include "model/TextFormat.h"

namespace qpx::instrument {
namespace {

// Kept in 64 bits: a clock read as a year in the millions puts the days past what an int holds,
// and a narrowed count would show a garbage negative number.
long long Absolute(std::int64_t value) {
    return static_cast<long long>(value < 0 ? -value : value);
}

} // namespace

std::string CalendarText(const link::CalendarTime& time) {
    return model::FormatText("%4d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day,
                             time.hour, time.minute, time.second);
}

std::int64_t ClockDifferenceSeconds(const link::CalendarTime& computer,
                                    const link::CalendarTime& instrument) {
    return link::SecondsFromCalendar(computer) - link::SecondsFromCalendar(instrument);
}

std::string DifferenceText(std::int64_t d) {
    // Each part from truncating divisions, so all four carry the sign of d; shown without it.
    const std::int64_t days = d / 86400;
    const std::int64_t hours = d / 3600 - days * 24;
    const std::int64_t minutes = d / 60 - (d / 3600) * 60;
    const std::int64_t seconds = d - (d / 60) * 60;
    return model::FormatText("    %4lld %02lld:%02lld:%02lld", Absolute(days), Absolute(hours),
                             Absolute(minutes), Absolute(seconds));
}

SystemTimeDialogModel::SystemTimeDialogModel(const link::CalendarTime& computer,
                                             const link::CalendarTime& instrument)
    : computer_(computer), instrument_(instrument), control_(computer),
      computerText_(CalendarText(computer)), instrumentText_(CalendarText(instrument)),
      differenceText_(DifferenceText(ClockDifferenceSeconds(computer, instrument))) {}

bool RunSystemTime(link::Link* link, const SystemTimeDialogRunner& showDialog) {
    if (link == nullptr || !link->port.isOpen()) {
        return false;
    }
    const auto instrument = operations::ReadInstrumentClock(*link);
    if (!instrument) {
        return false;
    }
    SystemTimeDialogModel dialog(link->clock().localTime(), *instrument);
    if (!showDialog || !showDialog(dialog)) {
        return false;
    }
    dialog.accept();
    return operations::SetInstrumentClock(*link, dialog.mode(), dialog.computerTime());
}

} // namespace qpx::instrument
