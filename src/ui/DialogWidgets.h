#pragma once

#include <QComboBox>
#include <QSignalBlocker>
#include <QString>
#include <string_view>

class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace qpx::ui {

// The controls the planner and its settings windows build by template id, made one way so that
// a window's tests find every control by the id its template gives.

// The core's texts are UTF-8.
QString CoreText(std::string_view text);

QLabel* StaticText(QWidget* parent, int id);
QLineEdit* Box(QWidget* parent, int id);
QComboBox* Combo(QWidget* parent, int id);
// Never the default button: Enter in a box belongs to the window's OK.
QPushButton* Button(QWidget* parent, int id, const char* text);

// "OK" (the default button) and "Cancel" at the right of a row, made in that order so they come
// in that order for anyone walking the window. The window connects them.
struct OkCancelRow {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;
};
OkCancelRow OkCancelButtons(QWidget* parent, int okId, int cancelId);

// A screen reader, and a test driving the program through the accessibility interface, know a
// control by the label tied to it as its buddy; a layout placing the label beside it is not
// enough: the control is then nameless or named only by its group box.
QLabel* Caption(QLabel* label, QWidget* control);

// A value label under a caption, in a form row, for values a window shows rather than takes: the
// caption is built first, so it comes before the value for anyone walking the window, and the
// value is announced by the caption with the value itself as its description (see
// SetValueText).
QLabel* CaptionedValue(QFormLayout* form, QWidget* parent, int id, const QString& caption);
void SetValueText(QLabel* value, const QString& text);

// Shown values are set without the signals that stand for the user's typing or choosing.
void SetBoxText(QLineEdit* box, std::string_view text);

template <typename List>
void Fill(QComboBox* combo, const List& entries, int selection) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const auto& entry : entries) {
        combo->addItem(CoreText(entry));
    }
    combo->setCurrentIndex(selection);
}

} // namespace qpx::ui
