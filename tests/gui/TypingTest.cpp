// Typing into the checked boxes key by key, as a user does: a live check that refuses an
// intermediate text ("0" on the way to "0.5") shows its message and leaves the box as typed, so
// the next keys land where the user expects; the model holds the last accepted value, and OK or
// "&Deploy" judges the text the box shows.

#include "gui/GuiTestRegistry.h"
#include "gui/SubDialogDriver.h"
#include "planning/AdvancedSettings.h"
#include "planning/DeploymentValidation.h"
#include "planning/ProfileAssistant.h"
#include "planning/WavesSettings.h"
#include "ui/ProfileAssistantDialog.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

namespace {

using qpx::test::Control;
using qpx::test::PlannerWindow;
using Planner = qpx::planning::DeploymentPlanner;
namespace ids = qpx::planning;

// Clears the box and types `text` into it one key at a time.
void TypeKeys(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    for (const QChar key : text) {
        QTest::keyClicks(box, QString(key));
    }
}

// What the planner holds for a box (its last accepted value).
using Held = float (*)(const Planner&);
float Averaging(const Planner& p) {
    return p.averagingInterval();
}
float Profiling(const Planner& p) {
    return p.profilingInterval();
}
float Cells(const Planner& p) {
    return static_cast<float>(p.cells());
}
float CellSize(const Planner& p) {
    return p.cellSize();
}
float Blanking(const Planner& p) {
    return p.blanking();
}
float Packs(const Planner& p) {
    return static_cast<float>(p.batteryPacks());
}

// A planner box typed into (1500 kHz, metric: 120 / 1200 s, 20 cells of 1 m, blanking 0.4 m,
// one pack). `messages` live-check messages come on the way; then the planner holds `held`, and
// "&Deploy" shows `deploy` (empty: the plan passes).
struct PlannerRow {
    const char* name;
    int id;
    const char* typed;
    Held value;
    const char* liveMessage;
    int messages;
    float held;
    const char* deploy;
};

constexpr const char* kAveragingLive = "Averaging Interval must be greater than 0.";
constexpr const char* kProfilingLive = "Profiling Interval must be greater than 0.";
constexpr const char* kCellsLive = "Number of Cells must be greater than 0.";
constexpr const char* kCellSizeLive = "Cell Size must be greater than 0.";
constexpr const char* kBlankingLive = "Blanking Distance must be greater than 0.";
constexpr const char* kPacksLive = "Number of Battery Packs must be greater than 0.";
constexpr const char* kAveragingRange = "The averaging interval should be between 1 and 43200 "
                                        "seconds";
constexpr const char* kProfilingRange = "The profiling interval should be between 1 and 43200 "
                                        "seconds";
constexpr const char* kCellsWhole = "Please enter a whole number for the Number of Cells.";
constexpr const char* kPacksWhole = "Please enter a whole number for the Number of Battery Packs.";

const std::vector<PlannerRow> kPlannerRows{
    // "0" and "0." read as 0; "0.3" is the first text a float box accepts.
    {"averaging 0.35", ids::kAveragingBoxId, "0.35", Averaging, kAveragingLive, 2, 0.35f,
     kAveragingRange},
    {"averaging 0.5", ids::kAveragingBoxId, "0.5", Averaging, kAveragingLive, 2, 0.5f,
     kAveragingRange},
    {"averaging -", ids::kAveragingBoxId, "-", Averaging, kAveragingLive, 1, 120.0f,
     "Please enter a number for the Averaging Interval."},
    {"averaging .", ids::kAveragingBoxId, ".", Averaging, kAveragingLive, 1, 120.0f,
     "Please enter a number for the Averaging Interval."},
    {"profiling 0.35", ids::kProfilingBoxId, "0.35", Profiling, kProfilingLive, 2, 0.35f,
     kProfilingRange},
    {"profiling 0.5", ids::kProfilingBoxId, "0.5", Profiling, kProfilingLive, 2, 0.5f,
     kProfilingRange},
    {"profiling -", ids::kProfilingBoxId, "-", Profiling, kProfilingLive, 1, 1200.0f,
     "Please enter a number for the Profiling Interval."},
    {"profiling .", ids::kProfilingBoxId, ".", Profiling, kProfilingLive, 1, 1200.0f,
     "Please enter a number for the Profiling Interval."},
    // An integer box reads every one of these texts as 0.
    {"cells 0.35", ids::kCellsBoxId, "0.35", Cells, kCellsLive, 4, 20.0f, kCellsWhole},
    {"cells 0.5", ids::kCellsBoxId, "0.5", Cells, kCellsLive, 3, 20.0f, kCellsWhole},
    {"cells -", ids::kCellsBoxId, "-", Cells, kCellsLive, 1, 20.0f, kCellsWhole},
    {"cells .", ids::kCellsBoxId, ".", Cells, kCellsLive, 1, 20.0f, kCellsWhole},
    {"cell size 0.35", ids::kCellSizeBoxId, "0.35", CellSize, kCellSizeLive, 2, 0.35f, ""},
    {"cell size 0.5", ids::kCellSizeBoxId, "0.5", CellSize, kCellSizeLive, 2, 0.5f, ""},
    {"cell size -", ids::kCellSizeBoxId, "-", CellSize, kCellSizeLive, 1, 1.0f,
     "Please enter a number for the Cell Size."},
    {"cell size .", ids::kCellSizeBoxId, ".", CellSize, kCellSizeLive, 1, 1.0f,
     "Please enter a number for the Cell Size."},
    {"blanking 0.35", ids::kBlankingBoxId, "0.35", Blanking, kBlankingLive, 2, 0.35f,
     "Blanking Distance should be in the range of  0.40 to 29.75 m."},
    {"blanking 0.5", ids::kBlankingBoxId, "0.5", Blanking, kBlankingLive, 2, 0.5f, ""},
    {"blanking -", ids::kBlankingBoxId, "-", Blanking, kBlankingLive, 1, 0.4f,
     "Please enter a number for the Blanking Distance."},
    {"blanking .", ids::kBlankingBoxId, ".", Blanking, kBlankingLive, 1, 0.4f,
     "Please enter a number for the Blanking Distance."},
    {"packs 0.35", ids::kBatteryPacksBoxId, "0.35", Packs, kPacksLive, 4, 1.0f, kPacksWhole},
    {"packs 0.5", ids::kBatteryPacksBoxId, "0.5", Packs, kPacksLive, 3, 1.0f, kPacksWhole},
    {"packs -", ids::kBatteryPacksBoxId, "-", Packs, kPacksLive, 1, 1.0f, kPacksWhole},
    {"packs .", ids::kBatteryPacksBoxId, ".", Packs, kPacksLive, 1, 1.0f, kPacksWhole},
};

// A sub-dialog box typed into; then OK either closes the dialog or shows `ok` with the focus on
// the box and the typed text still in it.
struct SubDialogRow {
    const char* name;
    int button; // the planner button that opens the dialog
    int id;
    const char* typed;
    const char* ok; // empty: accepted
};

constexpr int kAdvanced = Planner::kAdvancedButtonId;
constexpr int kWaves = Planner::kWavesButtonId;
using qpx::planning::AdvancedSettings;
using qpx::planning::WavesSettings;
constexpr const char* kNotANumber = "Please enter a number.";

const std::vector<SubDialogRow> kSubDialogRows{
    {"temperature 0.35", kAdvanced, AdvancedSettings::kTemperatureId, "0.35", ""},
    {"temperature 0.5", kAdvanced, AdvancedSettings::kTemperatureId, "0.5", ""},
    {"temperature -", kAdvanced, AdvancedSettings::kTemperatureId, "-", kNotANumber},
    {"temperature .", kAdvanced, AdvancedSettings::kTemperatureId, ".", kNotANumber},
    {"salinity 0.35", kAdvanced, AdvancedSettings::kSalinityId, "0.35", ""},
    {"salinity 0.5", kAdvanced, AdvancedSettings::kSalinityId, "0.5", ""},
    {"salinity -", kAdvanced, AdvancedSettings::kSalinityId, "-", kNotANumber},
    {"salinity .", kAdvanced, AdvancedSettings::kSalinityId, ".", kNotANumber},
    // Burst mode is enabled for these rows, so an interval under a second is refused.
    {"burst interval 0.35", kAdvanced, AdvancedSettings::kBurstIntervalId, "0.35",
     "Burst Interval should be in the range of 1 to 43200."},
    {"burst interval -", kAdvanced, AdvancedSettings::kBurstIntervalId, "-", kNotANumber},
    {"profiles per burst 0.5", kAdvanced, AdvancedSettings::kProfilesPerBurstId, "0.5",
     "Please enter an integer."},
    {"profiles per burst .", kAdvanced, AdvancedSettings::kProfilesPerBurstId, ".",
     "Please enter an integer."},
    {"wave every 0.35", kWaves, WavesSettings::kRecordEveryId, "0.35",
     "Please enter an integer between 0 and 255."},
    {"wave every -", kWaves, WavesSettings::kRecordEveryId, "-",
     "Please enter an integer between 0 and 255."},
    {"wave every 24", kWaves, WavesSettings::kRecordEveryId, "24", ""},
    {"wave length 0.5", kWaves, WavesSettings::kLengthId, "0.5",
     "Please enter an integer between 1 and 4096."},
    {"wave length .", kWaves, WavesSettings::kLengthId, ".",
     "Please enter an integer between 1 and 4096."},
    {"wave length 512", kWaves, WavesSettings::kLengthId, "512", ""},
};

} // namespace

