#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "gui/ReviewAnswer.h"
#include "instrument/PcQpxSettings.h"
#include "instrument/RecorderDialogModel.h"
#include "link/PortDevice.h"
#include "link/VirtualClock.h"
#include "planning/DefaultStructures.h"
#include "support/SimulatedPortOpener.h"
#include "support/TempDir.h"
#include "ui/CommunicationsDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentFrontEnd.h"
#include "ui/DeploymentReviewDialog.h"
#include "ui/InstrumentExchange.h"
#include "ui/MainDialog.h"
#include "ui/MessageBoxSink.h"
#include "ui/PcQpxSettingsDialog.h"
#include "ui/RecorderDialog.h"
#include "ui/SystemTimeDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <qpa/qwindowsysteminterface.h>
#include <string>
#include <vector>

// While the program talks to the instrument, its waits run a local event loop that holds back
// only mouse and keyboard. These tests deliver, from inside such a wait, everything else that
// loop delivers (an accessibility press, the window system's close, a posted close, a timer that
// closes) during each kind of exchange, and check that nothing ends a window, closes the port or
// starts a second exchange before the exchange is over, and that a close is carried out after it.

namespace {

using qpx::test::Control;
using qpx::test::PasteText;
using qpx::ui::DeploymentDialog;
using qpx::ui::DeploymentDisplayDialog;
using Planner = qpx::planning::DeploymentPlanner;

// Runs the events a real wait would run: for a while, everything but user input.
void RunNestedLoop(int ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        QThread::msleep(2);
    } while (elapsed.elapsed() < ms);
}

// The moment inside an exchange, and what arrives then.
struct Interruption {
    std::function<bool()> due;
    std::function<void()> deliver;
    bool delivered = false;

    void onWait() {
        if (delivered || !due || !due())
            return;
        delivered = true;
        deliver();
        // An accessibility press clicks 100 ms later, from a timer of the button's own.
        RunNestedLoop(160);
    }
};

// The simulated line with waits that run the nested loop first, as the real line's do. If
// something closes the port meanwhile, this device is gone when the wait goes on: AddressSanitizer
// reports the use after free that crashed the program.
class NestedLoopDevice final : public qpx::link::PortDevice {
public:
    NestedLoopDevice(std::unique_ptr<PortDevice> inner, Interruption& interruption)
        : inner_(std::move(inner)), interruption_(interruption) {}
    int available() override { return inner_->available(); }
    int read(std::uint8_t* destination, int max) override { return inner_->read(destination, max); }
    int peek() override { return inner_->peek(); }
    int write(const std::uint8_t* source, int count) override {
        return inner_->write(source, count);
    }
    int clearRx() override { return inner_->clearRx(); }
    int clearTx() override { return inner_->clearTx(); }
    int sendBreak(int ms) override {
        interruption_.onWait();
        return inner_->sendBreak(ms);
    }
    bool waitReadable(int timeoutMs) override {
        interruption_.onWait();
        return inner_->waitReadable(timeoutMs);
    }
    bool waitWritten(int timeoutMs) override {
        interruption_.onWait();
        return inner_->waitWritten(timeoutMs);
    }
    void close() override { inner_->close(); }

private:
    std::unique_ptr<PortDevice> inner_;
    Interruption& interruption_;
};

enum class Exchange {
    Go,
    Download,
    Upload,
    DisplayRead,
    RecorderRead,
    Format,
    ClockRead,
    ClockSet,
    PcQpxUpdate,
    ReviewClock, // "Check Clock" in the deployment review
};
enum class Action { AccessiblePress, WindowSystemClose, PostedClose, TimerClose, SecondExchange };

const char* Name(Exchange e) {
    static const char* const names[] = {
        "Go!",    "download",   "upload",    "display read",  "recorder read",
        "format", "clock read", "clock set", "PC-QPX update", "review clock"};
    return names[static_cast<int>(e)];
}

