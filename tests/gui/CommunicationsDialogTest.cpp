#include "ui/CommunicationsDialog.h"

#include "gui/GuiTestRegistry.h"
#include "link/VirtualClock.h"
#include "operations/Connection.h"
#include "support/RecordingMessageSink.h"
#include "support/SimulatedPortOpener.h"
#include "ui/ActivityTrace.h"
#include "ui/TemplateId.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

using qpx::operations::ConnectionSettings;
using qpx::ui::CommunicationsDialog;

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

// The connection window over simulated ports on virtual time, with its owner's settings.
struct Window {
    Window() : opener(clock) {}
    CommunicationsDialog& open() {
        dialog = std::make_unique<CommunicationsDialog>(
            nullptr, qpx::ui::ConnectionServices{opener, clock, messages, std::nullopt, notice},
            settings);
        dialog->refresh();
        dialog->show();
        return *dialog;
    }
    QPushButton* goButton() const {
        return qobject_cast<QPushButton*>(qpx::ui::FindByTemplateId(dialog.get(), 1));
    }

    qpx::link::VirtualClock clock;
    qpx::test::SimulatedPortOpener opener;
    qpx::test::RecordingMessageSink messages;
    ConnectionSettings settings;
    std::string notice;
    std::unique_ptr<CommunicationsDialog> dialog;
};

class CommunicationsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void controlsAndTexts() {
        Window w;
        w.opener.instruments[0] = qpx::sim::QpxScenario();
        CommunicationsDialog& dialog = w.open();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Communications:"));
        QVERIFY(!dialog.isModal());
        QCOMPARE(w.goButton()->text(), QStringLiteral("Go!"));
        QVERIFY(w.goButton()->isDefault());
        auto* cancel = qobject_cast<QPushButton*>(qpx::ui::FindByTemplateId(&dialog, 2));
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        // The device name stands beside the port's name; the mnemonic stays.
        QCOMPARE(dialog.portButton(0)->text(), QStringLiteral("COM&1  sim1"));
        QCOMPARE(dialog.portButton(1)->text(), QStringLiteral("COM&2"));
        QStringList rates;
        for (int i = 0; i < dialog.baudList()->count(); ++i)
            rates << dialog.baudList()->itemText(i);
        QCOMPARE(rates, QStringList({"300", "600", "1200", "2400", "4800", "9600", "19200", "38400",
                                     "57600", "115200"}));
        QCOMPARE(dialog.baudList()->currentText(), QStringLiteral("9600"));
        QVERIFY(dialog.logBox()->isReadOnly());
        QCOMPARE(dialog.logBox()->palette().color(QPalette::Text), kGreen);
        QCOMPARE(dialog.logBox()->palette().color(QPalette::Base), QColor(0, 0, 0));
        auto* bar = qobject_cast<QProgressBar*>(qpx::ui::FindByTemplateId(&dialog, 1010));
        QCOMPARE(bar->value(), bar->minimum());
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!dialog.trace()->buffer().isNull());
    }

    void scanMarksEachPort() {
        Window w;
        w.opener.instruments[2] = qpx::sim::QpxScenario();
        w.opener.instruments[5] = qpx::sim::QpxScenario();
        w.opener.busy = {1};
        CommunicationsDialog& dialog = w.open();
        const QColor face = dialog.palette().color(QPalette::Button);
        for (int i = 0; i < 8; ++i) {
            const bool open = i == 2 || i == 5;
            QCOMPARE(dialog.portButton(i)->isEnabled(), open);
            QCOMPARE(dialog.portMarker(i)->colour(), open ? kGreen : i == 1 ? kRed : face);
        }
        // COM1 was remembered but cannot be opened: the first open port is chosen instead.
        QCOMPARE(dialog.selectedPort(), 2);
    }

    void nothingOpenableDisablesAllAndSelectsNone() {
        Window w;
        CommunicationsDialog& dialog = w.open();
        const QColor face = dialog.palette().color(QPalette::Button);
        for (int i = 0; i < 8; ++i) {
            QVERIFY(!dialog.portButton(i)->isEnabled());
            QVERIFY(!dialog.portButton(i)->isChecked());
            QCOMPARE(dialog.portMarker(i)->colour(), face);
        }
        QCOMPARE(dialog.selectedPort(), -1);
        // "Go!" with nothing chosen fails in the log and opens nothing.
        QVERIFY(!dialog.go());
        QCOMPARE(dialog.logBox()->toPlainText(),
                 QStringLiteral("Open Port........................ Failed\n"));
        QVERIFY(!dialog.holdsPort());
    }

    void heldPortStaysGreenAndSelectable() {
        Window w;
        w.opener.instruments[3] = qpx::sim::QpxScenario();
        w.settings.portIndex = 3;
        CommunicationsDialog& dialog = w.open();
        QVERIFY(dialog.go());
        QVERIFY(dialog.holdsPort());
        // Opening it a second time fails now: the program itself holds it.
        w.opener.busy = {3};
        dialog.refresh();
        QCOMPARE(dialog.portCode(3), int(qpx::operations::kPortAvailable));
        QCOMPARE(dialog.portMarker(3)->colour(), kGreen);
        QVERIFY(dialog.portButton(3)->isEnabled());
        QCOMPARE(dialog.selectedPort(), 3);
    }

    void goFindsAQpxHidesAndNotifies() {
        Window w;
        w.opener.instruments[4] = qpx::sim::QpxScenario();
        w.settings.portIndex = 4;
        CommunicationsDialog& dialog = w.open();
        QSignalSpy connected(&dialog, &CommunicationsDialog::connected);
        bool hiddenBeforeNotice = false;
        QObject::connect(&dialog, &CommunicationsDialog::connected,
                         [&] { hiddenBeforeNotice = !dialog.isVisible(); });
        dialog.baudList()->setCurrentIndex(6);
        w.opener.instruments[4].baudRate = 19200;
        QTest::mouseClick(w.goButton(), Qt::LeftButton);
        QCOMPARE(connected.count(), 1);
        QVERIFY(hiddenBeforeNotice);
        QCOMPARE(dialog.logBox()->toPlainText(),
                 QStringLiteral("Open Port........................ Success\n"
                                "Waking up System................. Success\n"
                                "QPX found on COM5\n"));
        QCOMPARE(w.settings.portIndex, 4);
        QCOMPARE(w.settings.baudRate, 19200);
        QVERIFY(dialog.takePort() != nullptr);
        QVERIFY(!dialog.holdsPort());
        // The next opening starts from the port and rate of this success.
        dialog.refresh();
        QVERIFY(dialog.logBox()->toPlainText().isEmpty());
        QCOMPARE(dialog.selectedPort(), 4);
        QCOMPARE(dialog.baudList()->currentText(), QStringLiteral("19200"));
    }

    void merovaneIsAcceptedOtherSystemsFail_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("log");
        const QString head = QStringLiteral("Open Port........................ Success\n"
                                            "Waking up System................. ");
        QTest::newRow("Merovane") << int(qpx::sim::SystemKind::Merovane)
                                  << head + QStringLiteral("Success\nMerovane found on COM1\n");
        QTest::newRow("CLV") << int(qpx::sim::SystemKind::Clv) << head + QStringLiteral("Failed\n");
        QTest::newRow("WQS") << int(qpx::sim::SystemKind::Wqs) << head + QStringLiteral("Failed\n");
        QTest::newRow("Rill") << int(qpx::sim::SystemKind::Rill)
                              << head + QStringLiteral("Failed\n");
        QTest::newRow("ZEB") << int(qpx::sim::SystemKind::Zeb) << head + QStringLiteral("Failed\n");
    }

    void merovaneIsAcceptedOtherSystemsFail() {
        QFETCH(int, kind);
        QFETCH(QString, log);
        Window w;
        w.opener.instruments[0] = qpx::sim::SystemScenario(static_cast<qpx::sim::SystemKind>(kind));
        CommunicationsDialog& dialog = w.open();
        QSignalSpy connected(&dialog, &CommunicationsDialog::connected);
        const bool found = dialog.go();
        QCOMPARE(dialog.logBox()->toPlainText(), log);
        QCOMPARE(found, log.contains(QStringLiteral("found")));
        QCOMPARE(connected.count(), found ? 1 : 0);
        QCOMPARE(dialog.holdsPort(), found);
        // A failure leaves the window up for another try, with no port open.
        QCOMPARE(dialog.isVisible(), !found);
        if (!found)
            QCOMPARE(w.opener.lines.back().closes, 1);
        QVERIFY(w.messages.entries.empty());
    }

    void chosenRateOpensThePortAt115200With8N1() {
        Window w;
        w.opener.instruments[0] = qpx::sim::QpxScenario();
        w.opener.instruments[0].baudRate = 115200;
        CommunicationsDialog& dialog = w.open();
        dialog.baudList()->setCurrentIndex(9);
        QVERIFY(dialog.go());
        const auto& request = w.opener.requests.back();
        QCOMPARE(request.index, 0);
        QCOMPARE(request.baud, 115200);
        QCOMPARE(request.parity, 'N');
        QCOMPARE(request.dataBits, 8);
        QCOMPARE(request.stopBits, 1);
        QCOMPARE(w.settings.baudRate, 115200);
    }

    // A desktop program has no console on Windows: where "LogFile" went is said in the log.
    void logNoticeOpensTheLogOfEveryGo() {
        Window w;
        w.opener.instruments[0] = qpx::sim::QpxScenario();
        w.notice = "\"LogFile\" is written in /home/tech/.local/share/DeployQpx";
        CommunicationsDialog& dialog = w.open();
        QVERIFY(dialog.go());
        QVERIFY(dialog.logBox()->toPlainText().startsWith(
            QStringLiteral("\"LogFile\" is written in /home/tech/.local/share/DeployQpx\n"
                           "Open Port....")));
    }

    void cursorIsTheArrowAgainAfterGo() {
        Window w;
        w.opener.instruments[0] = qpx::sim::SystemScenario(qpx::sim::SystemKind::Clv);
        CommunicationsDialog& dialog = w.open();
        const bool before = QGuiApplication::overrideCursor() != nullptr;
        dialog.go();
        QCOMPARE(QGuiApplication::overrideCursor() != nullptr, before);
    }

    void cancelHidesWithoutConnecting() {
        Window w;
        w.opener.instruments[0] = qpx::sim::QpxScenario();
        CommunicationsDialog& dialog = w.open();
        qobject_cast<QPushButton*>(qpx::ui::FindByTemplateId(&dialog, 2))->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.holdsPort());
    }
};

} // namespace

QPX_GUI_TEST(CommunicationsDialogTest)
#include "CommunicationsDialogTest.moc"
