#include "ui/AboutDialog.h"

#include "gui/GuiTestRegistry.h"
#include "ui/HtmFallback.h"
#include "ui/HyperlinkControl.h"
#include "ui/HyperlinkErrors.h"
#include "ui/TemplateId.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <vector>

namespace {

using qpx::ui::AboutDialog;
using qpx::ui::HyperlinkControl;
using qpx::ui::MessageBoxRequest;

// A link whose opens answer from a queue of platform codes, and whose error boxes are recorded.
struct Link {
    explicit Link(HyperlinkControl& control) {
        control.setOpener([this](const QString& address) {
            opened.push_back(address);
            const int code = codes.front();
            codes.erase(codes.begin());
            return code;
        });
        control.setPresenter([this](QWidget*, const MessageBoxRequest& request) {
            boxes.push_back(request);
            return QMessageBox::Ok;
        });
    }
    std::vector<int> codes;
    std::vector<QString> opened;
    std::vector<MessageBoxRequest> boxes;
};

class AboutDialogTest : public QObject {
    Q_OBJECT
private slots:
    void boxShowsTitleEmptySerialAndTheTwoLinks() {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Kelvra QPX Deployment"));
        QCOMPARE(qpx::ui::TemplateIdOf(&about), 100);
        auto label = [&](int id) {
            return qobject_cast<QLabel*>(qpx::ui::FindByTemplateId(&about, id));
        };
        QCOMPARE(label(1228)->text(), QStringLiteral("Kelvra QPX Deployment v1.70"));
        QVERIFY(label(1105)->text().isEmpty());
        QVERIFY(label(1108)->text().isEmpty());
        QVERIFY(label(1108)->isHidden());
        QCOMPARE(label(1053)->text(), QStringLiteral("Kelvra: e-mail"));
        QCOMPARE(label(1047)->text(), QStringLiteral("Kelvra homepage"));
        QVERIFY(qobject_cast<QPushButton*>(qpx::ui::FindByTemplateId(&about, 1)) != nullptr);
        for (HyperlinkControl* link : {about.emailLink(), about.homePageLink()}) {
            // The tooltip is the address, not the link's text.
            QCOMPARE(link->toolTip(), link->url());
            QVERIFY(link->url() != link->text());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(link->font().underline());
            QVERIFY(QUrl(link->url()).host().endsWith(QStringLiteral("example")) ||
                    link->url().endsWith(QStringLiteral("@kelvra.example")));
        }
        QVERIFY(about.emailLink()->url().startsWith(QStringLiteral("mailto:")));
        QVERIFY(about.homePageLink()->url().startsWith(QStringLiteral("https://")));
    }

    void linkTurnsPurpleAfterAnOpenAndBlueAgainAfterAFailure() {
        AboutDialog about;
        HyperlinkControl& control = *about.homePageLink();
        Link link(control);
        link.codes = {42, 31};
        QCOMPARE(control.textColour(), QColor(0, 0, 238));
        QCOMPARE(control.palette().color(QPalette::WindowText), QColor(0, 0, 238));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(&control, Qt::LeftButton);
        QCOMPARE(link.opened, std::vector<QString>{control.url()});
        QVERIFY(control.visited());
        QCOMPARE(control.palette().color(QPalette::WindowText), QColor(85, 26, 139));
        QVERIFY(link.boxes.empty());
        control.click();
        QVERIFY(!control.visited());
        QCOMPARE(control.textColour(), QColor(0, 0, 238));
        QCOMPARE(link.boxes.size(), std::size_t{1});
        // A new box starts unvisited.
        AboutDialog again;
        QVERIFY(!again.homePageLink()->visited());
    }

