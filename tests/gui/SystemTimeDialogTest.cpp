#include "ui/SystemTimeDialog.h"

#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "instrument/DeploymentRecord.h"
#include "link/CalendarMath.h"
#include "platform/TextFile.h"
#include "sim/SimulatedLine.h"
#include "support/RecordingMessageSink.h"
#include "ui/DeploymentDialog.h"

#include <QAccessible>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

namespace {

using qpx::test::Control;
using qpx::ui::SystemTimeDialog;
using Planner = qpx::planning::DeploymentPlanner;
namespace ops = qpx::instrument;

struct Bench {
    explicit Bench(bool connected = true) {
        inputs.planning = !connected;
        dialog.setLink(connected ? &link : nullptr);
        dialog.setDialogHook([this](QDialog& shown) {
            if (auto* time = qobject_cast<SystemTimeDialog*>(&shown)) {
                ++shownCount;
                if (act)
                    act(*time);
            } else if (other) {
                other(shown);
            }
            if (shown.isVisible())
                shown.reject();
        });
        dialog.load(inputs, {});
    }
    void open() { Control<QPushButton>(&dialog, Planner::kSystemTimeButtonId)->click(); }
    std::vector<std::string> lastTwo() {
        const auto& lines = line.instrument().transcript();
        return {lines.end() - 2, lines.end()};
    }

    qpx::sim::SimulatedLine line;
    qpx::test::RecordingMessageSink messages;
    qpx::link::Link link = line.link(messages);
    Planner planner;
    qpx::ui::DeploymentDialog dialog{nullptr, planner, messages};
    qpx::planning::PlannerInputs inputs = qpx::test::ConnectedInputs();
    std::function<void(SystemTimeDialog&)> act;
    std::function<void(QDialog&)> other; // the dialogs the System Time window opens
    int shownCount = 0;
};

QString Label(QWidget* root, int id) {
    return Control<QLabel>(root, id)->text();
}

} // namespace

class SystemTimeDialogTest : public QObject {
    Q_OBJECT
private slots:
    void disabledInPlanningMode() {
        Bench b(false);
        QVERIFY(!Control<QPushButton>(&b.dialog, Planner::kSystemTimeButtonId)->isEnabled());
    }

