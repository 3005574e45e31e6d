#include "ui/ProgressWindow.h"

#include "ui/TemplateId.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

namespace qpx::ui {

namespace {

// The core ends its lines with CR LF; a text document would make two line breaks of that.
QString LogText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.remove(QLatin1Char('\r'));
    return shown;
}

} // namespace

ProgressWindow::ProgressWindow(QWidget* owner, link::Clock& clock)
    : GuardedDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      clock_(clock) {
    SetTemplateId(this, kTemplateId);
    setWindowTitle(QString());
    // No title text on its frame, but announced all the same.
    setAccessibleName(QStringLiteral("Progress"));
    setModal(false);

    log_ = new QPlainTextEdit(this);
    SetTemplateId(log_, kLogBoxId);
    log_->setAccessibleName(QStringLiteral("Progress Log"));
    log_->setReadOnly(true);
    log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    logColours_.attach(log_, ColourElement::Edit);
    logColours_.setTextColour(Rgb(0, 255, 0));
    logColours_.setBackgroundColour(Rgb(0, 0, 0));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setPixelSize(12);
    log_->setFont(font);

    bar_ = new QProgressBar(this);
    SetTemplateId(bar_, kBarId);
    bar_->setAccessibleName(QStringLiteral("Progress Bar"));
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    layout->addWidget(log_, 1);
    layout->addWidget(bar_);
    // 226 x 84 dialog units, in the log font's terms.
    const QFontMetrics metrics(font);
    resize(std::max(320, 56 * metrics.horizontalAdvance(QLatin1Char('0'))),
           std::max(130, 8 * metrics.height()));

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

ProgressWindow::~ProgressWindow() {
    QGuiApplication::restoreOverrideCursor();
}

void ProgressWindow::present() {
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    repaint();
}

void ProgressWindow::appendText(std::string_view text) {
    if (log_ == nullptr)
        return;
    // At the very end, wherever the user may have clicked into the box.
    QTextCursor cursor = log_->textCursor();
    cursor.movePosition(QTextCursor::End);
    log_->setTextCursor(cursor);
    log_->ensureCursorVisible();
    log_->insertPlainText(LogText(text));
    log_->ensureCursorVisible();
    // The caret's line may be the empty one after a line end; show to the very bottom.
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    log_->repaint();
}

void ProgressWindow::setRange(int low, int high) {
    bar_->setRange(low, high);
}

void ProgressWindow::setPosition(int position) {
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
    bar_->repaint();
}

void ProgressWindow::setStep(int step) {
    step_ = step;
}

void ProgressWindow::stepIt() {
    // Stops at the upper bound rather than starting over from the bottom.
    setPosition(bar_->value() + step_);
}

void ProgressWindow::finish(bool success) {
    if (!success)
        return;
    setPosition(bar_->maximum());
    clock_.sleepMs(kHoldMs);
}

QString ProgressWindow::text() const {
    return log_->toPlainText();
}

void ProgressWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QDialog::paintEvent(event);
}

} // namespace qpx::ui
