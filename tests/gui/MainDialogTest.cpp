#include "ui/MainDialog.h"

#include "gui/GuiTestRegistry.h"
#include "link/VirtualClock.h"
#include "support/KeptProgressViews.h"
#include "support/RecordingMessageSink.h"
#include "support/SimulatedPortOpener.h"
#include "support/TempDir.h"
#include "ui/AboutDialog.h"
#include "ui/CommunicationsDialog.h"
#include "ui/HelpFile.h"
#include "ui/MenuProgram.h"
#include "ui/TemplateId.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>

namespace {

using qpx::ui::MainDialog;

// Plays the planner: records what it was given and cancels.
class CancellingFrontEnd : public qpx::operations::ConnectedSetupFrontEnd {
public:
    explicit CancellingFrontEnd(std::vector<int>& units) : units_(units) {}
    std::optional<qpx::planning::AcceptedPlan>
    runPlanner(const qpx::planning::PlannerInputs& inputs, qpx::link::Link&) override {
        units_.push_back(inputs.unitSystem);
        return std::nullopt;
    }
    void runDisplay(qpx::operations::DeploymentDisplay&) override {}

private:
    std::vector<int>& units_;
};

struct Program {
    Program() : opener(clock) {
        setup.messages = &messages;
        setup.progress = &views;
        setup.makeFrontEnd = [this](QWidget*, qpx::planning::DeploymentPlanner&, qpx::link::Clock&,
                                    qpx::link::MessageSink&) {
            return std::make_unique<CancellingFrontEnd>(plannerUnits);
        };
        setup.runPlanning = [this](QWidget*, qpx::planning::DeploymentPlanner&, int unitSystem,
                                   qpx::link::MessageSink&) {
            planningUnits.push_back(unitSystem);
        };
    }
    MainDialog& make() {
        dialog = std::make_unique<MainDialog>(opener, clock, setup);
        return *dialog;
    }
    template <typename T>
    T* control(int id) const {
        return qobject_cast<T*>(qpx::ui::FindByTemplateId(dialog.get(), id));
    }

    qpx::link::VirtualClock clock;
    qpx::test::SimulatedPortOpener opener;
    qpx::test::RecordingMessageSink messages;
    qpx::test::KeptProgressViews views;
    qpx::ui::MainDialogSetup setup;
    std::vector<int> plannerUnits;
    std::vector<int> planningUnits;
    std::unique_ptr<MainDialog> dialog;
};

class MainDialogTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithTitleTextsAndMetric() {
        Program p;
        MainDialog& dialog = p.make();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Kelvra QPX Deployment v1.70"));
        QCOMPARE(p.control<QPushButton>(1013)->text(), QStringLiteral("Set up a Connected System"));
        QCOMPARE(p.control<QPushButton>(1014)->text(),
                 QStringLiteral("Plan a Deployment (No System is required)"));
        QCOMPARE(p.control<QRadioButton>(1008)->text(), QStringLiteral("&English"));
        QCOMPARE(p.control<QRadioButton>(1007)->text(), QStringLiteral("&Metric"));
        QCOMPARE(p.control<QGroupBox>(1009)->title(), QStringLiteral("Unit System: "));
        QCOMPARE(p.control<QPushButton>(1)->text(), QStringLiteral("&Close"));
        QVERIFY(p.control<QPushButton>(1)->isDefault());
        QCOMPARE(p.control<QPushButton>(57670)->text(), QStringLiteral("&Help"));
        QVERIFY(p.control<QRadioButton>(1007)->isChecked());
        QCOMPARE(dialog.unitSystem(), 1);
        QVERIFY(!dialog.windowIcon().isNull());
        // The five colour controls sit on the window's white.
        for (int id : {1013, 1014, 1008, 1007, 1009})
            QCOMPARE(qpx::ui::FindByTemplateId(&dialog, id)->palette().color(QPalette::Window),
                     QColor(Qt::white));
    }

