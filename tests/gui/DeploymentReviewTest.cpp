#include "gui/ConnectedProgram.h"
#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "planning/DeploymentValidation.h"
#include "sim/SimulatedLine.h"
#include "support/RecordingMessageSink.h"
#include "ui/CommunicationsDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentReviewDialog.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using qpx::test::Control;
using qpx::test::PasteText;
using qpx::test::Program;
using qpx::ui::DeploymentDialog;
using qpx::ui::DeploymentDisplayDialog;
using qpx::ui::DeploymentReviewDialog;
using Planner = qpx::planning::DeploymentPlanner;
using Lines = std::vector<std::string>;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines after the last wake-up: what the upload sent.
Lines AfterLastWakeUp(const Lines& received) {
    const auto wake = std::find(received.rbegin(), received.rend(), "Ver");
    return Lines(wake.base(), received.end());
}

Lines Std(const QStringList& texts) {
    Lines lines;
    for (const QString& text : texts) {
        lines.push_back(text.toStdString());
    }
    return lines;
}

// Every text, choice and date a planner window shows, and the texts its model holds.
QStringList PlannerState(DeploymentDialog& planner, const Planner& model) {
    QStringList state;
    for (const std::string& text :
         {model.cellSizeText(), model.blankingText(), model.cellsText(), model.averagingText(),
          model.profilingText(), model.batteryPacksText(), model.startDateTimeText()}) {
        state << QString::fromStdString(text);
    }
    for (auto* box : planner.findChildren<QLineEdit*>()) {
        state << box->text();
    }
    for (auto* combo : planner.findChildren<QComboBox*>()) {
        state << combo->currentText();
    }
    for (auto* date : planner.findChildren<QDateTimeEdit*>()) {
        state << date->dateTime().toString(Qt::ISODate);
    }
    for (auto* label : planner.findChildren<QLabel*>()) {
        state << label->text();
    }
    return state;
}

void Go(Program& p) {
    p.dialog->show();
    p.dialog->setUpConnectedSystem();
    QVERIFY(p.dialog->communicationsDialog()->go());
}

void CloseDisplay(QDialog& shown) {
    if (auto* display = qobject_cast<DeploymentDisplayDialog*>(&shown)) {
        Control<QPushButton>(display, DeploymentDisplayDialog::kOkId)->click();
    }
}

// A review on its own, over the simulated line, for a plan that starts tomorrow on an empty card
// (no warning until the planned duration raises one).
struct StandaloneReview {
    StandaloneReview() {
        qpx::planning::PlannerInputs inputs = qpx::test::ConnectedInputs();
        inputs.recorder.usedBytes = 0;
        line.clock().setLocalTime({2026, 3, 14, 10, 30, 0});
        planner.open(inputs);
        planner.setStartTime({2026, 3, 15, 8, 0, 0});
        auto accepted = planner.deploy();
        plan = *accepted.value;
    }
    qpx::sim::SimulatedLine line;
    qpx::test::RecordingMessageSink messages;
    qpx::link::Link link = line.link(messages);
    Planner planner;
    qpx::planning::AcceptedPlan plan;
    fs::path folder = "/records";
};

} // namespace

