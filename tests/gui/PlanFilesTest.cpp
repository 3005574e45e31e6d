#include "gui/GuiTestRegistry.h"
#include "gui/SubDialogDriver.h"
#include "operations/PlanFile.h"
#include "planning/DeploymentValidation.h"
#include "ui/InstrumentExchange.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

using qpx::test::PlannerWindow;
using qpx::ui::DeploymentDialog;
using Planner = qpx::planning::DeploymentPlanner;

// A home of the test's own, without a user-dirs file: the file dialogs start in its Documents.
struct ScopedHome {
    ScopedHome() : oldHome(qgetenv("HOME")), oldConfig(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        QDir(home.path()).mkpath(QStringLiteral("Documents"));
    }
    ~ScopedHome() {
        qputenv("HOME", oldHome);
        oldConfig.isEmpty() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    QString documents(const QString& name = {}) const {
        return home.path() + QStringLiteral("/Documents/") + name;
    }

    QTemporaryDir home;
    QByteArray oldHome;
    QByteArray oldConfig;
};

// What the user met in a file dialog.
struct FileDialogSeen {
    QString title;
    QString folder;
    QStringList filters;
};

// The user of a file dialog: types `name` into its name box and presses Enter.
PlannerWindow::Act TypeFileName(const QString& name, std::optional<FileDialogSeen>& seen) {
    return [name, &seen](QDialog& shown) {
        auto* dialog = qobject_cast<QFileDialog*>(&shown);
        QVERIFY(dialog != nullptr);
        seen = FileDialogSeen{dialog->windowTitle(), dialog->directory().absolutePath(),
                              dialog->nameFilters()};
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        QTest::keyClicks(edit, name);
        // The completion list of the files that match would take the Enter.
        if (edit->completer() != nullptr && edit->completer()->popup()->isVisible()) {
            edit->completer()->popup()->hide();
        }
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// Every value of the planner a plan keeps, the sub-dialogs' included.
std::string PlanValues(const Planner& planner) {
    return qpx::operations::FormatPlan(planner, {}).text;
}

} // namespace

class PlanFilesTest : public QObject {
    Q_OBJECT
private slots:
    void savedPlanOpensBackIntoAFreshWindow() {
        const ScopedHome home;
        PlannerWindow saved;
        qpx::test::Type(saved.dialog.get(), qpx::planning::kFileNameBoxId, QStringLiteral("HARB1"));
        qpx::test::Type(saved.dialog.get(), qpx::planning::kCellsBoxId, QStringLiteral("25"));
        qpx::test::Type(saved.dialog.get(), qpx::planning::kComment1BoxId,
                        QStringLiteral("Harbour mouth, 12 m"));
        qpx::test::Select(saved.dialog.get(), Planner::kCoordinateId, 1);
        qpx::test::Control<QDateTimeEdit>(saved.dialog.get(), Planner::kStartDateTimeId)
            ->setDateTime(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5)));

        std::optional<FileDialogSeen> seen;
        // No extension typed: the plan's is added.
        QCOMPARE(saved.open(DeploymentDialog::kSavePlanId, TypeFileName("harbour", seen)), 1u);
        QVERIFY(seen.has_value());
        QCOMPARE(seen->title, QStringLiteral("Save Plan"));
        QCOMPARE(seen->folder, QDir(home.documents()).absolutePath());
        QCOMPARE(seen->filters, QStringList{QStringLiteral("DeployQpx plans (*.qpxplan)")});
        QVERIFY(saved.messages.entries.empty());
        const QString file = ReadAll(home.documents(QStringLiteral("harbour.qpxplan")));
        QVERIFY(file.contains(QStringLiteral("\ncells = 25\n")));
        QVERIFY(file.contains(QStringLiteral("\ninstrument = DEFAULT\n")));

        PlannerWindow opened;
        QVERIFY(PlanValues(opened.planner) != PlanValues(saved.planner));
        QCOMPARE(opened.open(DeploymentDialog::kOpenPlanId,
                             TypeFileName(QStringLiteral("harbour.qpxplan"), seen)),
                 1u);
        QCOMPARE(seen->title, QStringLiteral("Open Plan"));
        QCOMPARE(seen->folder, QDir(home.documents()).absolutePath());
        QVERIFY(opened.messages.entries.empty());
        QCOMPARE(PlanValues(opened.planner), PlanValues(saved.planner));
        // Every control shows it: boxes, lists, labels, estimates, the start.
        QCOMPARE(qpx::test::AllTexts(opened.dialog.get()), qpx::test::AllTexts(saved.dialog.get()));
    }