const char* Name(Action a) {
    static const char* const names[] = {"accessibility press", "window-system close",
                                        "posted close", "timer close", "second exchange"};
    return names[static_cast<int>(a)];
}

void AccessiblePress(QAbstractButton* button) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
    QVERIFY(face != nullptr && face->actionInterface() != nullptr);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// The program as Main.cpp builds it, on the simulator behind nested-loop lines.
struct Program {
    Program()
        : opener(clock), messages(nullptr, [](QWidget*, const qpx::ui::MessageBoxRequest& r) {
              return (r.buttons & QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
          }) {
        qpx::sim::Scenario s = qpx::sim::QpxScenario();
        // A PC-QPX, so that the PC-QPX window talks to it; a line of output every second.
        s.systemConfiguration = qpx::planning::MakeDefaultSystemConfiguration(1);
        s.systemConfiguration->cpuSoftwareVersion = 17;
        s.userSetup = qpx::planning::MakeDefaultUserSetup(1);
        s.userSetup->pulseCoherentMode = 1;
        s.deploy.outputIntervalMs = 1000;
        s.recorderFiles = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9, 50}};
        opener.instruments[1] = s;
        opener.wrapDevice = [this](std::unique_ptr<qpx::link::PortDevice> device) {
            return std::make_unique<NestedLoopDevice>(std::move(device), interruption);
        };
        qpx::ui::MainDialogSetup setup;
        setup.messages = &messages;
        setup.makeFrontEnd = [this](QWidget* parent, Planner& planner, qpx::link::Clock& runClock,
                                    qpx::link::MessageSink& sink) {
            auto front =
                std::make_unique<qpx::ui::DeploymentFrontEnd>(parent, planner, runClock, sink);
            front->setHooks({[this](QDialog& shown) {
                                 if (!answerReview || !qpx::test::DeployFromReview(shown))
                                     onShown(shown);
                             },
                             {}});
            front->setRecordsFolder(records.path());
            return front;
        };
        main = std::make_unique<qpx::ui::MainDialog>(opener, clock, std::move(setup));
        messages.setParentWidget(main.get());
    }
    const std::vector<std::string>& received() { return opener.lastInstrument().transcript(); }
    bool lastIs(std::string_view start) {
        return !opener.lines.empty() && !received().empty() && received().back().starts_with(start);
    }
    int count(std::string_view start) {
        return static_cast<int>(
            std::count_if(received().begin(), received().end(),
                          [&](const std::string& l) { return l.starts_with(start); }));
    }

    qpx::link::VirtualClock clock;
    qpx::test::SimulatedPortOpener opener;
    qpx::ui::MessageBoxSink messages;
    std::unique_ptr<qpx::ui::MainDialog> main;
    Interruption interruption;
    std::function<void(QDialog&)> onShown;
    // The review is answered with "&Deploy" unless a test meets it itself.
    bool answerReview = true;
    qpx::test::TempDir records;
};

// One connected run through the exchange under test; what happened on the way.
struct Run {
    std::vector<std::string> received;
    std::vector<int> closes;
    std::optional<qpx::operations::ConnectedSetupOutcome> outcome;
    bool delivered = false;
    bool plannerShown = false;
    bool targetOpenAfterExchange = true;
    int ticksAfterDelivery = 0;
};

// The window whose end is asked for during the exchange, and its closing button.
struct Target {
    QPointer<QWidget> window;
    QPointer<QAbstractButton> button;
    // A button of a window that would start another exchange.
    QPointer<QAbstractButton> another;
};

Target Aim(QWidget* window, QAbstractButton* button, QAbstractButton* another) {
    Target target;
    target.window = window;
    target.button = button;
    target.another = another;
    return target;
}