class DeploymentReviewTest : public QObject {
    Q_OBJECT
private slots:
    // Enter never starts an instrument past a warning, whichever control has the focus.
    void enterWithAWarningGoesBackAndSendsNothing_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("the window") << QString();
        QTest::newRow("Deploy") << QStringLiteral("Deploy");
        QTest::newRow("Check Clock") << QStringLiteral("Check Clock");
        QTest::newRow("Change Folder") << QStringLiteral("Change Folder");
        QTest::newRow("command lines") << QStringLiteral("Command lines");
    }
    void enterWithAWarningGoesBackAndSendsNothing() {
        QFETCH(QString, focus);
        Program p;
        p.answerReview = false;
        int reviews = 0;
        int others = 0;
        bool plannerStayed = false;
        p.onShown = [&](QDialog& shown) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&shown)) {
                // The simulator's start, 1995, is long past.
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                plannerStayed = planner->isVisible();
                planner->reject();
                return;
            }
            auto* review = qobject_cast<DeploymentReviewDialog*>(&shown);
            if (review == nullptr) {
                // A window the Enter opened (a folder dialog): the fault shows in the counts.
                ++others;
                shown.reject();
                return;
            }
            ++reviews;
            QVERIFY(!review->warningTexts().isEmpty());
            QVERIFY(review->warningTexts().first().startsWith(QStringLiteral("Warning: ")));
            QVERIFY(review->backButton()->isDefault() && !review->deployButton()->isDefault());
            QWidget* target = review;
            for (auto* widget : review->findChildren<QWidget*>()) {
                if (!focus.isEmpty() && widget->accessibleName() == focus) {
                    target = widget;
                }
            }
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            if (review->isVisible()) {
                review->deployButton()->click(); // what the fault would do anyway, to end
            }
        };
        Go(p);
        QCOMPARE(reviews, 1);
        QCOMPARE(others, 0);
        QVERIFY(plannerStayed);
        QCOMPARE(p.dialog->lastOutcome(), qpx::operations::ConnectedSetupOutcome::Cancelled);
        QCOMPARE(p.received().back(), std::string("bdir"));
        QVERIFY(!p.dialog->lastRecordFolder());
    }

    // "&Deploy" sends the lines the review listed; "Check &Clock" is the only exchange the review
    // adds, and only when pressed. The record lands in the chosen folder and says the same.
    void deployFromTheReview_data() {
        QTest::addColumn<bool>("checkClock");
        QTest::newRow("clock not checked") << false;
        QTest::newRow("clock checked") << true;
    }
    void deployFromTheReview() {
        QFETCH(bool, checkClock);
        Program p;
        p.answerReview = false;
        Lines listed;
        QString clockOffset;
        p.onShown = [&](QDialog& shown) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&shown)) {
                PasteText(Control<QLineEdit>(planner, qpx::planning::kCellsBoxId),
                          QStringLiteral("25"));
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                return;
            }
            if (auto* review = qobject_cast<DeploymentReviewDialog*>(&shown)) {
                QCOMPARE(review->folderLabel()->text(), qpx::ui::FolderText(p.records.path()));
                PasteText(review->plannedDurationBox(), QStringLiteral("20"));
                review->remarksBox()->setPlainText(QStringLiteral("Harbour mouth; A. Diver"));
                if (checkClock) {
                    review->checkClockButton()->click();
                    auto* offset = review->findChild<QLabel*>(QStringLiteral("clockOffset"));
                    QVERIFY(offset != nullptr);
                    clockOffset = offset->text();
                }
                listed = Std(review->commandTexts());
                review->deployButton()->click();
                return;
            }
            CloseDisplay(shown);
        };
        Go(p);
        QCOMPARE(p.dialog->lastOutcome(), qpx::operations::ConnectedSetupOutcome::Deployed);
        QVERIFY(std::find(listed.begin(), listed.end(), "nc 25") != listed.end());
        // The upload's lines as listed, then the "deploy" that starts the instrument.
        Lines sent = listed;
        sent.push_back("deploy");
        QCOMPARE(AfterLastWakeUp(p.received()), sent);
        const auto clockQueries = std::count(p.received().begin(), p.received().end(), "Date") +
                                  std::count(p.received().begin(), p.received().end(), "Time");
        QCOMPARE(clockQueries, checkClock ? 2 : 0);
        QCOMPARE(clockOffset.isEmpty(), !checkClock);

        QCOMPARE(p.dialog->lastRecordFolder(), std::optional<fs::path>(p.records.path()));
        fs::path json;
        for (const auto& entry : fs::directory_iterator(p.records.path())) {
            if (entry.path().extension() == ".json") {
                json = entry.path();
            }
        }
        QVERIFY(!json.empty());
        fs::path text = json;
        text.replace_extension(".txt");
        QVERIFY(fs::exists(text));
        const auto record = nlohmann::json::parse(ReadFile(json), nullptr, false);
        QVERIFY(!record.is_discarded());
        QCOMPARE(record["result"].get<std::string>(), std::string("deployed"));
        QCOMPARE(record["plannedCommands"].get<Lines>(), listed);
        QCOMPARE(record["plannedDurationDays"].get<std::string>(), std::string("20"));
        QCOMPARE(record["remarks"].get<std::string>(), std::string("Harbour mouth; A. Diver"));
        QCOMPARE(record["clockCheck"].is_null(), !checkClock);
        const std::string written = ReadFile(text);
        for (const std::string& line : listed) {
            QVERIFY2(written.find("  " + line + "  [") != std::string::npos, line.c_str());
        }

        // After the disconnect message: where the record is, and "Open &Folder" opens it.
        QCOMPARE(p.boxes.size(), std::size_t{2});
        QCOMPARE(p.boxes[0].title, QStringLiteral("QPX deployment"));
        const QString stem = QString::fromStdU16String(json.stem().u16string());
        QCOMPARE(p.boxes[1].text,
                 QStringLiteral("The deployment record is in\n%1\n%2.txt and .json")
                     .arg(qpx::ui::FolderText(p.records.path()), stem));
        QCOMPARE(p.boxes[1].openText, QStringLiteral("Open &Folder"));
        QCOMPARE(p.openedFolders, std::vector<fs::path>{p.records.path()});
    }

    // "&Back to Planner" finds the planner as it was (an English plan's lengths are not turned
    // into metres), and the review's own values wait there for the next "&Deploy".
    void backKeepsEveryValue() {
        Program p;
        p.answerReview = false;
        p.dialog->show();
        Control<QRadioButton>(p.dialog.get(), qpx::ui::MainDialog::kEnglishId)->click();
        int reviews = 0;
        QStringList before;
        QStringList after;
        QString durationSecondTime;
        std::vector<QStringList> commandsShown;
        QString remarksSecondTime;
        p.onShown = [&](QDialog& shown) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&shown)) {
                PasteText(Control<QLineEdit>(planner, qpx::planning::kCellSizeBoxId),
                          QStringLiteral("1.64"));
                before = PlannerState(*planner, p.dialog->planner());
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                after = PlannerState(*planner, p.dialog->planner());
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                return;
            }
            if (auto* review = qobject_cast<DeploymentReviewDialog*>(&shown)) {
                commandsShown.push_back(review->commandTexts());
                if (++reviews == 1) {
                    PasteText(review->plannedDurationBox(), QStringLiteral("12.5"));
                    review->remarksBox()->setPlainText(QStringLiteral("Mooring B"));
                    review->backButton()->click();
                    return;
                }
                durationSecondTime = review->plannedDurationBox()->text();
                remarksSecondTime = review->remarksBox()->toPlainText();
                review->deployButton()->click();
                return;
            }
            CloseDisplay(shown);
        };
        p.dialog->setUpConnectedSystem();
        QVERIFY(p.dialog->communicationsDialog()->go());
        QCOMPARE(reviews, 2);
        QVERIFY(before.contains(QStringLiteral("1.64")));
        QCOMPARE(after, before);
        // The plan that goes out is the one first reviewed, not one converted twice.
        QCOMPARE(commandsShown[1], commandsShown[0]);
        QCOMPARE(durationSecondTime, QStringLiteral("12.5"));
        QCOMPARE(remarksSecondTime, QStringLiteral("Mooring B"));
        QCOMPARE(p.dialog->lastOutcome(), qpx::operations::ConnectedSetupOutcome::Deployed);
    }

    // A records folder that cannot be written: the user hears why and picks another; cancelled,
    // the record still goes somewhere. Never no record.
    void unwritableRecordsFolder_data() {
        QTest::addColumn<bool>("pickAnother");
        QTest::newRow("another folder picked") << true;
        QTest::newRow("folder dialog cancelled") << false;
    }
    void unwritableRecordsFolder() {
        QFETCH(bool, pickAnother);
        Program p;
        qpx::test::TempDir other;
        // A folder under a plain file cannot be made, whoever runs the test.
        { std::ofstream(p.records.path() / "plain-file") << "x"; }
        const fs::path unwritable = p.records.path() / "plain-file" / "records";
        // The fallbacks begin with the current folder: a fresh one for this test.
        const QString savedCurrent = QDir::currentPath();
        QDir::setCurrent(QString::fromStdU16String(other.path().u16string()));
        const fs::path picked = other.path() / "picked";
        fs::create_directory(picked);
        QString folderDialogTitle;
        p.onShown = [&](QDialog& shown) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&shown)) {
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                return;
            }
            if (auto* chooser = qobject_cast<QFileDialog*>(&shown)) {
                folderDialogTitle = chooser->windowTitle();
                if (!pickAnother) {
                    chooser->reject();
                    return;
                }
                chooser->setDirectory(QString::fromStdU16String(picked.u16string()));
                static_cast<QDialog*>(chooser)->accept();
                return;
            }
            CloseDisplay(shown);
        };
        p.recordsFolder = unwritable;
        Go(p);
        QDir::setCurrent(savedCurrent);

        QCOMPARE(p.dialog->lastOutcome(), qpx::operations::ConnectedSetupOutcome::Deployed);
        QCOMPARE(folderDialogTitle, QStringLiteral("Folder for the Deployment Record"));
        QVERIFY(p.boxes.size() >= 3);
        QCOMPARE(p.boxes[0].icon, QMessageBox::Warning);
        QVERIFY2(p.boxes[0].text.startsWith(
                     QStringLiteral("The deployment record could not be saved:\n") +
                     qpx::ui::FolderText(unwritable)),
                 qPrintable(p.boxes[0].text));
        const fs::path expected = pickAnother ? picked : other.path();
        QVERIFY(p.dialog->lastRecordFolder().has_value());
        QVERIFY(fs::equivalent(*p.dialog->lastRecordFolder(), expected));
        QVERIFY(p.boxes.back().text.startsWith(QStringLiteral("The deployment record is in\n")));
        int records = 0;
        for (const auto& entry : fs::directory_iterator(expected)) {
            records += entry.path().extension() == ".json" || entry.path().extension() == ".txt";
        }
        QCOMPARE(records, 2);
    }

    // A run that failed part-way keeps its record too, and the main window says where it is.
    void failedUploadLeavesARecord() {
        Program p;
        qpx::sim::Scenario lost = qpx::sim::QpxScenario();
        lost.silence = qpx::sim::SilenceFault{-1, "SaveSetup"};
        p.opener.instruments[1] = lost;
        p.onShown = [](QDialog& shown) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&shown)) {
                Control<QPushButton>(planner, Planner::kDeployId)->click();
            }
        };
        Go(p);
        QCOMPARE(p.dialog->lastOutcome(), qpx::operations::ConnectedSetupOutcome::UploadFailed);
        QCOMPARE(p.dialog->lastRecordFolder(), std::optional<fs::path>(p.records.path()));
        fs::path json;
        for (const auto& entry : fs::directory_iterator(p.records.path())) {
            if (entry.path().extension() == ".json") {
                json = entry.path();
            }
        }
        const auto record = nlohmann::json::parse(ReadFile(json), nullptr, false);
        QVERIFY(!record.is_discarded());
        QCOMPARE(record["result"].get<std::string>(), std::string("the upload failed"));
        QVERIFY(!record["failure"]["step"].get<std::string>().empty());
        QCOMPARE(record["sent"].back()["command"].get<std::string>(), std::string("SaveSetup"));
        QVERIFY(!record["sent"].back()["succeeded"].get<bool>());
        QVERIFY(p.boxes.back().text.startsWith(QStringLiteral("The deployment record is in\n")));
    }

    // The default button follows the warnings each time the review is rebuilt; a refused
    // duration keeps the old one and says why.
    void defaultButtonFollowsTheWarnings_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<bool>("refused");
        QTest::newRow("none") << QString() << QString() << false << false;
        QTest::newRow("short") << QStringLiteral("2") << QStringLiteral("2") << false << false;
        QTest::newRow("beyond both estimates")
            << QStringLiteral("3000") << QStringLiteral("3000") << true << false;
        QTest::newRow("refused") << QStringLiteral("abc") << QString() << false << true;
    }
    void defaultButtonFollowsTheWarnings() {
        QFETCH(QString, typed);
        QFETCH(QString, shownAfter);
        QFETCH(bool, warned);
        QFETCH(bool, refused);
        StandaloneReview s;
        DeploymentReviewDialog review(nullptr, s.planner, s.plan, s.link, s.messages, &s.folder);
        QVERIFY(review.warningTexts().isEmpty());
        QVERIFY(review.deployButton()->isDefault());
        review.show();
        PasteText(review.plannedDurationBox(), typed);
        QTest::keyClick(review.plannedDurationBox(), Qt::Key_Return);
        // Enter in the box takes the value and presses nothing.
        QVERIFY(review.isVisible());
        QCOMPARE(review.plannedDurationBox()->text(), shownAfter);
        QCOMPARE(QString::fromStdString(s.planner.plannedDurationText()), shownAfter);
        QCOMPARE(!review.warningTexts().isEmpty(), warned);
        QCOMPARE(review.backButton()->isDefault(), warned);
        QCOMPARE(review.deployButton()->isDefault(), !warned);
        QCOMPARE(s.messages.entries.size(), std::size_t{refused ? 1u : 0u});
        // Nothing but "Check &Clock" talks to the instrument.
        QVERIFY(s.line.instrument().transcript().empty());
    }
};

QPX_GUI_TEST(DeploymentReviewTest)
#include "DeploymentReviewTest.moc"
