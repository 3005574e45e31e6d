#include "ui/FocusOffendingBox.h"

#include "ui/TemplateId.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QWidget>

namespace qpx::ui {

void FocusOffendingBox(QWidget* root, const planning::DialogMessage& message) {
    if (message.focusId == 0) {
        return;
    }
    QWidget* target = FindByTemplateId(root, message.focusId);
    if (target == nullptr) {
        return;
    }
    target->setFocus(Qt::OtherFocusReason);
    if (!message.selectText) {
        return;
    }
    if (auto* box = qobject_cast<QLineEdit*>(target)) {
        box->selectAll();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(target)) {
        spin->selectAll();
    }
}

void ShowOffendingBox(link::MessageSink& messages, QWidget* root,
                      const planning::DialogMessage& message) {
    messages.showMessage(message.text);
    FocusOffendingBox(root, message);
}

} // namespace qpx::ui
