#include "ui/HyperlinkControl.h"

#include "ui/HyperlinkErrors.h"
#include "ui/InstrumentExchange.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

#ifdef _WIN32
#include "ui/HtmFallback.h"

// shellapi.h needs the types windows.h declares, so windows.h must come first; include sorting
// would put them the other way round.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace qpx::ui {

#ifdef _WIN32
namespace {

bool ReadClassValue(const std::string& key, std::string& value) {
    char buffer[261] = {};
    LONG size = sizeof buffer - 1;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), buffer, &size) != ERROR_SUCCESS)
        return false;
    value.assign(buffer);
    return true;
}

} // namespace

int OpenUrl(const QString& address) {
    const std::string target = address.toLocal8Bit().toStdString();
    const auto shell = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (shell > kOpenSucceededAbove)
        return static_cast<int>(shell);
    std::string htmClass;
    std::string command;
    if (!ReadClassValue(".htm", htmClass) || !ReadClassValue(HtmOpenCommandKey(htmClass), command))
        return static_cast<int>(shell);
    const std::string line = BuildHtmFallbackCommand(command, target);
    return static_cast<int>(WinExec(line.c_str(), SW_SHOWNORMAL));
}
#else
int OpenUrl(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address)) ? kOpenSucceededAbove + 1 : kNoAssociation;
}
#endif

HyperlinkControl::HyperlinkControl(const QString& text, QWidget* parent)
    : QLabel(text, parent), opener_(OpenUrl), presenter_(ShowMessageBox) {
    // Attach: an empty address is the text, an empty text shows the address.
    address_ = text;
    setCursor(Qt::ArrowCursor);
    setToolTip(address_);
    setTextFormat(Qt::PlainText);
    restyle();
    resizeToText();
}

void HyperlinkControl::setUrl(const QString& address) {
    address_ = address;
    if (text().isEmpty())
        setText(address_);
    resizeToText();
    setToolTip(address_);
}

void HyperlinkControl::setUnderline(bool on) {
    underline_ = on;
    restyle();
}

void HyperlinkControl::setVisited(bool on) {
    visited_ = on;
    restyle();
}

void HyperlinkControl::setAutoSize(bool on) {
    autoSize_ = on;
    resizeToText();
}

void HyperlinkControl::setLinkCursor(const QCursor& cursor) {
    setCursor(cursor);
}

QColor HyperlinkControl::textColour() const {
    return QColor::fromRgb(visited_ ? kVisitedColour : kLinkColour);
}

void HyperlinkControl::restyle() {
    QPalette shown = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        shown.setColor(group, QPalette::WindowText, textColour());
    setPalette(shown);
    QFont underlined = font();
    underlined.setUnderline(underline_);
    setFont(underlined);
    update();
}

void HyperlinkControl::resizeToText() {
    // In a layout the control's size is its size hint: fixed to the text, the layout keeps its
    // alignment. Without auto-size it may stretch like any label.
    if (autoSize_) {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        adjustSize();
    } else {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
}

void HyperlinkControl::click() {
    // Opening a document may ask a question in a box of its own: not in the middle of an exchange.
    if (InstrumentExchange::Refused())
        return;
    const int result = opener_ ? opener_(address_) : kNoAssociation;
    setVisited(result > kOpenSucceededAbove);
    emit clicked();
    if (result > kOpenSucceededAbove)
        return;
    QApplication::beep();
    reportOpenError(result);
}

void HyperlinkControl::reportOpenError(int code) {
    const std::string text = HyperlinkErrorMessage(code);
    presenter_(window(), {QMessageBox::Warning, QString::fromLatin1(kMessageTitle),
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                          QMessageBox::Ok, QMessageBox::Ok, QString()});
}

void HyperlinkControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        click();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace qpx::ui