class TypingTest : public QObject {
    Q_OBJECT
private slots:
    void plannerBoxKeepsTheTypedText_data() {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < kPlannerRows.size(); ++i) {
            QTest::newRow(kPlannerRows[i].name) << static_cast<int>(i);
        }
    }
    void plannerBoxKeepsTheTypedText() {
        QFETCH(int, row);
        const PlannerRow& r = kPlannerRows[static_cast<std::size_t>(row)];
        PlannerWindow w;
        QLineEdit* box = Control<QLineEdit>(w.dialog.get(), r.id);
        TypeKeys(box, QString::fromUtf8(r.typed));
        QCOMPARE(box->text(), QString::fromUtf8(r.typed));
        QCOMPARE(w.messages.texts(),
                 std::vector<std::string>(static_cast<std::size_t>(r.messages), r.liveMessage));
        QCOMPARE(r.value(w.planner), r.held);

        // "&Deploy" judges what the box shows, never the older value the planner still holds.
        w.messages.entries.clear();
        w.deploy();
        if (*r.deploy == '\0') {
            QVERIFY(w.messages.entries.empty());
            QVERIFY(w.dialog->acceptedPlan().has_value());
            QCOMPARE(r.id == ids::kCellSizeBoxId ? w.dialog->acceptedPlan()->cellSize
                                                 : w.dialog->acceptedPlan()->blanking,
                     r.held);
        } else {
            QCOMPARE(w.messages.texts(), std::vector<std::string>{r.deploy});
            QVERIFY(!w.dialog->acceptedPlan());
            QCOMPARE(box->text(), QString::fromUtf8(r.typed));
        }
    }

    void subDialogBoxKeepsTheTypedText_data() {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < kSubDialogRows.size(); ++i) {
            QTest::newRow(kSubDialogRows[i].name) << static_cast<int>(i);
        }
    }
    void subDialogBoxKeepsTheTypedText() {
        QFETCH(int, row);
        const SubDialogRow& r = kSubDialogRows[static_cast<std::size_t>(row)];
        PlannerWindow w;
        QString afterTyping;
        QString afterOk;
        bool accepted = false;
        w.open(r.button, [&](QDialog& dialog) {
            if (r.button == kAdvanced) {
                // A user temperature (the default is the measured one, read-only) and bursts on,
                // so that every box of the dialog takes keys.
                qpx::test::Select(&dialog, AdvancedSettings::kTemperatureModeId, 0);
                qpx::test::Select(&dialog, AdvancedSettings::kBurstModeId, 1);
            }
            QLineEdit* box = Control<QLineEdit>(&dialog, r.id);
            TypeKeys(box, QString::fromUtf8(r.typed));
            afterTyping = box->text();
            qpx::test::Click(&dialog, 1);
            accepted = dialog.result() == QDialog::Accepted;
            afterOk = box->text();
        });
        QCOMPARE(afterTyping, QString::fromUtf8(r.typed));
        if (*r.ok == '\0') {
            QVERIFY(accepted);
        } else {
            QVERIFY(!accepted);
            QCOMPARE(w.messages.entries.back().text, std::string(r.ok));
            QCOMPARE(afterOk, QString::fromUtf8(r.typed));
        }
    }

    void assistantBoxKeepsTheTypedText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("cells"); // transferred; 0: nothing transferred
        QTest::newRow("0.35") << "0.35" << 2;
        QTest::newRow("0.5") << "0.5" << 2;
        QTest::newRow("-") << "-" << 0;
        QTest::newRow(".") << "." << 0;
    }
    void assistantBoxKeepsTheTypedText() {
        QFETCH(QString, typed);
        QFETCH(int, cells);
        PlannerWindow w;
        qpx::ui::ProfileAssistantDialog& assistant = w.dialog->assistant();
        assistant.show();
        QLineEdit* box =
            Control<QLineEdit>(&assistant, qpx::planning::ProfileAssistant::kMaximumRangeId);
        TypeKeys(box, typed);
        QCOMPARE(box->text(), typed);
        QCOMPARE(QString::fromStdString(w.planner.assistant().maximumRangeText()), typed);
        QVERIFY(w.messages.entries.empty());
        qpx::test::Click(&assistant, qpx::planning::ProfileAssistant::kTransferId);
        // Below the min blanking (0.4 m at 1500 kHz) the suggestion is 2 cells of 0.25 m.
        QCOMPARE(w.planner.cells(), cells == 0 ? 20 : cells);
        QCOMPARE(box->text(), typed);
        if (cells == 0) {
            QCOMPARE(w.messages.texts(), std::vector<std::string>{"Please enter a number."});
        }
    }
};

QPX_GUI_TEST(TypingTest)
#include "TypingTest.moc"
