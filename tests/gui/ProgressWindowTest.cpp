#include "ui/ProgressWindow.h"

#include "gui/GuiTestRegistry.h"
#include "link/VirtualClock.h"
#include "ui/MessageBoxSink.h"
#include "ui/ProgressWindowFactory.h"
#include "ui/TemplateId.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <vector>

namespace {

using qpx::ui::MessageBoxRequest;
using qpx::ui::ProgressWindow;

class ProgressWindowTest : public QObject {
    Q_OBJECT
private slots:
    void looksAsTheStatusWindowShould() {
        QWidget owner;
        qpx::link::VirtualClock clock;
        ProgressWindow window(&owner, clock);
        QCOMPARE(qpx::ui::TemplateIdOf(&window), 232);
        QVERIFY(window.windowTitle().isEmpty());
        QVERIFY(!window.isModal());
        auto* log = qobject_cast<QPlainTextEdit*>(qpx::ui::FindByTemplateId(&window, 1300));
        auto* bar = qobject_cast<QProgressBar*>(qpx::ui::FindByTemplateId(&window, 1010));
        QVERIFY(log != nullptr && bar != nullptr);
        QVERIFY(log->isReadOnly());
        QCOMPARE(log->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(log->palette().color(QPalette::Base), QColor(0, 0, 0));
        QVERIFY(QFontInfo(log->font()).fixedPitch());
        QCOMPARE(log->font().pixelSize(), 12);
        QVERIFY(!bar->isTextVisible());
        // The user cannot act while an exchange runs.
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }

    void waitCursorGoesWithTheWindow() {
        const bool before = QGuiApplication::overrideCursor() != nullptr;
        {
            qpx::link::VirtualClock clock;
            ProgressWindow window(nullptr, clock);
        }
        QCOMPARE(QGuiApplication::overrideCursor() != nullptr, before);
    }

    void appendsAtTheVeryEndWhereverTheCaretWas() {
        qpx::link::VirtualClock clock;
        ProgressWindow window(nullptr, clock);
        window.present();
        window.appendText("Waking up System............... ");
        window.appendText("Success\r\n");
        // The user clicks into the first line; the next label still goes to the end.
        QTextCursor cursor = window.logBox()->textCursor();
        cursor.setPosition(3);
        window.logBox()->setTextCursor(cursor);
        window.appendText("Get System Configuration....... ");
        window.appendText("Failed\r\n");
        // A label without a result stays on its line and the next text continues it.
        window.appendText("Transmit System Variables..............\r\n");
        window.appendText("Deployment..................... ");
        window.appendText("Success\r\n");
        QCOMPARE(window.text(), QStringLiteral("Waking up System............... Success\n"
                                               "Get System Configuration....... Failed\n"
                                               "Transmit System Variables..............\n"
                                               "Deployment..................... Success\n"));
        QCOMPARE(window.logBox()->textCursor().position(),
                 window.logBox()->document()->characterCount() - 1);
    }

    void scrollsTheEndIntoView() {
        qpx::link::VirtualClock clock;
        ProgressWindow window(nullptr, clock);
        window.present();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < 60; ++i)
            window.appendText("Step........................... Success\r\n");
        QScrollBar* scroll = window.logBox()->verticalScrollBar();
        QVERIFY(scroll->maximum() > 0);
        QCOMPARE(scroll->value(), scroll->maximum());
    }

    void barFollowsTheCallerAndStopsAtItsBound() {
        qpx::link::VirtualClock clock;
        ProgressWindow window(nullptr, clock);
        window.setRange(0, 7);
        window.setPosition(0);
        window.setStep(1);
        for (int i = 0; i < 3; ++i)
            window.stepIt();
        QCOMPARE(window.bar()->value(), 3);
        for (int i = 0; i < 10; ++i)
            window.stepIt();
        QCOMPARE(window.bar()->value(), 7);
    }

