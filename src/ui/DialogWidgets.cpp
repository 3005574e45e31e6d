#include "ui/DialogWidgets.h"

#include "ui/TemplateId.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qpx::ui {

QString CoreText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* StaticText(QWidget* parent, int id) {
    auto* label = new QLabel(parent);
    SetTemplateId(label, id);
    return label;
}

QLineEdit* Box(QWidget* parent, int id) {
    auto* box = new QLineEdit(parent);
    SetTemplateId(box, id);
    return box;
}

QComboBox* Combo(QWidget* parent, int id) {
    auto* combo = new QComboBox(parent);
    SetTemplateId(combo, id);
    return combo;
}

QPushButton* Button(QWidget* parent, int id, const char* text) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    SetTemplateId(button, id);
    button->setAutoDefault(false);
    return button;
}

OkCancelRow OkCancelButtons(QWidget* parent, int okId, int cancelId) {
    auto* ok = new QPushButton(QStringLiteral("OK"), parent);
    SetTemplateId(ok, okId);
    ok->setDefault(true);
    auto* cancel = Button(parent, cancelId, "Cancel");
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return {ok, cancel, row};
}

QLabel* Caption(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    return label;
}

QLabel* CaptionedValue(QFormLayout* form, QWidget* parent, int id, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    QLabel* value = StaticText(parent, id);
    value->setAccessibleName(caption.trimmed());
    form->addRow(Caption(label, value), value);
    return value;
}

void SetValueText(QLabel* value, const QString& text) {
    value->setText(text);
    value->setAccessibleDescription(text);
}

void SetBoxText(QLineEdit* box, std::string_view text) {
    const QSignalBlocker blocker(box);
    box->setText(CoreText(text));
}

} // namespace qpx::ui