    void enterAnywhereShowsTheConnectionWindowAndNeverCloses() {
        Program p;
        MainDialog& dialog = p.make();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int id : {1, 1014, 1008}) {
            QWidget* focused = qpx::ui::FindByTemplateId(&dialog, id);
            focused->setFocus();
            QTest::keyClick(focused, Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.result(), 0);
            QVERIFY(dialog.communicationsDialog() != nullptr);
            QVERIFY(dialog.communicationsDialog()->isVisible());
            dialog.communicationsDialog()->hide();
        }
        QTest::keyClick(&dialog, Qt::Key_Enter);
        QVERIFY(dialog.communicationsDialog()->isVisible());
        QVERIFY(p.plannerUnits.empty());
        QVERIFY(p.planningUnits.empty());
    }

    void escapeClosesAndTakesTheConnectionWindowAlong() {
        Program p;
        MainDialog& dialog = p.make();
        dialog.show();
        dialog.setUpConnectedSystem();
        QPointer<qpx::ui::CommunicationsDialog> communications = dialog.communicationsDialog();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        p.dialog.reset();
        QVERIFY(communications.isNull());
    }

    void secondSearchReusesTheWindowCentredFromTheLastSuccess() {
        Program p;
        p.opener.instruments[4] = qpx::sim::QpxScenario();
        p.opener.instruments[4].baudRate = 19200;
        MainDialog& dialog = p.make();
        dialog.setGeometry(200, 150, 500, 300);
        dialog.show();
        dialog.setUpConnectedSystem();
        qpx::ui::CommunicationsDialog* first = dialog.communicationsDialog();
        QCOMPARE(first->selectedPort(), 4); // COM1 cannot be opened: the first open port
        QCOMPARE(first->baudList()->currentText(), QStringLiteral("9600"));
        first->baudList()->setCurrentIndex(6);
        QVERIFY(first->go());
        QCOMPARE(dialog.connection().portIndex, 4);
        QCOMPARE(dialog.connection().baudRate, 19200);
        QCOMPARE(dialog.lastOutcome(), qpx::operations::ConnectedSetupOutcome::Cancelled);
        // The run closed the port and cleared the field.
        QCOMPARE(p.opener.lines.back().closes, 1);
        p.opener.instruments[0] = qpx::sim::QpxScenario();
        dialog.setUpConnectedSystem();
        QCOMPARE(dialog.communicationsDialog(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->selectedPort(), 4);
        QCOMPARE(first->baudList()->currentText(), QStringLiteral("19200"));
        // Centres round to whole pixels.
        const QPoint offset = first->geometry().center() - dialog.geometry().center();
        QVERIFY(offset.manhattanLength() <= 4);
    }

    void unitSystemIsTakenWhenAModeStarts_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("units");
        QTest::newRow("metric") << false << 1;
        QTest::newRow("english") << true << 0;
    }

    void unitSystemIsTakenWhenAModeStarts() {
        QFETCH(bool, english);
        QFETCH(int, units);
        Program p;
        p.opener.instruments[0] = qpx::sim::QpxScenario();
        MainDialog& dialog = p.make();
        dialog.show();
        (english ? p.control<QRadioButton>(1008) : p.control<QRadioButton>(1007))->click();
        p.control<QPushButton>(1014)->click();
        QCOMPARE(p.planningUnits, std::vector<int>{units});
        QCOMPARE(dialog.planningFlag(), 1);
        p.control<QPushButton>(1013)->click();
        QCOMPARE(dialog.planningFlag(), 0);
        QVERIFY(dialog.communicationsDialog()->go());
        QCOMPARE(p.plannerUnits, std::vector<int>{units});
    }

    void aboutBoxOpensModallyFromTheWindow() {
        Program p;
        MainDialog& dialog = p.make();
        QString title;
        bool modal = false;
        dialog.onAboutShown = [&](QDialog& box) {
            title = box.windowTitle();
            modal = box.isModal() && QApplication::activeModalWidget() == &box;
            box.accept();
        };
        auto* about = dialog.findChild<QPushButton*>(QStringLiteral("about"));
#ifdef _WIN32
        // Windows has the entry in the window's system menu, so there is no such button.
        QVERIFY(about == nullptr);
        dialog.showAbout();
#else
        QVERIFY(about != nullptr);
        QCOMPARE(about->text(), QStringLiteral("&About DeployQpx..."));
        about->click();
#endif
        QCOMPARE(title, QStringLiteral("About Kelvra QPX Deployment"));
        QVERIFY(modal);
    }

    void helpOpensTheGuideAtItsTopic() {
        qpx::test::TempDir folder;
        const QString programDir = QString::fromStdString(folder.path().string());
        qpx::test::RecordingMessageSink messages;
        std::vector<QUrl> opened;
        auto open = [&](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        // Missing: the message says where it was looked for.
        QVERIFY(!qpx::ui::OpenHelp(programDir, messages, open));
        QCOMPARE(messages.entries.size(), std::size_t{1});
        const QString expectedPath =
            QDir::toNativeSeparators(programDir + QStringLiteral("/deployqpx-help.html"));
        QVERIFY(QString::fromStdString(messages.entries[0].text).endsWith(expectedPath));
        QVERIFY(opened.empty());
        QFile guide(programDir + QStringLiteral("/deployqpx-help.html"));
        QVERIFY(guide.open(QIODevice::WriteOnly));
        guide.write("<html></html>");
        guide.close();
        QVERIFY(qpx::ui::OpenHelp(programDir, messages, open));
        QCOMPARE(opened.size(), std::size_t{1});
        QVERIFY(opened[0].isLocalFile());
        QCOMPARE(opened[0].fragment(), QStringLiteral("context-131200"));
        QCOMPARE(messages.entries.size(), std::size_t{1});
        // A guide no handler takes is reported too.
        QVERIFY(!qpx::ui::OpenHelp(programDir, messages, [](const QUrl&) { return false; }));
        QCOMPARE(messages.entries.size(), std::size_t{2});
    }

    void shippedGuideHasTheHelpTopic() {
        QFile guide(QStringLiteral(QPX_SOURCE_DIR "/docs/help/deployqpx-help.html"));
        QVERIFY(guide.open(QIODevice::ReadOnly));
        QVERIFY(guide.readAll().contains("id=\"context-131200\""));
    }

    void menuIsLookedForBesideTheProgramOnly() {
        qpx::test::TempDir program;
        qpx::test::TempDir elsewhere;
        auto makeExecutable = [](const std::filesystem::path& path) {
            std::ofstream(path) << "#!/bin/sh\n";
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        };
        const std::filesystem::path before = std::filesystem::current_path();
        makeExecutable(elsewhere.path() / "Menu");
        std::filesystem::current_path(elsewhere.path());
        const auto found = qpx::ui::FindMenuProgram(program.path());
        const auto bare = qpx::ui::FindMenuProgram({});
        std::filesystem::current_path(before);
        // A "Menu" in the folder the user started from must not run.
        QVERIFY(!found);
        QVERIFY(!bare);
#ifndef _WIN32
        std::ofstream(program.path() / "Menu") << "not executable\n";
        QVERIFY(!qpx::ui::FindMenuProgram(program.path()));
        std::filesystem::remove(program.path() / "Menu");
        makeExecutable(program.path() / "Menu");
        QCOMPARE(qpx::ui::FindMenuProgram(program.path()), program.path() / "Menu");
        std::filesystem::remove(program.path() / "Menu");
        std::filesystem::create_directory(program.path() / "Menu");
        QVERIFY(!qpx::ui::FindMenuProgram(program.path()));
#endif
        // Nothing to chain to: the call returns and the program ends normally.
        qpx::ui::ChainToMenuProgram(elsewhere.path() / "missing");
    }
};

} // namespace

QPX_GUI_TEST(MainDialogTest)
#include "MainDialogTest.moc"