    void failedOpensReportTheirCode_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("sharing violation keeps its blank")
            << 26 << QStringLiteral("Unable to open hyperlink:\n\nA sharing violation occurred. ");
        QTest::newRow("unknown code")
            << 4 << QStringLiteral("Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
        QTest::newRow("no association (every failure off Windows)")
            << 31
            << QStringLiteral("Unable to open hyperlink:\n\nThere is no application "
                              "associated\nwith the given filename extension.");
        QTest::newRow("out of memory")
            << 0
            << QStringLiteral("Unable to open hyperlink:\n\nThe operating system is out\nof "
                              "memory or resources.");
        QTest::newRow("negative code")
            << -7 << QStringLiteral("Unable to open hyperlink:\n\nUnknown Error (-7) occurred.");
    }

    void failedOpensReportTheirCode() {
        QFETCH(int, code);
        QFETCH(QString, text);
        HyperlinkControl control(QStringLiteral("Kelvra homepage"));
        control.setUrl(QStringLiteral("https://www.kelvra.example/"));
        Link link(control);
        link.codes = {code};
        control.click();
        QCOMPARE(link.boxes.size(), std::size_t{1});
        QCOMPARE(link.boxes[0].text, text);
        QCOMPARE(link.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(link.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!control.visited());
    }

    void everyTableCodeHasItsOwnText() {
        for (int code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32})
            QVERIFY(qpx::ui::HyperlinkErrorText(code).find("Unknown") == std::string::npos);
        QCOMPARE(QString::fromStdString(qpx::ui::HyperlinkErrorText(30)),
                 QStringLiteral("The DDE transaction could not\nbe completed because other DDE "
                                "transactions\nwere being processed."));
    }

    void attachTakesTheTextAsAddressUntilOneIsSet() {
        HyperlinkControl control(QStringLiteral("https://a.example/"));
        QCOMPARE(control.url(), QStringLiteral("https://a.example/"));
        QCOMPARE(control.toolTip(), QStringLiteral("https://a.example/"));
        HyperlinkControl empty(QString{});
        empty.setUrl(QStringLiteral("https://b.example/"));
        QCOMPARE(empty.text(), QStringLiteral("https://b.example/"));
        control.setUnderline(false);
        QVERIFY(!control.font().underline());
        QCOMPARE(control.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        control.setAutoSize(false);
        QCOMPARE(control.sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    }

    void htmFallbackCommandLines_data() {
        QTest::addColumn<QString>("registered");
        QTest::addColumn<QString>("command");
        const QString address = QStringLiteral("https://www.kelvra.example/");
        QTest::newRow("quoted placeholder and what follows are dropped")
            << QStringLiteral("\"C:\\Program Files\\Browser\\browser.exe\" \"%1\" -new-tab")
            << QStringLiteral("\"C:\\Program Files\\Browser\\browser.exe\" ") + address;
        QTest::newRow("bare placeholder") << QStringLiteral("C:\\Browser\\browser.exe %1 /dde")
                                          << QStringLiteral("C:\\Browser\\browser.exe ") + address;
        QTest::newRow("quoted placeholder wins over an earlier bare one")
            << QStringLiteral("browser.exe -x%1 \"%1\"")
            << QStringLiteral("browser.exe -x%1 ") + address;
        QTest::newRow("no placeholder: appended at the end")
            << QStringLiteral("C:\\Browser\\browser.exe -nohome")
            << QStringLiteral("C:\\Browser\\browser.exe -nohome ") + address;
        QTest::newRow("empty command line") << QString() << QStringLiteral(" ") + address;
    }

    void htmFallbackCommandLines() {
        QFETCH(QString, registered);
        QFETCH(QString, command);
        QCOMPARE(QString::fromStdString(qpx::ui::BuildHtmFallbackCommand(
                     registered.toStdString(), "https://www.kelvra.example/")),
                 command);
    }

    void htmClassKey() {
        QCOMPARE(QString::fromStdString(qpx::ui::HtmOpenCommandKey("htmlfile")),
                 QStringLiteral("htmlfile\\shell\\open\\command"));
    }
};

} // namespace

QPX_GUI_TEST(AboutDialogTest)
#include "AboutDialogTest.moc"