    void showsBothClocksAndTheirDifference() {
        Bench b;
        // The simulated instrument's clock starts at 2001/07/04 09:05:00; the computer is one
        // day, one hour, one minute and one second ahead of it.
        b.line.clock().setLocalTime({2001, 7, 5, 10, 6, 1});
        b.act = [&](SystemTimeDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("System Time"));
            QCOMPARE(Label(&d, ops::kDifferenceTextId), QStringLiteral("       1 01:01:01"));
            QVERIFY(
                Label(&d, ops::kSystemTimeTextId).startsWith(QStringLiteral("2001/07/04 09:05")));
            QVERIFY(
                Label(&d, ops::kComputerTimeTextId).startsWith(QStringLiteral("2001/07/05 10:06")));
            auto* control = Control<QDateTimeEdit>(&d, ops::kDateTimePlaceholderId);
            QCOMPARE(control->displayFormat(), QStringLiteral("yyyy'/'MM'/'dd',  'HH':'mm':'ss"));
            QVERIFY(Control<QRadioButton>(&d, ops::kAutoRadioId)->isChecked());
            QVERIFY(!control->isEnabled());
        };
        const std::size_t before = b.line.instrument().transcript().size();
        b.open();
        QCOMPARE(b.shownCount, 1);
        // Cancel: only the reading went out.
        const auto& lines = b.line.instrument().transcript();
        QCOMPARE(lines.back(), std::string("Time"));
        QVERIFY(lines.size() > before);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void manualSettingSendsTheControlsTime() {
        Bench b;
        b.act = [&](SystemTimeDialog& d) {
            Control<QRadioButton>(&d, ops::kManualRadioId)->click();
            auto* control = Control<QDateTimeEdit>(&d, ops::kDateTimePlaceholderId);
            QVERIFY(control->isEnabled());
            control->setDateTime(QDateTime(QDate(2001, 7, 4), QTime(9, 5, 30)));
            Control<QPushButton>(&d, SystemTimeDialog::kOkId)->click();
        };
        b.open();
        b.line.clock().sleepMs(500);
        QVERIFY(b.lastTwo() == (std::vector<std::string>{"Date 2001/07/04", "Time 09:05:31"}));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // An accessibility tool's toggle sets the checked state without a click; every way of
    // choosing gives the same mode, and OK in Manual sends the control's time.
    void everyWayOfChoosingTheModeCounts_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("click") << 0;
        QTest::newRow("accessibility toggle") << 1;
        QTest::newRow("checked state") << 2;
    }
    void everyWayOfChoosingTheModeCounts() {
        QFETCH(int, way);
        const auto choose = [way](QRadioButton* radio) {
            QAccessibleActionInterface* actions =
                QAccessible::queryAccessibleInterface(radio)->actionInterface();
            switch (way) {
            case 0:
                radio->click();
                break;
            case 1:
                QVERIFY(
                    actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
                actions->doAction(QAccessibleActionInterface::toggleAction());
                break;
            default:
                radio->setChecked(true);
            }
            QVERIFY(radio->isChecked());
        };
        Bench b;
        b.act = [&](SystemTimeDialog& d) {
            auto* manual = Control<QRadioButton>(&d, ops::kManualRadioId);
            auto* control = Control<QDateTimeEdit>(&d, ops::kDateTimePlaceholderId);
            choose(manual);
            QVERIFY(control->isEnabled());
            choose(Control<QRadioButton>(&d, ops::kAutoRadioId));
            QVERIFY(!control->isEnabled());
            choose(manual);
            QVERIFY(control->isEnabled());
            control->setDateTime(QDateTime(QDate(2001, 7, 4), QTime(9, 5, 30)));
            Control<QPushButton>(&d, SystemTimeDialog::kOkId)->click();
        };
        b.open();
        b.line.clock().sleepMs(500);
        QVERIFY(b.lastTwo() == (std::vector<std::string>{"Date 2001/07/04", "Time 09:05:31"}));
    }

    // The reading shown is kept, with the drift since a deployment record of the instrument;
    // nothing more goes to the instrument.
    void savesTheClockCheckOfTheReadingShown() {
        Bench b;
        b.inputs.system.serialNumber = {'Q', 'P', 'X', '0', '0', '4', '2'};
        b.dialog.load(b.inputs, {});
        // The instrument's clock starts at 09:05:00: two minutes behind the computer's.
        b.line.clock().setLocalTime({2001, 7, 4, 9, 7, 0});
        b.line.clock().setUtcOffsetSeconds(3600);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const std::filesystem::path root(folder.path().toStdString());
        qpx::instrument::DeploymentRecord deployed;
        deployed.serialNumber = "QPX0042";
        const qpx::link::CalendarTime then{2001, 6, 4, 9, 0, 0};
        deployed.clock = qpx::planning::ClockReading{then, 3600, qpx::link::AddSeconds(then, -100)};
        const auto deploymentPath = root / "QPX0042_deploy.json";
        QCOMPARE(qpx::platform::SaveFileReplacing(
                     deploymentPath, qpx::instrument::FormatDeploymentRecordJson(deployed)),
                 std::string());

        QStringList files{folder.path(), QString::fromStdString(deploymentPath.string())};
        QString told;
        b.other = [&](QDialog& shown) {
            if (auto* dialog = qobject_cast<QFileDialog*>(&shown)) {
                QVERIFY(!files.isEmpty());
                auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(edit != nullptr);
                edit->setText(files.takeFirst());
                QTest::keyClick(edit, Qt::Key_Return);
            } else if (auto* box = qobject_cast<QMessageBox*>(&shown)) {
                if (box->button(QMessageBox::Yes) != nullptr) {
                    QCOMPARE(box->text(), QStringLiteral("Compare with a deployment record?"));
                    box->button(QMessageBox::Yes)->click();
                } else {
                    told = box->text();
                    box->accept();
                }
            }
        };
        b.act = [&](SystemTimeDialog& d) {
            QPushButton* save = nullptr;
            for (auto* button : d.findChildren<QPushButton*>()) {
                if (button->accessibleName() == QStringLiteral("Save Clock Check..."))
                    save = button;
            }
            QVERIFY(save != nullptr);
            save->click();
        };
        const std::size_t before = b.line.instrument().transcript().size();
        b.open();
        QVERIFY(files.isEmpty());
        QVERIFY2(told.contains(QStringLiteral(".txt and .json")), qPrintable(told));
        QCOMPARE(b.line.instrument().transcript().back(), std::string("Time"));
        QVERIFY(b.line.instrument().transcript().size() > before);

        std::filesystem::path json;
        for (const auto& entry : std::filesystem::directory_iterator(root)) {
            if (entry.path().filename().string().ends_with("_clock.json"))
                json = entry.path();
        }
        QVERIFY(json.filename().string().starts_with("QPX0042_20010704T08"));
        QVERIFY(std::filesystem::exists(std::filesystem::path(json).replace_extension(".txt")));
        const auto record = nlohmann::json::parse(
            qpx::platform::ReadFileBounded(json, 65536).contents.value_or(""), nullptr, false);
        QVERIFY(!record.is_discarded());
        // The instrument and computer times of the window, as "yyyy/mm/dd hh:mm:ss".
        const auto seconds = [](const std::string& text) {
            qpx::link::CalendarTime t;
            std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour,
                        &t.minute, &t.second);
            return qpx::link::SecondsFromCalendar(t);
        };
        const std::int64_t offset = record["offsetSeconds"];
        QCOMPARE(offset,
                 seconds(record["instrumentTime"]) - seconds(record["computerTime"]["local"]));
        QVERIFY(offset <= -115 && offset >= -125);
        QCOMPARE(record["serialNumber"].get<std::string>(), std::string("QPX0042"));
        QCOMPARE(record["drift"]["driftSeconds"].get<std::int64_t>(), offset + 100);
        QCOMPARE(record["drift"]["deploymentRecord"].get<std::string>(),
                 std::string("QPX0042_deploy.json"));
        // The planner keeps the reading for the deployment record.
        QVERIFY(b.planner.clockReading());
        QCOMPARE(b.planner.clockReading()->utcOffsetSeconds, 3600);
        QCOMPARE(qpx::instrument::ClockOffsetSeconds(*b.planner.clockReading()), offset);
    }

    void autoSettingSendsTheComputersTime() {
        Bench b;
        b.line.clock().setLocalTime({2010, 2, 3, 4, 5, 6});
        b.act = [&](SystemTimeDialog& d) {
            Control<QPushButton>(&d, SystemTimeDialog::kOkId)->click();
        };
        b.open();
        b.line.clock().sleepMs(500);
        const auto last = b.lastTwo();
        QCOMPARE(last[0], std::string("Date 2010/02/03"));
        QVERIFY(QString::fromStdString(last[1]).startsWith(QStringLiteral("Time 04:05:")));
        // The clock set, the reading from before no longer holds; nothing reads it again.
        QVERIFY(!b.planner.clockReading());
    }
};

QPX_GUI_TEST(SystemTimeDialogTest)
#include "SystemTimeDialogTest.moc"
