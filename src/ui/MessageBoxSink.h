#pragma once

#include "link/MessageSink.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace qpx::ui {

// One box as the program means to show it.
struct MessageBoxRequest {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    // When set, the text of the Open button ("Open &Folder"); a presenter answers Open for it.
    QString openText;
};

// Shows a box and returns the button the user chose. The program uses ShowMessageBox; tests hand
// in one that records the request and answers at once, so nothing blocks on a modal loop.
using MessagePresenter =
    std::function<QMessageBox::StandardButton(QWidget* parent, const MessageBoxRequest&)>;

// A real modal QMessageBox. The wait cursor of a running exchange is lifted while it is up, so
// the user sees that the box wants an answer.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const MessageBoxRequest& request);

// The title of the plain failure boxes: the program's own name.
inline constexpr const char* kMessageTitle = "DeployQpx";

// The core's messages as modal boxes owned by a window: failures with the warning (exclamation)
// icon and OK, questions with OK and Cancel, information with its title and icon.
class MessageBoxSink final : public link::MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent, MessagePresenter presenter = ShowMessageBox);

    void showMessage(std::string_view text) override;
    bool askOkCancel(std::string_view text, std::string_view title) override;
    void showInformation(std::string_view title, std::string_view text) override;

    // Any other box (the hyperlink's open error, the help's missing file).
    QMessageBox::StandardButton present(const MessageBoxRequest& request);

    void setParentWidget(QWidget* parent) { parent_ = parent; }

private:
    QPointer<QWidget> parent_;
    MessagePresenter presenter_;
};

} // namespace qpx::ui
