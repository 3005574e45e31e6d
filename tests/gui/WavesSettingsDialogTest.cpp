#include "ui/WavesSettingsDialog.h"

#include "gui/GuiTestRegistry.h"
#include "gui/SubDialogDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

namespace {

using qpx::planning::WaveBlock;
using qpx::planning::WavesSettings;
using qpx::test::Control;
using qpx::test::PlannerWindow;
using qpx::test::Select;
using qpx::test::Type;
using qpx::ui::WavesSettingsDialog;
using Planner = qpx::planning::DeploymentPlanner;
using Edits = std::function<void(QDialog&)>;

void PressOk(QDialog& dialog) {
    Control<QPushButton>(&dialog, WavesSettingsDialog::kOkId)->click();
}

QString BoxText(QDialog& dialog, int id) {
    return Control<QLineEdit>(&dialog, id)->text();
}

// The planner with averaging 60 s and profiling 600 s: a series may last up to 525 s.
void ShortenIntervals(PlannerWindow& w) {
    qpx::test::PasteText(Control<QLineEdit>(w.dialog.get(), qpx::planning::kAveragingBoxId),
                         QStringLiteral("60"));
    qpx::test::PasteText(Control<QLineEdit>(w.dialog.get(), qpx::planning::kProfilingBoxId),
                         QStringLiteral("600"));
}

const char* const kDuration550 = "Duration of WaveSeries (550s) must be at least 15 sec less "
                                 "than\nProfiling Interval - Averaging Interval";

} // namespace

Q_DECLARE_METATYPE(Edits)

class WavesSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnlyWithTheWavesOption_data() {
        QTest::addColumn<bool>("planning");
        QTest::addColumn<int>("wavesOption");
        QTest::newRow("connected, none") << false << 0;
        QTest::newRow("connected, basic") << false << 1;
        QTest::newRow("connected, directional") << false << 2;
        QTest::newRow("planning, none") << true << 0;
        QTest::newRow("planning, directional") << true << 2;
    }
    void opensOnlyWithTheWavesOption() {
        QFETCH(bool, planning);
        QFETCH(int, wavesOption);
        auto inputs = qpx::test::ConnectedInputs(1, 1, wavesOption);
        inputs.planning = planning;
        PlannerWindow w(inputs);
        const bool offered = wavesOption != 0;
        QCOMPARE(w.button(Planner::kWavesButtonId)->isEnabled(), offered);
        QString title;
        QCOMPARE(w.open(Planner::kWavesButtonId, [&](QDialog& d) { title = d.windowTitle(); }),
                 std::size_t{offered ? 1u : 0u});
        if (offered) {
            QCOMPARE(w.shownIds.back(), WavesSettingsDialog::kTemplateId);
            QCOMPARE(title, QStringLiteral("Waves Settings"));
        }
        QVERIFY(w.messages.entries.empty());
    }

    // Nothing in this window has a unit; the texts are the same in either system.
    void showsItsValues_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<int>("wavesOption");
        QTest::addColumn<QStringList>("types");
        QTest::newRow("metric, basic") << 1 << 1 << QStringList{"     None", "    P Series"};
        QTest::newRow("English, directional")
            << 0 << 2 << QStringList{"     None", "    P Series", "PUV Series"};
    }
    void showsItsValues() {
        QFETCH(int, unitSystem);
        QFETCH(int, wavesOption);
        QFETCH(QStringList, types);
        PlannerWindow w(qpx::test::ConnectedInputs(unitSystem, 1, wavesOption));
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            QCOMPARE(BoxText(d, WavesSettings::kRecordEveryId), QStringLiteral("4"));
            QCOMPARE(BoxText(d, WavesSettings::kLengthId), QStringLiteral("1024"));
            QCOMPARE(BoxText(d, WavesSettings::kDurationId), QStringLiteral("  1024"));
            QVERIFY(Control<QLineEdit>(&d, WavesSettings::kDurationId)->isReadOnly());
            QCOMPARE(qpx::test::ComboEntries(&d, WavesSettings::kRateId),
                     QStringList({"     1 Hz", "     2 Hz", "     4 Hz"}));
            QCOMPARE(Control<QComboBox>(&d, WavesSettings::kRateId)->currentIndex(), 0);
            QCOMPARE(qpx::test::ComboEntries(&d, WavesSettings::kTypeId), types);
            // The defaults record a P series on basic systems, PUV on directional ones.
            QCOMPARE(Control<QComboBox>(&d, WavesSettings::kTypeId)->currentIndex(), wavesOption);
            const QStringList texts = qpx::test::AllTexts(&d);
            for (const char* text :
                 {"Waves Series Settings:", "(Note: A value of 0 will turn wave recording off)",
                  "Record Wave Series every", "profiles", "Wave Series Rate:",
                  "Wave Series Length:", "Wave Series Type:", "Wave Series Duration (s):"}) {
                QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
            }
        });
        QVERIFY(w.messages.entries.empty());
    }

    // A PUV series held by a basic system has no entry to show.
    void aTypeTheListLacksShowsNoSelection() {
        auto inputs = qpx::test::ConnectedInputs(1, 1, 1);
        inputs.user.waveOptions = 0x10;
        PlannerWindow w(inputs);
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            QCOMPARE(Control<QComboBox>(&d, WavesSettings::kTypeId)->currentIndex(), -1);
            PressOk(d);
        });
        QCOMPARE(w.planner.waveBlock().waveType, 2);
    }

    void durationFollowsLengthAndRate() {
        PlannerWindow w;
        ShortenIntervals(w);
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            // 1024 samples at 1 Hz no longer fit: said once, as the window opens.
            QCOMPARE(w.messages.texts(),
                     std::vector<std::string>{qpx::planning::WaveDurationMessage(1024)});
            w.messages.entries.clear();
            Select(&d, WavesSettings::kRateId, 1);
            QCOMPARE(BoxText(d, WavesSettings::kDurationId), QStringLiteral("   512"));
            QVERIFY(w.messages.entries.empty());
            Select(&d, WavesSettings::kRateId, 2);
            Type(&d, WavesSettings::kLengthId, QStringLiteral("1025"));
            QCOMPARE(BoxText(d, WavesSettings::kDurationId), QStringLiteral("   256"));
            // "0" changes nothing and says nothing.
            Type(&d, WavesSettings::kLengthId, QStringLiteral("0"));
            QCOMPARE(BoxText(d, WavesSettings::kDurationId), QStringLiteral("   256"));
            QVERIFY(w.messages.entries.empty());
            // 1100 samples at 2 Hz end too close to the next profile.
            Select(&d, WavesSettings::kRateId, 1);
            Type(&d, WavesSettings::kLengthId, QStringLiteral("1100"));
            QCOMPARE(BoxText(d, WavesSettings::kDurationId), QStringLiteral("   550"));
            const auto failure = qpx::test::FailureShown(&d, w.messages);
            QCOMPARE(failure.message, std::string(kDuration550));
            QCOMPARE(failure.focusId, WavesSettings::kLengthId);
            QCOMPARE(failure.selected, QStringLiteral("1100"));
            QVERIFY(d.isVisible());
        });
    }

    void recordingOffDisablesTheSeriesControls() {
        PlannerWindow w;
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            const int details[] = {WavesSettings::kRateId, WavesSettings::kLengthId,
                                   WavesSettings::kTypeId};
            Type(&d, WavesSettings::kRecordEveryId, QStringLiteral("0"));
            for (int id : details) {
                QVERIFY(!qpx::ui::FindByTemplateId(&d, id)->isEnabled());
            }
            Type(&d, WavesSettings::kRecordEveryId, QStringLiteral("2"));
            for (int id : details) {
                QVERIFY(qpx::ui::FindByTemplateId(&d, id)->isEnabled());
            }
            Type(&d, WavesSettings::kRecordEveryId, QStringLiteral("0"));
            PressOk(d);
        });
        // Off, but the series settings still go back as they were.
        QVERIFY((w.planner.waveBlock() == WaveBlock{0, 0, 1, 1024}));
    }

    void okRefusesValuesOutOfRange_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("every 256") << WavesSettings::kRecordEveryId << "256"
                                   << "Please enter an integer between 0 and 255.";
        QTest::newRow("every -1") << WavesSettings::kRecordEveryId << "-1"
                                  << "Please enter an integer between 0 and 255.";
        QTest::newRow("length 4097") << WavesSettings::kLengthId << "4097"
                                     << "Please enter an integer between 1 and 4096.";
        QTest::newRow("length x") << WavesSettings::kLengthId << "x"
                                  << "Please enter an integer between 1 and 4096.";
    }
    void okRefusesValuesOutOfRange() {
        QFETCH(int, id);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        PlannerWindow w;
        const WaveBlock before = w.planner.waveBlock();
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            Type(&d, id, typed);
            w.messages.entries.clear();
            PressOk(d);
            const auto failure = qpx::test::FailureShown(&d, w.messages);
            QCOMPARE(QString::fromStdString(failure.message), message);
            QCOMPARE(failure.focusId, id);
            QCOMPARE(failure.selected, typed);
            QVERIFY(d.isVisible());
        });
        QVERIFY(w.planner.waveBlock() == before);
    }

    void okHandsTheValuesBack() {
        PlannerWindow w(qpx::test::ConnectedInputs(1, 1, 2));
        const QString freeSpace = w.text(Planner::kFreeSpaceTextId);
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            Type(&d, WavesSettings::kRecordEveryId, QStringLiteral("1"));
            Select(&d, WavesSettings::kRateId, 2);
            Type(&d, WavesSettings::kLengthId, QStringLiteral("2048"));
            Select(&d, WavesSettings::kTypeId, 2);
            PressOk(d);
            QCOMPARE(d.result(), int(QDialog::Accepted));
        });
        const WaveBlock expected{1, 2, 2, 2048};
        QVERIFY(w.planner.waveBlock() == expected);
        // A PUV series of 2048 samples every profile instead of every fourth fills the card
        // sooner.
        QVERIFY(w.text(Planner::kFreeSpaceTextId) != freeSpace);
        w.deploy();
        QVERIFY(w.dialog->acceptedPlan().has_value());
        QVERIFY(w.dialog->acceptedPlan()->waves == expected);
    }

    void cancelKeepsThePlannersValues() {
        PlannerWindow w;
        const WaveBlock before = w.planner.waveBlock();
        const QString freeSpace = w.text(Planner::kFreeSpaceTextId);
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            Type(&d, WavesSettings::kRecordEveryId, QStringLiteral("1"));
            Type(&d, WavesSettings::kLengthId, QStringLiteral("2048"));
            qpx::test::Click(&d, WavesSettingsDialog::kCancelId);
        });
        QVERIFY(w.planner.waveBlock() == before);
        QCOMPARE(w.text(Planner::kFreeSpaceTextId), freeSpace);
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            QCOMPARE(BoxText(d, WavesSettings::kLengthId), QStringLiteral("1024"));
        });
    }

    // 5000 samples: the passed values already break the duration rule, which is said once the
    // window shows; OK then names the length the limits refuse.
    void aDownloadedSeriesTheLimitsRefuseIsShownAndRefused_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::newRow("metric") << 1;
        QTest::newRow("English") << 0;
    }
    void aDownloadedSeriesTheLimitsRefuseIsShownAndRefused() {
        QFETCH(int, unitSystem);
        PlannerWindow w(qpx::test::UnacceptableInputs(unitSystem));
        QCOMPARE(qpx::test::NonFiniteTexts(w.dialog.get()), QStringList());
        w.open(Planner::kWavesButtonId, [&](QDialog& d) {
            QCOMPARE(w.messages.texts(),
                     std::vector<std::string>{qpx::planning::WaveDurationMessage(5000)});
            QCOMPARE(qpx::test::NonFiniteTexts(&d), QStringList());
            QCOMPARE(BoxText(d, WavesSettings::kDurationId), QStringLiteral("  5000"));
            PressOk(d);
            const auto failure = qpx::test::FailureShown(&d, w.messages);
            QCOMPARE(failure.message, std::string("Please enter an integer between 1 and 4096."));
            QCOMPARE(failure.focusId, WavesSettings::kLengthId);
            QCOMPARE(failure.selected, QStringLiteral("5000"));
            QVERIFY(d.isVisible());
        });
        QCOMPARE(w.planner.waveBlock().length, 5000);
    }
};

QPX_GUI_TEST(WavesSettingsDialogTest)
#include "WavesSettingsDialogTest.moc"