Run Drive(Exchange exchange, std::optional<Action> action) {
    Program p;
    Target target;
    QPointer<DeploymentDialog> planner;
    bool inDisplay = false;
    int clockReads = 0;

    const auto due = [&]() -> bool {
        switch (exchange) {
        case Exchange::Go:
            return p.lastIs("Ver") && p.count("Ver") == 1 && !planner;
        case Exchange::Download:
            return p.lastIs("Get OPER");
        case Exchange::Upload:
            return p.lastIs("StartDate");
        case Exchange::DisplayRead:
            return inDisplay;
        case Exchange::RecorderRead:
            return planner && p.count("bdir") == 2;
        case Exchange::Format:
            return p.lastIs("format");
        case Exchange::ClockRead:
            return p.lastIs("Date") && clockReads == 0;
        case Exchange::ClockSet:
            return p.lastIs("Date ");
        case Exchange::PcQpxUpdate:
            return p.lastIs("pl");
        case Exchange::ReviewClock:
            return p.lastIs("Date") && target.window != nullptr;
        }
        return false;
    };
    p.interruption.due = due;
    p.interruption.deliver = [&] {
        QWidget* window = target.window.data();
        QVERIFY2(window != nullptr, "no window to act on");
        switch (*action) {
        case Action::AccessiblePress:
            AccessiblePress(target.button.data());
            break;
        case Action::WindowSystemClose:
            QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
                window->windowHandle());
            break;
        case Action::PostedClose:
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
            break;
        case Action::TimerClose:
            QTimer::singleShot(1, window, [window] { window->close(); });
            break;
        case Action::SecondExchange:
            AccessiblePress(target.another.data());
            break;
        }
    };
    if (!action)
        p.interruption.due = {};

    Run run;
    const auto afterExchange = [&](QWidget* window) {
        RunNestedLoop(20);
        run.targetOpenAfterExchange = window != nullptr && window->isVisible();
    };

    p.answerReview = exchange != Exchange::ReviewClock;
    p.onShown = [&](QDialog& shown) {
        if (auto* review = qobject_cast<qpx::ui::DeploymentReviewDialog*>(&shown)) {
            // Back to the planner is what ends the review; its "&Deploy" would start another
            // exchange. After the clock read, the planner is cancelled.
            target = Aim(review, review->backButton(), review->deployButton());
            review->checkClockButton()->click();
            afterExchange(review);
            if (review->isVisible())
                review->reject();
            return;
        }
        if (auto* plannerShown = qobject_cast<DeploymentDialog*>(&shown)) {
            planner = plannerShown;
            run.plannerShown = true;
            switch (exchange) {
            case Exchange::RecorderRead:
                target =
                    Aim(planner, Control<QAbstractButton>(planner, DeploymentDialog::kCancelId),
                        Control<QAbstractButton>(planner, Planner::kSystemTimeButtonId));
                Control<QAbstractButton>(planner, Planner::kRecorderButtonId)->click();
                break;
            case Exchange::Format:
                Control<QAbstractButton>(planner, Planner::kRecorderButtonId)->click();
                break;
            case Exchange::ClockRead:
            case Exchange::ClockSet:
                target =
                    Aim(planner, Control<QAbstractButton>(planner, DeploymentDialog::kCancelId),
                        Control<QAbstractButton>(planner, Planner::kRecorderButtonId));
                Control<QAbstractButton>(planner, Planner::kSystemTimeButtonId)->click();
                break;
            case Exchange::PcQpxUpdate:
                Control<QAbstractButton>(planner, Planner::kPcQpxButtonId)->click();
                break;
            case Exchange::Upload:
                target =
                    Aim(p.main.get(),
                        Control<QAbstractButton>(p.main.get(), qpx::ui::MainDialog::kCloseId),
                        Control<QAbstractButton>(p.main.get(), qpx::ui::MainDialog::kPlanningId));
                break;
            default:
                break;
            }
            if (!planner || !planner->isVisible())
                return;
            if (exchange == Exchange::Upload || exchange == Exchange::DisplayRead ||
                exchange == Exchange::ReviewClock) {
                PasteText(Control<QLineEdit>(planner, qpx::planning::kCellsBoxId),
                          QStringLiteral("5"));
                Control<QAbstractButton>(planner, Planner::kDeployId)->click();
            }
            if (planner && planner->isVisible())
                planner->reject();
            return;
        }
        if (auto* recorder = qobject_cast<qpx::ui::RecorderDialog*>(&shown)) {
            if (exchange == Exchange::Format) {
                auto* format = Control<QAbstractButton>(recorder, qpx::instrument::kFormatButtonId);
                target = Aim(recorder,
                             Control<QAbstractButton>(recorder, qpx::instrument::kCloseButtonId),
                             format);
                format->click();
                afterExchange(recorder);
            }
            if (recorder->isVisible())
                recorder->accept();
            return;
        }
        if (auto* time = qobject_cast<qpx::ui::SystemTimeDialog*>(&shown)) {
            ++clockReads;
            time->accept();
            return;
        }
        if (auto* pcQpx = qobject_cast<qpx::ui::PcQpxSettingsDialog*>(&shown)) {
            auto* update = Control<QAbstractButton>(pcQpx, qpx::instrument::kUpdatePcQpxButtonId);
            target =
                Aim(pcQpx, Control<QAbstractButton>(pcQpx, qpx::ui::PcQpxSettingsDialog::kCloseId),
                    update);
            PasteText(Control<QLineEdit>(pcQpx, qpx::instrument::kPulseLengthEditId),
                      QStringLiteral("0.5"));
            PasteText(Control<QLineEdit>(pcQpx, qpx::instrument::kUserPulseLagEditId),
                      QStringLiteral("0.4"));
            PasteText(Control<QLineEdit>(pcQpx, qpx::instrument::kUserResLagEditId),
                      QStringLiteral("0"));
            update->click();
            afterExchange(pcQpx);
            if (pcQpx->isVisible())
                pcQpx->reject();
            return;
        }
        if (auto* display = qobject_cast<DeploymentDisplayDialog*>(&shown)) {
            target = Aim(display, Control<QAbstractButton>(display, DeploymentDisplayDialog::kOkId),
                         Control<QAbstractButton>(p.main.get(), qpx::ui::MainDialog::kConnectedId));
            inDisplay = exchange == Exchange::DisplayRead;
            for (int tick = 0; tick < 20 && display->isVisible(); ++tick) {
                const bool before = p.interruption.delivered;
                p.clock.sleepMs(400);
                display->tick();
                if (before)
                    ++run.ticksAfterDelivery;
                if (p.interruption.delivered && !before)
                    afterExchange(display);
            }
            if (display->isVisible())
                display->accept();
            return;
        }
    };

    p.main->show();
    p.main->setUpConnectedSystem();
    qpx::ui::CommunicationsDialog* communications = p.main->communicationsDialog();
    if (exchange == Exchange::Go)
        target = Aim(communications, Control<QAbstractButton>(communications, 2),
                     Control<QAbstractButton>(communications, 1));
    if (exchange == Exchange::Download)
        target =
            Aim(p.main.get(), Control<QAbstractButton>(p.main.get(), qpx::ui::MainDialog::kCloseId),
                Control<QAbstractButton>(p.main.get(), qpx::ui::MainDialog::kConnectedId));
    communications->go();
    if (exchange == Exchange::Go)
        afterExchange(communications);
    if (exchange == Exchange::Download || exchange == Exchange::Upload)
        afterExchange(p.main.get());
    RunNestedLoop(20);

    run.received = p.received();
    for (const auto& line : p.opener.lines)
        run.closes.push_back(line.closes);
    run.outcome = p.main->lastOutcome();
    run.delivered = p.interruption.delivered;
    return run;
}

