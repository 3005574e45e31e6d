#include "ui/InstrumentExchange.h"

#include <QCursor>
#include <QGuiApplication>

namespace qpx::ui {

InstrumentExchange::InstrumentExchange(bool& busy) : busy_(busy) {
    busy_ = true;
    resume();
}

InstrumentExchange::~InstrumentExchange() {
    suspend();
    busy_ = false;
}

void InstrumentExchange::suspend() {
    if (cursor_) {
        QGuiApplication::restoreOverrideCursor();
        cursor_ = false;
    }
}

void InstrumentExchange::resume() {
    if (!cursor_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        cursor_ = true;
    }
}

} // namespace qpx::ui
