#include "ui/PcQpxSettingsDialog.h"

#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "instrument/PcQpxSettings.h"
#include "sim/SimulatedLine.h"
#include "support/RecordingMessageSink.h"
#include "ui/DeploymentDialog.h"
#include "ui/InstrumentExchange.h"
#include "ui/ProgressWindowFactory.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {

using qpx::test::Control;
using qpx::test::PasteText;
using qpx::ui::PcQpxSettingsDialog;
using Planner = qpx::planning::DeploymentPlanner;
namespace pc = qpx::instrument;

// A PC-QPX planner on the simulated instrument; `act` drives the PC-QPX window once it shows.
struct Bench {
    explicit Bench(int unitSystem = 1, bool connected = true) {
        auto& held = line.instrument().structures();
        held.systemConfiguration.cpuSoftwareVersion = 17;
        held.userSetup.pulseCoherentMode = 1;
        inputs = qpx::test::ConnectedInputs(unitSystem);
        inputs.system = held.systemConfiguration;
        inputs.user = held.userSetup;
        inputs.operation = held.operationConfiguration;
        inputs.planning = !connected;
        dialog.setLink(connected ? &link : nullptr);
        dialog.setDialogHook([this](QDialog& shown) {
            if (qobject_cast<PcQpxSettingsDialog*>(&shown) != nullptr && act)
                act(static_cast<PcQpxSettingsDialog&>(shown));
            if (shown.isVisible())
                shown.reject();
        });
    }
    void open() {
        dialog.load(inputs, {2026, 12, 7, 16, 45, 30});
        Control<QPushButton>(&dialog, Planner::kPcQpxButtonId)->click();
    }

    qpx::sim::SimulatedLine line;
    qpx::test::RecordingMessageSink messages;
    qpx::link::Link link = line.link(messages);
    Planner planner;
    qpx::ui::DeploymentDialog dialog{nullptr, planner, messages};
    qpx::planning::PlannerInputs inputs;
    std::function<void(PcQpxSettingsDialog&)> act;
};

QString Text(QWidget* root, int id) {
    return Control<QLineEdit>(root, id)->text();
}

} // namespace

class PcQpxSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void offeredOnlyForAPcQpx() {
        Bench plain;
        plain.inputs.user.pulseCoherentMode = 0;
        plain.dialog.load(plain.inputs, {});
        QVERIFY(!Control<QPushButton>(&plain.dialog, Planner::kPcQpxButtonId)->isEnabled());
        Bench planning(1, false);
        planning.dialog.load(planning.inputs, {});
        QVERIFY(Control<QPushButton>(&planning.dialog, Planner::kPcQpxButtonId)->isEnabled());
    }

    void labelsFollowTheUnitSystem() {
        for (int units : {1, 0}) {
            Bench b(units);
            bool shown = false;
            b.act = [&](PcQpxSettingsDialog& d) {
                shown = true;
                QCOMPARE(d.windowTitle(), QStringLiteral("PC-QPX Settings"));
                const char* unit = units == 1 ? "m" : "ft";
                QCOMPARE(Control<QLabel>(&d, pc::kPulseLengthLabelId)->text(),
                         QStringLiteral("Pulse Length (%1):").arg(QLatin1String(unit)));
                QCOMPARE(Control<QLabel>(&d, pc::kMaxVerticalVelLabelId)->text(),
                         QStringLiteral("Max Vertical Vel (%1/s):").arg(QLatin1String(unit)));
                for (QLineEdit* box : d.findChildren<QLineEdit*>()) {
                    QVERIFY(!box->text().contains(QLatin1String("inf")));
                    QVERIFY(!box->text().contains(QLatin1String("nan")));
                }
            };
            b.open();
            QVERIFY(shown);
        }
    }

    void rejectedEntriesKeepTheDialogOpenWithTheBoxSelected_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("pulse length") << pc::kPulseLengthEditId << "1.005"
                                      << "Pulse Length should be in the range of  0.02 to  1.00 m.";
        QTest::newRow("not a number") << pc::kUserPulseLagEditId << "x"
                                      << "Please enter a number.";
    }
    void rejectedEntriesKeepTheDialogOpenWithTheBoxSelected() {
        QFETCH(int, id);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Bench b;
        b.act = [&](PcQpxSettingsDialog& d) {
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            PasteText(Control<QLineEdit>(&d, id), typed);
            Control<QPushButton>(&d, pc::kUpdatePcQpxButtonId)->click();
            QCOMPARE(QString::fromStdString(b.messages.texts().back()), message);
            auto* box = Control<QLineEdit>(&d, id);
            QVERIFY(box->hasFocus());
            QCOMPARE(box->selectedText(), typed);
            QVERIFY(d.isVisible());
        };
        b.open();
        QCOMPARE(b.line.instrument().transcript().size(), std::size_t{0});
    }

    void updateSendsAndShowsTheReadBack() {
        Bench b;
        QString transcript;
        b.act = [&](PcQpxSettingsDialog& d) {
            PasteText(Control<QLineEdit>(&d, pc::kPulseLengthEditId), QStringLiteral("0.5"));
            PasteText(Control<QLineEdit>(&d, pc::kUserPulseLagEditId), QStringLiteral("0.4"));
            PasteText(Control<QLineEdit>(&d, pc::kUserResLagEditId), QStringLiteral("0"));
            Control<QPushButton>(&d, pc::kUpdatePcQpxButtonId)->click();
            QVERIFY(!qpx::ui::InstrumentExchange::Running());
            QCOMPARE(Text(&d, pc::kPulseLengthEditId), QStringLiteral("0.5"));
            transcript = d.progressWindows()->transcripts().value(0);
        };
        b.open();
        QVERIFY2(transcript.contains(QStringLiteral("Update Pulse Length............ Success")),
                 qPrintable(transcript));
        const auto& lines = b.line.instrument().transcript();
        const std::vector<std::string> tail(lines.end() - 5, lines.end());
        QVERIFY(tail == (std::vector<std::string>{"pl   0.50", "pg   0.40", "rpg   0.00",
                                                  "SaveSetup", "Get OPER"}));
        // Closed with "&Close": the planner still took the structure read back.
        QCOMPARE(b.planner.operationConfiguration().pulseLength, 50u);
        QVERIFY(b.messages.entries.empty());
    }

    void settingsNoDialogAcceptsOpenWithoutInfOrNan() {
        Bench b;
        b.inputs.user.burstMode = 1;
        b.inputs.user.burstInterval = 0;
        b.inputs.user.waveInterval = 255;
        b.inputs.user.soundSpeed = -32768;
        // Older firmware leaves the system ResLag 0; a slant angle of 0 has no horizontal limit.
        b.inputs.operation.systemResLag = 0;
        b.inputs.system.slantAngle = 0;
        b.inputs.operation.pulseLength = 5000;
        QStringList failures;
        b.act = [&](PcQpxSettingsDialog& d) {
            for (QLineEdit* box : d.findChildren<QLineEdit*>()) {
                if (box->text().contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
                    box->text().contains(QLatin1String("nan"), Qt::CaseInsensitive))
                    failures << box->text();
            }
            Control<QPushButton>(&d, pc::kUpdatePcQpxButtonId)->click();
            QVERIFY(d.isVisible());
        };
        b.open();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char(' '))));
        // The first failing rule, the pulse length of 50 m; nothing was sent.
        QCOMPARE(b.messages.texts().back(),
                 std::string("Pulse Length should be in the range of  0.02 to  1.00 m."));
        QVERIFY(b.line.instrument().transcript().empty());
    }

    void planningModeOnlyChecks() {
        Bench b(1, false);
        b.act = [&](PcQpxSettingsDialog& d) {
            QVERIFY(d.progressWindows() == nullptr);
            Control<QPushButton>(&d, pc::kUpdatePcQpxButtonId)->click();
        };
        b.open();
        QVERIFY(b.line.instrument().transcript().empty());
    }

    void enterClosesOnlyWhenTheBoxesReadAsNumbers() {
        Bench b;
        int attempts = 0;
        b.act = [&](PcQpxSettingsDialog& d) {
            auto* box = Control<QLineEdit>(&d, pc::kUserResLagEditId);
            PasteText(box, QStringLiteral("-"));
            QTest::keyClick(box, Qt::Key_Return);
            ++attempts;
            QVERIFY(d.isVisible());
            QCOMPARE(b.messages.texts().back(), std::string("Please enter a number."));
            PasteText(box, QStringLiteral("0.7"));
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Accepted));
        };
        b.open();
        QCOMPARE(attempts, 1);
        QVERIFY(b.line.instrument().transcript().empty());
    }
};

QPX_GUI_TEST(PcQpxSettingsDialogTest)
#include "PcQpxSettingsDialogTest.moc"
