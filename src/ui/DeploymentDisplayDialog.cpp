#include "ui/DeploymentDisplayDialog.h"

#include "ui/InstrumentExchange.h"
#include "ui/TemplateId.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace qpx::ui {

DeploymentDisplayDialog::DeploymentDisplayDialog(QWidget* parent,
                                                 operations::DeploymentDisplay& display)
    : GuardedDialog(parent), display_(display) {
    setWindowTitle(QStringLiteral("Deployment Display"));
    SetTemplateId(this, kTemplateId);

    interval_ = new QLabel(QString::fromStdString(display_.intervalText()), this);
    SetTemplateId(interval_, kIntervalTextId);
    output_ = new QPlainTextEdit(this);
    SetTemplateId(output_, kOutputId);
    output_->setAccessibleName(QStringLiteral("Instrument Output"));
    output_->setReadOnly(true);
    output_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    output_->setMinimumSize(480, 240);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    SetTemplateId(ok, kOkId);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(interval_);
    layout->addWidget(output_);
    layout->addWidget(ok, 0, Qt::AlignRight);

    timer_.setInterval(operations::DeploymentDisplay::kTickMs);
    connect(&timer_, &QTimer::timeout, this, &DeploymentDisplayDialog::tick);
    display_.setOutput([this](std::string_view piece) { append(piece); });
}

DeploymentDisplayDialog::~DeploymentDisplayDialog() {
    finish();
    display_.setOutput({});
}

void DeploymentDisplayDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (display_.holdsPort() && !timer_.isActive()) {
        timer_.start();
    }
}

void DeploymentDisplayDialog::tick() {
    const InstrumentExchange exchange;
    if (!exchange || endPending()) {
        return;
    }
    ++ticks_;
    display_.tick();
}

void DeploymentDisplayDialog::append(std::string_view piece) {
    // Lines end in CR LF; the box breaks lines on LF alone and would show each CR as a second
    // break. What the model keeps is unchanged.
    QString text = QString::fromLatin1(piece.data(), static_cast<qsizetype>(piece.size()));
    text.remove(QLatin1Char('\r'));
    QTextCursor cursor(output_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void DeploymentDisplayDialog::finish() {
    timer_.stop();
    // Pauses 200 ms (so a last read is over) and closes the port; later calls do nothing.
    display_.close();
}

void DeploymentDisplayDialog::ending(int) {
    // The last pause and the close are an exchange too: nothing may end the window twice meanwhile.
    const InstrumentExchange exchange;
    finish();
}

} // namespace qpx::ui