    void holdsOneAndAHalfSecondsOnlyAfterSuccess() {
        qpx::link::VirtualClock clock;
        {
            ProgressWindow window(nullptr, clock);
            window.setRange(0, 7);
            window.finish(false);
            QCOMPARE(clock.nowMs(), 0);
            window.finish(true);
            QCOMPARE(clock.nowMs(), 1500);
            QCOMPARE(window.bar()->value(), 7);
        }
    }

    void factoryOpensAFreshCentredWindowAndKeepsWhatItShowed() {
        QWidget owner;
        owner.setGeometry(100, 100, 600, 400);
        qpx::link::VirtualClock clock;
        qpx::ui::ProgressWindowFactory factory(&owner, clock);
        QPoint centre;
        bool shown = false;
        factory.onOpened = [&](ProgressWindow& window) {
            shown = window.isVisible();
            centre = window.geometry().center();
        };
        {
            auto view = factory.open();
            view->appendText("Get User Setup................. Success\r\n");
        }
        {
            auto view = factory.open();
            view->appendText("Deployment..................... Failed\r\n");
        }
        QVERIFY(shown);
        QVERIFY((centre - owner.geometry().center()).manhattanLength() <= 2);
        QCOMPARE(factory.transcripts(),
                 QStringList({QStringLiteral("Get User Setup................. Success\n"),
                              QStringLiteral("Deployment..................... Failed\n")}));
    }

    void messageSinkBoxes() {
        std::vector<MessageBoxRequest> shown;
        std::vector<QMessageBox::StandardButton> answers{QMessageBox::Cancel, QMessageBox::Ok};
        QWidget owner;
        QWidget* parentSeen = nullptr;
        qpx::ui::MessageBoxSink sink(&owner, [&](QWidget* parent, const MessageBoxRequest& r) {
            parentSeen = parent;
            shown.push_back(r);
            if (r.buttons.testFlag(QMessageBox::Cancel)) {
                const auto answer = answers.front();
                answers.erase(answers.begin());
                return answer;
            }
            return QMessageBox::Ok;
        });
        sink.showMessage("Failed to get the Qpx Operation Configuration");
        QVERIFY(!sink.askOkCancel("WARNING: Formatting will erase ALL data", "Recorder"));
        QVERIFY(sink.askOkCancel("WARNING: Formatting will erase ALL data", "Recorder"));
        sink.showInformation("QPX deployment", "Now disconnect the communication cable from "
                                               "\nthe system for deployment.");
        QCOMPARE(parentSeen, &owner);
        QCOMPARE(shown.size(), std::size_t{4});
        QCOMPARE(shown[0].icon, QMessageBox::Warning);
        QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(shown[0].title, QStringLiteral("DeployQpx"));
        QCOMPARE(shown[0].text, QStringLiteral("Failed to get the Qpx Operation Configuration"));
        QCOMPARE(shown[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(shown[1].title, QStringLiteral("Recorder"));
        QCOMPARE(shown[3].icon, QMessageBox::Information);
        QCOMPARE(shown[3].title, QStringLiteral("QPX deployment"));
        QCOMPARE(shown[3].text, QStringLiteral("Now disconnect the communication cable from "
                                               "\nthe system for deployment."));
    }

    void realBoxIsModalWithArrowCursorOverAWaitingExchange() {
        QWidget owner;
        qpx::ui::MessageBoxSink sink(&owner);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QString text;
        Qt::CursorShape cursor = Qt::WaitCursor;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            text = box->text();
            cursor = QGuiApplication::overrideCursor()->shape();
            box->button(QMessageBox::Cancel)->click();
        });
        const bool answer = sink.askOkCancel("Format?", "Recorder");
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(!answer);
        QCOMPARE(text, QStringLiteral("Format?"));
        QCOMPARE(cursor, Qt::ArrowCursor);
    }
};

} // namespace

QPX_GUI_TEST(ProgressWindowTest)
#include "ProgressWindowTest.moc"
