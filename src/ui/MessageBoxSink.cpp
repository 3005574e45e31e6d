#include "ui/MessageBoxSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>

namespace qpx::ui {

namespace {

QString FromCore(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const MessageBoxRequest& request) {
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    box.setDefaultButton(request.defaultButton);
    if (QAbstractButton* open = box.button(QMessageBox::Open);
        open != nullptr && !request.openText.isEmpty())
        open->setText(request.openText);
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int chosen = box.exec();
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    return static_cast<QMessageBox::StandardButton>(chosen);
}

MessageBoxSink::MessageBoxSink(QWidget* parent, MessagePresenter presenter)
    : parent_(parent), presenter_(std::move(presenter)) {
    if (!presenter_)
        presenter_ = ShowMessageBox;
}

QMessageBox::StandardButton MessageBoxSink::present(const MessageBoxRequest& request) {
    return presenter_(parent_.data(), request);
}

void MessageBoxSink::showMessage(std::string_view text) {
    present({QMessageBox::Warning, QString::fromLatin1(kMessageTitle), FromCore(text),
             QMessageBox::Ok, QMessageBox::Ok, QString()});
}

bool MessageBoxSink::askOkCancel(std::string_view text, std::string_view title) {
    const QString shownTitle = title.empty() ? QString::fromLatin1(kMessageTitle) : FromCore(title);
    return present({QMessageBox::Warning, shownTitle, FromCore(text),
                    QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QString()}) ==
           QMessageBox::Ok;
}

void MessageBoxSink::showInformation(std::string_view title, std::string_view text) {
    present({QMessageBox::Information, FromCore(title), FromCore(text), QMessageBox::Ok,
             QMessageBox::Ok, QString()});
}

} // namespace qpx::ui
