#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "instrument/RecorderDialogModel.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/VirtualClock.h"
#include "operations/Connection.h"
#include "operations/DeploymentDisplay.h"
#include "sim/SimulatedLine.h"
#include "support/LinkBench.h"
#include "support/RecordingMessageSink.h"
#include "support/SimulatedPortOpener.h"
#include "ui/AboutDialog.h"
#include "ui/CommunicationsDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentReviewDialog.h"
#include "ui/MainDialog.h"
#include "ui/ProfileAssistantDialog.h"
#include "ui/ProgressWindow.h"
#include "ui/SystemInformationDialog.h"
#include "ui/TemplateId.h"

#include <QAccessible>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

namespace {

using Planner = qpx::planning::DeploymentPlanner;
using qpx::ui::CommunicationsDialog;

// The label a control is tied to; a group box also reports itself as a label relation, but it
// names the group, not the control in it.
QString LabelRelationName(QAccessibleInterface* control) {
    for (const auto& relation : control->relations(QAccessible::Label)) {
        if (qobject_cast<QLabel*>(relation.first->object()) != nullptr) {
            return relation.first->text(QAccessible::Name);
        }
    }
    return {};
}

// What a screen reader on AT-SPI announces a control by. There a combo box's own name is its
// current entry, so it is known only by its label; a name that merely repeats the enclosing
// group's title does not tell the group's controls apart.
QString AnnouncedName(QAccessibleInterface* control, const QWidget* widget) {
    if (!widget->accessibleName().isEmpty()) {
        return widget->accessibleName();
    }
    const QString label = LabelRelationName(control);
    if (!label.isEmpty()) {
        return label;
    }
    if (control->role() == QAccessible::ComboBox) {
        return {};
    }
    const QString name = control->text(QAccessible::Name).trimmed();
    const auto* group = qobject_cast<const QGroupBox*>(widget->parentWidget());
    if (group != nullptr && name == group->title().trimmed()) {
        return {};
    }
    return name;
}

QString Describe(const QWidget* widget) {
    return QStringLiteral("%1 (templateId %2, objectName \"%3\")")
        .arg(QString::fromLatin1(widget->metaObject()->className()))
        .arg(qpx::ui::TemplateIdOf(widget))
        .arg(widget->objectName());
}

// A control a user reaches with the keyboard, or a bar that reports progress on its own.
bool NeedsName(QAccessibleInterface* node) {
    return node->state().focusable || node->role() == QAccessible::ProgressBar;
}

void Walk(QAccessibleInterface* node, const QWidget* window, QHash<QString, QString>& named,
          QStringList& faults) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        // Item cells have no widget of their own and are named by their text; popups are
        // windows of their own.
        const auto* widget = child != nullptr ? qobject_cast<QWidget*>(child->object()) : nullptr;
        if (widget == nullptr || widget->window() != window) {
            continue;
        }
        if (NeedsName(child)) {
            const QString name = AnnouncedName(child, widget);
            if (name.isEmpty()) {
                faults << QStringLiteral("no name: ") + Describe(widget);
            } else if (named.contains(name)) {
                faults << QStringLiteral("\"%1\" names both %2 and %3")
                              .arg(name, named.value(name), Describe(widget));
            } else {
                named.insert(name, Describe(widget));
            }
        }
        Walk(child, window, named, faults);
    }
}

// Every fault a screen reader user would meet in `window`, each naming the window and the
// control; empty when there is none.
QStringList TreeFaults(QWidget* window) {
    QStringList faults;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (root == nullptr) {
        return {QStringLiteral("no accessible interface for ") + Describe(window)};
    }
    if (root->text(QAccessible::Name).trimmed().isEmpty()) {
        faults << QStringLiteral("window without a name");
    }
    QHash<QString, QString> named;
    Walk(root, window, named, faults);
    for (QString& fault : faults) {
        fault.prepend(Describe(window) + QStringLiteral(": "));
    }
    return faults;
}

using Inspect = std::function<void(QWidget&)>;

