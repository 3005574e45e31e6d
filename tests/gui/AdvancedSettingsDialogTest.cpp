#include "ui/AdvancedSettingsDialog.h"

#include "gui/GuiTestRegistry.h"
#include "gui/SubDialogDriver.h"
#include "planning/PlanDeployment.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>

namespace {

using qpx::planning::AdvancedBlock;
using qpx::planning::AdvancedSettings;
using qpx::test::Control;
using qpx::test::PlannerWindow;
using qpx::test::Select;
using qpx::test::Type;
using qpx::ui::AdvancedSettingsDialog;
using Planner = qpx::planning::DeploymentPlanner;
using Edits = std::function<void(QDialog&)>;

constexpr int kUser = 0;
constexpr int kEnabled = 1;

void PressOk(QDialog& dialog) {
    // click(), not a mouse click: the focus stays in the box the test typed into, as it does when
    // the user presses Enter.
    Control<QPushButton>(&dialog, AdvancedSettingsDialog::kOkId)->click();
}

QString BoxText(QDialog& dialog, int id) {
    return Control<QLineEdit>(&dialog, id)->text();
}

} // namespace

Q_DECLARE_METATYPE(Edits)

class AdvancedSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensFromThePlannerInEitherMode_data() {
        QTest::addColumn<bool>("planning");
        QTest::newRow("connected") << false;
        QTest::newRow("planning") << true;
    }
    void opensFromThePlannerInEitherMode() {
        QFETCH(bool, planning);
        auto inputs = qpx::test::ConnectedInputs(1, 1, 0);
        inputs.planning = planning;
        PlannerWindow w(inputs);
        QVERIFY(w.button(Planner::kAdvancedButtonId)->isEnabled());
        QString title;
        QCOMPARE(w.open(Planner::kAdvancedButtonId, [&](QDialog& d) { title = d.windowTitle(); }),
                 std::size_t{1});
        QCOMPARE(w.shownIds.back(), AdvancedSettingsDialog::kTemplateId);
        QCOMPARE(title, QStringLiteral("Advanced Settings"));
        QVERIFY(w.messages.entries.empty());
    }

    // The defaults: 20.0 degC, 34.5 ppt, measured temperature, bursts disabled.
    void showsItsValuesInEitherUnitSystem_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<QString>("temperatureLabel");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("speedLabel");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("speedAt35ppt");
        QTest::newRow("metric") << 1 << "Def Water Temp (deg C):"
                                << "20"
                                << "Def Speed of Sound (m/s):"
                                << "   1520.95"
                                << "   1521.52";
        QTest::newRow("English") << 0 << "Def Water Temp (deg F):"
                                 << "68"
                                 << "Def Speed of Sound (ft/s):"
                                 << "   4989.99"
                                 << "   4991.86";
    }
    void showsItsValuesInEitherUnitSystem() {
        QFETCH(int, unitSystem);
        QFETCH(QString, temperatureLabel);
        QFETCH(QString, temperature);
        QFETCH(QString, speedLabel);
        QFETCH(QString, speed);
        QFETCH(QString, speedAt35ppt);
        PlannerWindow w(qpx::test::ConnectedInputs(unitSystem));
        w.open(Planner::kAdvancedButtonId, [&](QDialog& d) {
            auto label = [&](int id) { return Control<QLabel>(&d, id)->text(); };
            QCOMPARE(label(AdvancedSettings::kTemperatureLabelId), temperatureLabel);
            QCOMPARE(label(AdvancedSettings::kSoundSpeedLabelId), speedLabel);
            QCOMPARE(BoxText(d, AdvancedSettings::kTemperatureId), temperature);
            QCOMPARE(BoxText(d, AdvancedSettings::kSalinityId), QStringLiteral("34.5"));
            QCOMPARE(BoxText(d, AdvancedSettings::kSoundSpeedId), speed);
            QCOMPARE(BoxText(d, AdvancedSettings::kBurstIntervalId), QStringLiteral("1200"));
            QCOMPARE(BoxText(d, AdvancedSettings::kProfilesPerBurstId), QStringLiteral("1"));
            QCOMPARE(qpx::test::ComboEntries(&d, AdvancedSettings::kTemperatureModeId),
                     QStringList({"     User", " Measured"}));
            QCOMPARE(qpx::test::ComboEntries(&d, AdvancedSettings::kBurstModeId),
                     QStringList({" DISABLED", "  ENABLED"}));
            QCOMPARE(Control<QComboBox>(&d, AdvancedSettings::kBurstModeId)->currentIndex(), 0);
            const QStringList texts = qpx::test::AllTexts(&d);
            for (const char* text : {"Sound Speed Settings:", "Configure Burst Mode: ",
                                     "Def Water Salinity (ppt):", "Temperature Mode:",
                                     "Burst Mode:", "Burst Interval (s):", "Profiles Per Burst:"}) {
                QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
            }
            QVERIFY(Control<QLineEdit>(&d, AdvancedSettings::kSoundSpeedId)->isReadOnly());

            // Enabling: a measured temperature cannot be typed, burst edits only with bursts.
            auto* temperatureBox = Control<QLineEdit>(&d, AdvancedSettings::kTemperatureId);
            auto* interval = Control<QLineEdit>(&d, AdvancedSettings::kBurstIntervalId);
            auto* profiles = Control<QLineEdit>(&d, AdvancedSettings::kProfilesPerBurstId);
            QVERIFY(temperatureBox->isReadOnly());
            QVERIFY(!interval->isEnabled() && !profiles->isEnabled());
            Select(&d, AdvancedSettings::kTemperatureModeId, kUser);
            Select(&d, AdvancedSettings::kBurstModeId, kEnabled);
            QVERIFY(!temperatureBox->isReadOnly());
            QVERIFY(interval->isEnabled() && profiles->isEnabled());

            // Leaving the salinity box works the speed out again.
            Type(&d, AdvancedSettings::kSalinityId, QStringLiteral("35"));
            QTest::keyClick(Control<QLineEdit>(&d, AdvancedSettings::kSalinityId), Qt::Key_Return);
            QCOMPARE(BoxText(d, AdvancedSettings::kSoundSpeedId), speedAt35ppt);
        });
        QVERIFY(w.messages.entries.empty());
    }

    void okRefusesTheFirstFailingValue_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focusId");
        QTest::addColumn<QString>("selected");
        const auto typed = [](int id, const char* text, bool bursts = false) {
            return Edits([=](QDialog& d) {
                Select(&d, AdvancedSettings::kTemperatureModeId, kUser);
                if (bursts) {
                    Select(&d, AdvancedSettings::kBurstModeId, kEnabled);
                }
                Type(&d, id, QString::fromUtf8(text));
            });
        };
        QTest::newRow("50.1 degC") << 1 << typed(AdvancedSettings::kTemperatureId, "50.1")
                                   << "Water Temperature should be in the range of  -5.0 to  "
                                      "50.0 deg C."
                                   << AdvancedSettings::kTemperatureId << "50.1";
        QTest::newRow("123 degF") << 0 << typed(AdvancedSettings::kTemperatureId, "123")
                                  << "Water Temperature should be in the range of  23.0 to "
                                     "122.0 deg F."
                                  << AdvancedSettings::kTemperatureId << "123";
        QTest::newRow("salinity 61")
            << 1 << typed(AdvancedSettings::kSalinityId, "61")
            << "Please enter a number between 0 and 60." << AdvancedSettings::kSalinityId << "61";
        QTest::newRow("burst interval 0 with bursts")
            << 1 << typed(AdvancedSettings::kBurstIntervalId, "0", true)
            << "Burst Interval should be in the range of 1 to 43200."
            << AdvancedSettings::kBurstIntervalId << "0";
        QTest::newRow("burst interval 43201")
            << 0 << typed(AdvancedSettings::kBurstIntervalId, "43201", true)
            << "Burst Interval should be in the range of 1 to 43200."
            << AdvancedSettings::kBurstIntervalId << "43201";
        QTest::newRow("profiles per burst 0")
            << 1 << typed(AdvancedSettings::kProfilesPerBurstId, "0", true)
            << "Samples per Burst should be in the range of 1 to 1000."
            << AdvancedSettings::kProfilesPerBurstId << "0";
    }
    void okRefusesTheFirstFailingValue() {
        QFETCH(int, unitSystem);
        QFETCH(Edits, edits);
        QFETCH(QString, message);
        QFETCH(int, focusId);
        QFETCH(QString, selected);
        PlannerWindow w(qpx::test::ConnectedInputs(unitSystem));
        const AdvancedBlock before = w.planner.advancedBlock();
        w.open(Planner::kAdvancedButtonId, [&](QDialog& d) {
            edits(d);
            w.messages.entries.clear();
            PressOk(d);
            const auto failure = qpx::test::FailureShown(&d, w.messages);
            QCOMPARE(QString::fromStdString(failure.message), message);
            QCOMPARE(w.messages.entries.size(), std::size_t{1});
            QCOMPARE(failure.focusId, focusId);
            QCOMPARE(failure.selected, selected);
            QVERIFY(d.isVisible());
        });
        QVERIFY(w.planner.advancedBlock() == before);
    }

    void okHandsTheValuesBack_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<float>("celsius");
        QTest::newRow("metric") << 1 << "10" << 10.0f;
        // Half a degree over 122 degF is put onto the bound.
        QTest::newRow("English snapped") << 0 << "122.5" << 50.0f;
    }
    void okHandsTheValuesBack() {
        QFETCH(int, unitSystem);
        QFETCH(QString, temperature);
        QFETCH(float, celsius);
        PlannerWindow w(qpx::test::ConnectedInputs(unitSystem));
        const QString power = w.text(Planner::kPowerTextId);
        w.open(Planner::kAdvancedButtonId, [&](QDialog& d) {
            Select(&d, AdvancedSettings::kTemperatureModeId, kUser);
            Type(&d, AdvancedSettings::kTemperatureId, temperature);
            Type(&d, AdvancedSettings::kSalinityId, QStringLiteral("30"));
            Select(&d, AdvancedSettings::kBurstModeId, kEnabled);
            Type(&d, AdvancedSettings::kBurstIntervalId, QStringLiteral("3600"));
            Type(&d, AdvancedSettings::kProfilesPerBurstId, QStringLiteral("10"));
            PressOk(d);
            QCOMPARE(d.result(), int(QDialog::Accepted));
        });
        const AdvancedBlock expected{0, celsius, 30.0f, 1, 3600.0f, 10};
        QVERIFY(w.planner.advancedBlock() == expected);
        // Ten profiles of 120 s an hour instead of continuous profiling: a third of the power.
        QVERIFY(w.text(Planner::kPowerTextId) != power);
        w.deploy();
        QVERIFY(w.dialog->acceptedPlan().has_value());
        QVERIFY(w.dialog->acceptedPlan()->advanced == expected);
    }

    void cancelKeepsThePlannersValues() {
        PlannerWindow w;
        const AdvancedBlock before = w.planner.advancedBlock();
        const QString power = w.text(Planner::kPowerTextId);
        const QString freeSpace = w.text(Planner::kFreeSpaceTextId);
        w.open(Planner::kAdvancedButtonId, [&](QDialog& d) {
            Select(&d, AdvancedSettings::kBurstModeId, kEnabled);
            Type(&d, AdvancedSettings::kBurstIntervalId, QStringLiteral("3600"));
            Type(&d, AdvancedSettings::kProfilesPerBurstId, QStringLiteral("10"));
            qpx::test::Click(&d, AdvancedSettingsDialog::kCancelId);
        });
        QVERIFY(w.planner.advancedBlock() == before);
        QCOMPARE(w.text(Planner::kPowerTextId), power);
        QCOMPARE(w.text(Planner::kFreeSpaceTextId), freeSpace);
        // Opened again, the window shows the planner's values, not the cancelled ones.
        w.open(Planner::kAdvancedButtonId, [&](QDialog& d) {
            QCOMPARE(BoxText(d, AdvancedSettings::kBurstIntervalId), QStringLiteral("1200"));
            QCOMPARE(Control<QComboBox>(&d, AdvancedSettings::kBurstModeId)->currentIndex(), 0);
        });
    }

    // An instrument can hold bursts enabled with an interval of 0, which this window never
    // accepts: it opens showing finite texts, and OK names the interval.
    void aDownloadedBurstIntervalOfZeroIsShownAndRefused_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::newRow("metric") << 1;
        QTest::newRow("English") << 0;
    }
    void aDownloadedBurstIntervalOfZeroIsShownAndRefused() {
        QFETCH(int, unitSystem);
        auto inputs = qpx::test::ConnectedInputs(unitSystem);
        inputs.user.burstMode = 1;
        inputs.user.burstInterval = 0;
        PlannerWindow w(inputs);
        QCOMPARE(qpx::test::NonFiniteTexts(w.dialog.get()), QStringList());
        w.open(Planner::kAdvancedButtonId, [&](QDialog& d) {
            QCOMPARE(qpx::test::NonFiniteTexts(&d), QStringList());
            QCOMPARE(BoxText(d, AdvancedSettings::kBurstIntervalId), QStringLiteral("0"));
            PressOk(d);
            const auto failure = qpx::test::FailureShown(&d, w.messages);
            QCOMPARE(failure.message,
                     std::string("Burst Interval should be in the range of 1 to 43200."));
            QCOMPARE(failure.focusId, AdvancedSettings::kBurstIntervalId);
            QCOMPARE(failure.selected, QStringLiteral("0"));
            QVERIFY(d.isVisible());
        });
        QCOMPARE(qpx::test::NonFiniteTexts(w.dialog.get()), QStringList());
    }
};

QPX_GUI_TEST(AdvancedSettingsDialogTest)
#include "AdvancedSettingsDialogTest.moc"