class ExchangeGuardTest : public QObject {
    Q_OBJECT
private slots:
    void nothingThatArrivesDuringAnExchangeCutsItShort_data() {
        QTest::addColumn<int>("exchange");
        QTest::addColumn<int>("action");
        for (int e = 0; e <= static_cast<int>(Exchange::ReviewClock); ++e) {
            for (int a = 0; a <= static_cast<int>(Action::SecondExchange); ++a) {
                QTest::newRow(QStringLiteral("%1, %2")
                                  .arg(QString::fromLatin1(Name(static_cast<Exchange>(e))),
                                       QString::fromLatin1(Name(static_cast<Action>(a))))
                                  .toUtf8()
                                  .constData())
                    << e << a;
            }
        }
    }

    void nothingThatArrivesDuringAnExchangeCutsItShort() {
        QFETCH(int, exchange);
        QFETCH(int, action);
        const auto e = static_cast<Exchange>(exchange);
        const auto a = static_cast<Action>(action);
        const Run plain = Drive(e, std::nullopt);
        const Run run = Drive(e, a);
        QVERIFY2(run.delivered, "the exchange under test was never reached");
        QVERIFY(!qpx::ui::InstrumentExchange::Running());

        // Every port the run opened was closed, once.
        for (const int closes : run.closes)
            QCOMPARE(closes, 1);

        if (a == Action::SecondExchange) {
            // Refused: the run went exactly as it goes without the press.
            QVERIFY(run.received == plain.received);
            QCOMPARE(run.outcome, plain.outcome);
            return;
        }
        // The exchange ran to its end (the commands it sends are all there) and the window that
        // was asked to close did so right after it.
        const auto sent = [&](std::string_view start) {
            return std::any_of(run.received.begin(), run.received.end(),
                               [&](const std::string& l) { return l.starts_with(start); });
        };
        using Outcome = qpx::operations::ConnectedSetupOutcome;
        switch (e) {
        case Exchange::Go:
            // The connection the user cancelled is not used: nothing downloaded.
            QVERIFY(!sent("Get CONF"));
            QVERIFY(!run.outcome.has_value());
            QVERIFY(!run.targetOpenAfterExchange);
            break;
        case Exchange::Download:
            QVERIFY(sent("bdir"));
            QVERIFY(!run.plannerShown);
            QCOMPARE(run.outcome, std::optional<Outcome>(Outcome::Cancelled));
            QVERIFY(!run.targetOpenAfterExchange);
            break;
        case Exchange::Upload:
            QVERIFY(sent("SaveSetup"));
            QCOMPARE(run.outcome, std::optional<Outcome>(Outcome::Deployed));
            QVERIFY(!run.targetOpenAfterExchange);
            break;
        case Exchange::DisplayRead:
            QCOMPARE(run.outcome, std::optional<Outcome>(Outcome::Deployed));
            QVERIFY(!run.targetOpenAfterExchange);
            QVERIFY(run.ticksAfterDelivery <= 1);
            break;
        case Exchange::ReviewClock:
            // The review went back to the planner once the clock was read; nothing uploaded.
            QCOMPARE(run.outcome, std::optional<Outcome>(Outcome::Cancelled));
            QVERIFY(!sent("StartDate") && !sent("deploy"));
            QVERIFY(sent("Time"));
            QVERIFY(!run.targetOpenAfterExchange);
            break;
        case Exchange::RecorderRead:
        case Exchange::ClockRead:
        case Exchange::ClockSet:
            // The planner's "&Cancel", once the exchange is over: nothing uploaded.
            QCOMPARE(run.outcome, std::optional<Outcome>(Outcome::Cancelled));
            QVERIFY(!sent("StartDate") && !sent("deploy"));
            QVERIFY(sent(e == Exchange::ClockSet    ? "Time "
                         : e == Exchange::ClockRead ? "Time"
                                                    : "bdir"));
            break;
        case Exchange::Format:
        case Exchange::PcQpxUpdate:
            QVERIFY(run.received == plain.received);
            QVERIFY(!run.targetOpenAfterExchange);
            break;
        }
    }
};

} // namespace

QPX_GUI_TEST(ExchangeGuardTest)
#include "ExchangeGuardTest.moc"
