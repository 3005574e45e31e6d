#pragma once

#include "gui/PlannerTestInputs.h"
#include "support/RecordingMessageSink.h"
#include "ui/DeploymentDialog.h"
#include "ui/TemplateId.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qpx::test {

inline const link::CalendarTime kSubDialogNow{2026, 12, 7, 16, 45, 30};

// A shown planner whose sub-dialogs a test drives: open() clicks a planner button and runs
// `act` inside the sub-dialog's own modal loop. Whatever `act` leaves open is cancelled, so a
// failed check inside it ends the test instead of hanging it.
struct PlannerWindow {
    using Act = std::function<void(QDialog&)>;

    explicit PlannerWindow(const planning::PlannerInputs& inputs = ConnectedInputs())
        : dialog(std::make_unique<ui::DeploymentDialog>(nullptr, planner, messages)) {
        dialog->setDialogHook([this](QDialog& shown) {
            shownIds.push_back(ui::TemplateIdOf(&shown));
            if (act_) {
                act_(shown);
            }
            if (shown.isVisible()) {
                shown.reject();
            }
        });
        dialog->load(inputs, kSubDialogNow);
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    QPushButton* button(int id) { return Control<QPushButton>(dialog.get(), id); }
    QString text(int id) {
        QWidget* control = ui::FindByTemplateId(dialog.get(), id);
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            return box->text();
        }
        if (auto* label = qobject_cast<QLabel*>(control)) {
            return label->text();
        }
        return {};
    }

    // Clicks planner button `id` with `act` as the sub-dialog's user; the number of dialogs
    // that showed.
    std::size_t open(int id, Act act) {
        const std::size_t before = shownIds.size();
        act_ = std::move(act);
        QTest::mouseClick(button(id), Qt::LeftButton);
        act_ = nullptr;
        return shownIds.size() - before;
    }

    void deploy() {
        QTest::mouseClick(button(planning::DeploymentPlanner::kDeployId), Qt::LeftButton);
    }

    planning::DeploymentPlanner planner;
    RecordingMessageSink messages;
    std::unique_ptr<ui::DeploymentDialog> dialog;
    std::vector<int> shownIds;

private:
    Act act_;
};

// Types `text` into the box with template id `id` of `dialog` as a user replacing its text.
inline void Type(QWidget* dialog, int id, const QString& text) {
    PasteText(Control<QLineEdit>(dialog, id), text);
}

inline void Click(QWidget* dialog, int id) {
    QTest::mouseClick(Control<QAbstractButton>(dialog, id), Qt::LeftButton);
}

inline void Select(QWidget* dialog, int id, int index) {
    Control<QComboBox>(dialog, id)->setCurrentIndex(index);
}

inline QStringList ComboEntries(QWidget* dialog, int id) {
    QStringList entries;
    auto* combo = Control<QComboBox>(dialog, id);
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

// Every text a window shows: its title, labels, boxes, buttons, group titles, combo and list
// entries.
inline QStringList AllTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<QLineEdit*>(child)) {
            texts << box->text();
        } else if (auto* label = qobject_cast<QLabel*>(child)) {
            texts << label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            texts << button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(child)) {
            texts << group->title();
        } else if (auto* combo = qobject_cast<QComboBox*>(child)) {
            for (int i = 0; i < combo->count(); ++i) {
                texts << combo->itemText(i);
            }
        } else if (auto* list = qobject_cast<QListWidget*>(child)) {
            for (int i = 0; i < list->count(); ++i) {
                texts << list->item(i)->text();
            }
        }
    }
    return texts;
}

// The texts that show an infinity or a not-a-number, as any printf spells them.
inline QStringList NonFiniteTexts(QWidget* window) {
    static const QRegularExpression nonFinite(QStringLiteral("\\b(inf|infinity|nan)\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const QString& text : AllTexts(window)) {
        if (nonFinite.match(text).hasMatch()) {
            found << text;
        }
    }
    return found;
}

// The on-OK failure as the user meets it: the last box's text, the template id of the control
// that holds the focus and its selected text.
struct OkFailure {
    std::string message;
    int focusId = 0;
    QString selected;
};

inline OkFailure FailureShown(QWidget* dialog, const RecordingMessageSink& messages) {
    OkFailure failure;
    if (!messages.entries.empty()) {
        failure.message = messages.entries.back().text;
    }
    QWidget* focus = dialog->focusWidget();
    failure.focusId = ui::TemplateIdOf(focus);
    if (auto* box = qobject_cast<QLineEdit*>(focus)) {
        failure.selected = box->selectedText();
    }
    return failure;
}

} // namespace qpx::test

namespace qpx::test {

// A downloaded UserSetup no sub-dialog would accept: bursts enabled with an interval of 0, and a
// wave series of 5000 samples, over the 4096 the waves window allows and far longer than the
// time between profiles.
inline planning::PlannerInputs UnacceptableInputs(int unitSystem) {
    planning::PlannerInputs inputs = ConnectedInputs(unitSystem, 1, 2);
    inputs.user.burstMode = 1;
    inputs.user.burstInterval = 0;
    inputs.user.waveSamples = 5000;
    return inputs;
}

} // namespace qpx::test