// A PC-QPX planner on the simulated instrument, so that every planner button opens its window;
// `inspect` sees each window while it shows.
struct ConnectedPlanner {
    ConnectedPlanner() {
        auto& held = line.instrument().structures();
        held.systemConfiguration.cpuSoftwareVersion = 17;
        held.userSetup.pulseCoherentMode = 1;
        qpx::planning::PlannerInputs inputs = qpx::test::ConnectedInputs();
        inputs.system = held.systemConfiguration;
        inputs.user = held.userSetup;
        inputs.operation = held.operationConfiguration;
        dialog.setLink(&link);
        dialog.setDialogHook([this](QDialog& shown) {
            ++shownCount;
            if (inspect) {
                inspect(shown);
            }
            if (shown.isVisible()) {
                shown.reject();
            }
        });
        dialog.load(inputs, {2026, 12, 7, 16, 45, 30});
        dialog.show();
    }
    void open(int buttonId, Inspect with) {
        inspect = std::move(with);
        qpx::test::Control<QPushButton>(&dialog, buttonId)->click();
        inspect = nullptr;
    }

    qpx::sim::SimulatedLine line;
    qpx::test::RecordingMessageSink messages;
    qpx::link::Link link = line.link(messages);
    Planner planner;
    qpx::ui::DeploymentDialog dialog{nullptr, planner, messages};
    Inspect inspect;
    int shownCount = 0;
};

// A connection window over COM1 with an instrument, COM2 held by another program and the rest
// absent.
struct ConnectionWindow {
    ConnectionWindow() : opener(clock) {
        opener.instruments[0] = qpx::sim::QpxScenario();
        opener.busy = {1};
        dialog = std::make_unique<CommunicationsDialog>(
            nullptr, qpx::ui::ConnectionServices{opener, clock, messages, std::nullopt, {}},
            settings);
        dialog->refresh();
        dialog->show();
    }

    qpx::link::VirtualClock clock;
    qpx::test::SimulatedPortOpener opener;
    qpx::test::RecordingMessageSink messages;
    qpx::operations::ConnectionSettings settings;
    std::unique_ptr<CommunicationsDialog> dialog;
};

void ShowAndInspect(QWidget& window, const Inspect& inspect) {
    window.show();
    inspect(window);
}

void OpenFromPlanner(int buttonId, const Inspect& inspect) {
    ConnectedPlanner planner;
    planner.open(buttonId, inspect);
}

// Each of the program's windows, built and opened as the program does.
const std::pair<const char*, std::function<void(const Inspect&)>> kWindows[] = {
    {"main",
     [](const Inspect& inspect) {
         qpx::link::VirtualClock clock;
         qpx::test::SimulatedPortOpener opener(clock);
         qpx::test::RecordingMessageSink messages;
         qpx::ui::MainDialogSetup setup;
         setup.messages = &messages;
         qpx::ui::MainDialog window(opener, clock, setup);
         ShowAndInspect(window, inspect);
     }},
    {"communications", [](const Inspect& inspect) { inspect(*ConnectionWindow().dialog); }},
    {"system information",
     [](const Inspect& inspect) {
         qpx::ui::SystemInformationDialog window(nullptr);
         ShowAndInspect(window, inspect);
     }},
    {"about",
     [](const Inspect& inspect) {
         qpx::ui::AboutDialog window(nullptr);
         ShowAndInspect(window, inspect);
     }},
    {"planner",
     [](const Inspect& inspect) {
         ConnectedPlanner planner;
         inspect(planner.dialog);
     }},
    {"profile assistant",
     [](const Inspect& inspect) {
         ConnectedPlanner planner;
         qpx::test::Control<QPushButton>(&planner.dialog, Planner::kAssistantButtonId)->click();
         QTRY_VERIFY(planner.dialog.assistant().isVisible());
         inspect(planner.dialog.assistant());
     }},
    {"advanced settings",
     [](const Inspect& inspect) { OpenFromPlanner(Planner::kAdvancedButtonId, inspect); }},
    {"waves settings",
     [](const Inspect& inspect) { OpenFromPlanner(Planner::kWavesButtonId, inspect); }},
    {"PC-QPX settings",
     [](const Inspect& inspect) { OpenFromPlanner(Planner::kPcQpxButtonId, inspect); }},
    {"hardware configuration",
     [](const Inspect& inspect) { OpenFromPlanner(Planner::kHardwareButtonId, inspect); }},
    {"recorder",
     [](const Inspect& inspect) { OpenFromPlanner(Planner::kRecorderButtonId, inspect); }},
    {"system time",
     [](const Inspect& inspect) { OpenFromPlanner(Planner::kSystemTimeButtonId, inspect); }},
    {"progress",
     [](const Inspect& inspect) {
         QWidget owner;
         qpx::link::VirtualClock clock;
         qpx::ui::ProgressWindow window(&owner, clock);
         window.present();
         inspect(window);
     }},
    {"deployment review",
     [](const Inspect& inspect) {
         // With warnings (the inputs' start is long past, the card in use): every part shown.
         qpx::sim::SimulatedLine line;
         qpx::test::RecordingMessageSink messages;
         qpx::link::Link link = line.link(messages);
         Planner planner;
         planner.open(qpx::test::ConnectedInputs());
         auto plan = planner.deploy();
         std::filesystem::path folder = "/records";
         qpx::ui::DeploymentReviewDialog window(nullptr, planner, *plan.value, link, messages,
                                                &folder);
         ShowAndInspect(window, inspect);
     }},
    {"deployment display",
     [](const Inspect& inspect) {
         qpx::test::LinkBench bench;
         qpx::operations::DeploymentDisplay display(bench.port, {});
         qpx::ui::DeploymentDisplayDialog window(nullptr, display);
         ShowAndInspect(window, inspect);
     }},
};

} // namespace

class AccessibilityTreeTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowAndControlIsNamedApart_data() {
        QTest::addColumn<int>("window");
        for (std::size_t i = 0; i < std::size(kWindows); ++i) {
            QTest::newRow(kWindows[i].first) << static_cast<int>(i);
        }
    }
    void everyWindowAndControlIsNamedApart() {
        QFETCH(int, window);
        int inspected = 0;
        QStringList faults;
        kWindows[window].second([&](QWidget& shown) {
            ++inspected;
            faults << TreeFaults(&shown);
        });
        QCOMPARE(inspected, 1);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The markers beside the ports are colour only; the buttons say the same in words, and
    // follow each new scan.
    void portButtonsTellTheirMarkerInWords() {
        ConnectionWindow w;
        const auto expect = [&](int port, const QString& text) {
            QRadioButton* button = w.dialog->portButton(port);
            QCOMPARE(button->toolTip(), text);
            QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Description),
                     text);
        };
        expect(0, QStringLiteral("available"));
        expect(1, QStringLiteral("in use or access denied"));
        expect(2, QStringLiteral("cannot be opened"));
        w.opener.busy = {0};
        w.opener.instruments.erase(0);
        w.opener.instruments[1] = qpx::sim::QpxScenario();
        w.dialog->refresh();
        expect(0, QStringLiteral("in use or access denied"));
        expect(1, QStringLiteral("available"));
    }

    // Values shown after their captions are announced by the caption, which comes first, with
    // the value as the description, also after the value changes.
    void valuesAreAnnouncedByTheirCaptions() {
        QStringList faults;
        int checked = 0;
        const auto expect = [&](QWidget& window, int id, const QString& caption) {
            ++checked;
            auto* value = qpx::test::Control<QLabel>(&window, id);
            QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(value);
            QAccessibleInterface* label = nullptr;
            for (const auto& relation : shown->relations(QAccessible::Label)) {
                label = relation.first;
            }
            QAccessibleInterface* parent = shown->parent();
            const bool captionFirst =
                label != nullptr && parent->indexOfChild(label) < parent->indexOfChild(shown);
            if (shown->text(QAccessible::Name) != caption || !captionFirst ||
                label->text(QAccessible::Name).trimmed() != caption || value->text().isEmpty() ||
                shown->text(QAccessible::Description) != value->text()) {
                faults << QStringLiteral("%1: name \"%2\", description \"%3\", text \"%4\"")
                              .arg(id)
                              .arg(shown->text(QAccessible::Name),
                                   shown->text(QAccessible::Description), value->text());
            }
        };
        OpenFromPlanner(Planner::kSystemTimeButtonId, [&](QWidget& window) {
            expect(window, qpx::instrument::kComputerTimeTextId, QStringLiteral("Computer Time:"));
            expect(window, qpx::instrument::kSystemTimeTextId, QStringLiteral("System Time:"));
            expect(window, qpx::instrument::kDifferenceTextId, QStringLiteral("Difference:"));
        });
        OpenFromPlanner(Planner::kRecorderButtonId, [&](QWidget& window) {
            expect(window, qpx::instrument::kUsedSpaceTextId, QStringLiteral("Used Space:"));
            expect(window, qpx::instrument::kFreeSpaceTextId, QStringLiteral("Free Space:"));
        });
        QCOMPARE(checked, 5);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QPX_GUI_TEST(AccessibilityTreeTest)
#include "AccessibilityTreeTest.moc"
