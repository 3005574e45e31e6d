#pragma once

#include "ui/MessageBoxSink.h"

#include <QColor>
#include <QCursor>
#include <QLabel>
#include <QString>
#include <functional>

namespace qpx::ui {

// Opens an address with the platform's registered handler and returns the platform's result
// code: greater than kOpenSucceededAbove (32) is success.
using UrlOpener = std::function<int(const QString& address)>;

// The program's way: on Windows the shell, then the ".htm" association; elsewhere
// QDesktopServices, whose only failure report is "no handler" (code 31).
int OpenUrl(const QString& address);

// A static text that looks and acts like a web link: link or visited colour, underlined, a
// pointing hand over it, the address as its tooltip, and a click that opens the address.
class HyperlinkControl final : public QLabel {
    Q_OBJECT
public:
    static constexpr QRgb kLinkColour = 0x0000EE;    // 0, 0, 238
    static constexpr QRgb kVisitedColour = 0x551A8B; // 85, 26, 139

    explicit HyperlinkControl(const QString& text, QWidget* parent = nullptr);

    void setUrl(const QString& address);
    QString url() const { return address_; }
    void setUnderline(bool on);
    void setVisited(bool on);
    void setAutoSize(bool on);
    void setLinkCursor(const QCursor& cursor);

    bool visited() const { return visited_; }
    bool underline() const { return underline_; }
    // The colour the text is drawn in now.
    QColor textColour() const;

    // Tests open without a browser and record the error box instead of showing it.
    void setOpener(UrlOpener opener) { opener_ = std::move(opener); }
    void setPresenter(MessagePresenter presenter) { presenter_ = std::move(presenter); }

    // What a click does: open, mark visited on success, otherwise beep and report.
    void click();
    void reportOpenError(int code);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void restyle();
    void resizeToText();

    QString address_;
    bool visited_ = false;
    bool underline_ = true;
    bool autoSize_ = true;
    UrlOpener opener_;
    MessagePresenter presenter_;
};

} // namespace qpx::ui