    void refusedOpenNamesTheLineAndLeavesThePlanner_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message"); // its start; %1 is the file's path
        QTest::addColumn<int>("focusId");     // 0: the focus stays on the button
        // The file name on line 2 would be taken before the cells: all or nothing.
        QTest::newRow("cells the planner refuses")
            << QByteArray("units = metric\nfile-name = OTHER\n# the profile\ncells = 0\n")
            << QStringLiteral("bad.qpxplan, line 4: cells = 0: ") << qpx::planning::kCellsBoxId;
        QTest::newRow("a setting of the advanced window")
            << QByteArray("units = metric\nsalinity = 900\n")
            << QStringLiteral("bad.qpxplan, line 2: salinity = 900: ")
            << Planner::kAdvancedButtonId;
        QTest::newRow("not a plan") << QByteArray("units = metric\nspeed = 3\n")
                                    << QStringLiteral("bad.qpxplan, line 2: ") << 0;
        QTest::newRow("too large to read")
            << QByteArray(70000, '#')
            << QStringLiteral("The plan could not be read from %1: it is larger than 65536 bytes.")
            << 0;
    }

    void refusedOpenNamesTheLineAndLeavesThePlanner() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        QFETCH(int, focusId);
        const ScopedHome home;
        const QString path = home.documents(QStringLiteral("bad.qpxplan"));
        WriteFile(path, contents);
        PlannerWindow w;
        const std::string before = PlanValues(w.planner);
        const QStringList shown = qpx::test::AllTexts(w.dialog.get());

        std::optional<FileDialogSeen> seen;
        w.open(DeploymentDialog::kOpenPlanId, TypeFileName(QStringLiteral("bad.qpxplan"), seen));
        QCOMPARE(w.messages.entries.size(), 1u);
        QCOMPARE(w.messages.entries[0].kind, qpx::test::RecordingMessageSink::Entry::Kind::Message);
        const QString said = QString::fromStdString(w.messages.entries[0].text);
        const QString expected = message.contains(QStringLiteral("%1"))
                                     ? message.arg(QDir::toNativeSeparators(path))
                                     : message;
        QVERIFY2(said.startsWith(expected), qPrintable(said));
        QCOMPARE(qpx::ui::TemplateIdOf(w.dialog->focusWidget()),
                 focusId != 0 ? focusId : DeploymentDialog::kOpenPlanId);
        QCOMPARE(PlanValues(w.planner), before);
        QCOMPARE(qpx::test::AllTexts(w.dialog.get()), shown);
    }

    // A plan for another system opens with what it could take; what it could not, and why, in
    // one message after the window shows the plan.
    void warningsAndNotesComeInOneMessage() {
        const ScopedHome home;
        WriteFile(home.documents(QStringLiteral("feet.qpxplan")),
                  "units = english\nfrequency = 3000\nfile-name = OTHER\ncell-size = 1.64\n");
        qpx::planning::PlannerInputs inputs = qpx::test::ConnectedInputs();
        inputs.planning = true;
        PlannerWindow w(inputs);
        std::optional<FileDialogSeen> seen;
        w.open(DeploymentDialog::kOpenPlanId, TypeFileName(QStringLiteral("feet.qpxplan"), seen));
        QCOMPARE(w.messages.entries.size(), 1u);
        const auto& said = w.messages.entries[0];
        QCOMPARE(said.kind, qpx::test::RecordingMessageSink::Entry::Kind::Information);
        QCOMPARE(said.title, std::string("Open Plan"));
        const QString text = QString::fromStdString(said.text);
        QVERIFY2(text.startsWith(QStringLiteral("The plan feet.qpxplan was opened.")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("3000 kHz")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("line 3: file-name not entered")), qPrintable(text));
        QCOMPARE(w.text(qpx::planning::kFileNameBoxId), QStringLiteral("DEF"));
        // 1.64 ft in this metric window, shown with the range it gives.
        QCOMPARE(w.text(qpx::planning::kCellSizeBoxId), QStringLiteral("0.5"));
        QCOMPARE(w.text(Planner::kRangeTextId),
                 QStringLiteral("Profiling Range:   0.65 -  10.65 m"));
    }

    void savedCommandsAreTheUploadsLines_data() {
        QTest::addColumn<bool>("planning");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        // Connected: what differs from the download, with the start that always goes.
        QTest::newRow("connected") << false
                                   << QStringList{"# DeployQpx upload commands for the instrument "
                                                  "DEFAULT, ",
                                                  "\nnc 25\n", "\nStartDate "}
                                   << QStringList{"\nai ", "\npri "};
        // Planning: every command, and no instrument.
        QTest::newRow("planning") << true
                                  << QStringList{"\nnc 25\n", "\nai ", "\npri ", "\nStartDate "}
                                  << QStringList{"for the instrument"};
    }

    void savedCommandsAreTheUploadsLines() {
        QFETCH(bool, planning);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        const ScopedHome home;
        qpx::planning::PlannerInputs inputs = qpx::test::ConnectedInputs();
        inputs.planning = planning;
        PlannerWindow w(inputs);
        qpx::test::Type(w.dialog.get(), qpx::planning::kCellsBoxId, QStringLiteral("25"));
        std::optional<FileDialogSeen> seen;
        QCOMPARE(w.open(DeploymentDialog::kSaveCommandsId, TypeFileName("upload", seen)), 1u);
        QCOMPARE(seen->filters, QStringList{QStringLiteral("Command files (*.txt)")});
        QVERIFY(w.messages.entries.empty());
        const QString file = ReadAll(home.documents(QStringLiteral("upload.txt")));
        for (const QString& text : present) {
            QVERIFY2(file.contains(text), qPrintable(text + QStringLiteral(" in\n") + file));
        }
        for (const QString& text : absent) {
            QVERIFY2(!file.contains(text), qPrintable(text + QStringLiteral(" in\n") + file));
        }
    }

    // A plan "&Deploy" would refuse gives no file: the same message, the same focus.
    void refusedCommandsAreDeploysRefusal() {
        PlannerWindow w;
        qpx::test::Type(w.dialog.get(), qpx::planning::kCellsBoxId, QStringLiteral("9999"));
        w.deploy();
        const qpx::test::OkFailure deployed = qpx::test::FailureShown(w.dialog.get(), w.messages);
        QCOMPARE(w.open(DeploymentDialog::kSaveCommandsId, {}), 0u);
        const qpx::test::OkFailure saved = qpx::test::FailureShown(w.dialog.get(), w.messages);
        QCOMPARE(saved.message, deployed.message);
        QCOMPARE(saved.focusId, qpx::planning::kCellsBoxId);
        QCOMPARE(saved.selected, deployed.selected);
    }

    // While an exchange runs they do nothing (an accessibility press gets past the input it holds
    // back). Their labels are the ones the user guide and scripts driving the window know.
    void fileButtonsKeepToTheWindowsRules() {
        PlannerWindow w;
        QCOMPARE(w.button(DeploymentDialog::kSavePlanId)->text(), QStringLiteral("Save &Plan..."));
        QCOMPARE(w.button(DeploymentDialog::kOpenPlanId)->text(), QStringLiteral("&Open Plan..."));
        QCOMPARE(w.button(DeploymentDialog::kSaveCommandsId)->text(),
                 QStringLiteral("Save &Commands..."));
        const qpx::ui::InstrumentExchange exchange;
        for (const int id : {DeploymentDialog::kSavePlanId, DeploymentDialog::kOpenPlanId,
                             DeploymentDialog::kSaveCommandsId}) {
            w.button(id)->click();
        }
        QVERIFY(w.shownIds.empty());
        QVERIFY(w.messages.entries.empty());
    }
};

QPX_GUI_TEST(PlanFilesTest)
#include "PlanFilesTest.moc"
