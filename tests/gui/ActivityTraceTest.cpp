#include "ui/ActivityTrace.h"

#include "gui/GuiTestRegistry.h"
#include "ui/ColourControl.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using qpx::ui::ActivityTrace;
using qpx::ui::ColourElement;
using qpx::ui::kDefaultColour;
using qpx::ui::Rgb;

// The picture as rows of '#' (line) and '.' (background).
QStringList Rows(const QImage& image, QColor line) {
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x)
            row += image.pixelColor(x, y) == line ? QLatin1Char('#') : QLatin1Char('.');
        rows << row;
    }
    return rows;
}

// Worked out by hand from the row formula (vertices 7,0 0 7 12 12 6 for rows 0..6, m = 7) and
// segments that leave out their end pixel.
const QStringList kStrip14x7{
    QStringLiteral("....####......"), QStringLiteral("####.........."),
    QStringLiteral("####.........."), QStringLiteral("....######...."),
    QStringLiteral("..........###."), QStringLiteral(".........####."),
    QStringLiteral(".......##....."),
};

class ActivityTraceTest : public QObject {
    Q_OBJECT
private slots:
    void verticesFollowTheRowFormulaWithTruncation() {
        const auto points = qpx::ui::TraceVertices(14, 14);
        QCOMPARE(points.size(), std::size_t{15});
        QCOMPARE(points.front(), QPoint(7, 0)); // the centre of the top edge comes first
        // Row 6 comes out at 6.9999988 and must truncate to 6, row 3 at 7.0000006 to 7.
        const int expected[] = {7, 0, 0, 7, 12, 12, 6, 1, 1, 7, 12, 12, 6, 2};
        for (int i = 0; i < 14; ++i)
            QCOMPARE(points[static_cast<std::size_t>(i) + 1], QPoint(expected[i], i));
    }

    void fourteenPixelStripIsDrawnPixelForPixel() {
        const QImage image = qpx::ui::DrawTrace(QSize(14, 7), Qt::black, QColor(0, 255, 0));
        QCOMPARE(Rows(image, QColor(0, 255, 0)), kStrip14x7);
    }

    void tallStripStaysBetweenTheEdgesAndIsUnbroken() {
        // Over whole envelopes the line swings across the strip; x = 14 falls outside a
        // 14-pixel area and is clipped, every other row holds line pixels.
        const QImage image = qpx::ui::DrawTrace(QSize(14, 240), Qt::black, Qt::green);
        int leftmost = 14;
        int rightmost = -1;
        for (int y = 0; y < image.height() - 1; ++y) {
            bool any = false;
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == QColor(Qt::green)) {
                    any = true;
                    leftmost = std::min(leftmost, x);
                    rightmost = std::max(rightmost, x);
                }
            }
            QVERIFY2(any, qPrintable(QStringLiteral("row %1 has no line").arg(y)));
        }
        QCOMPARE(leftmost, 0);
        QCOMPARE(rightmost, 13);
    }

    void widgetShowsItsBufferInsideTheSunkenFrame() {
        QWidget parent;
        auto* trace = new ActivityTrace(&parent, Qt::black, QColor(0, 255, 0));
        const int frame = trace->frameWidth();
        trace->setGeometry(0, 0, 14 + 2 * frame, 7 + 2 * frame);
        parent.resize(40, 40);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        trace->prepareBuffer();
        trace->redraw();
        QCOMPARE(trace->buffer().size(), QSize(14, 7));
        const QImage shown =
            trace->grab(trace->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(Rows(shown.scaled(14, 7), QColor(0, 255, 0)), kStrip14x7);
    }

    void emptyAreaDrawsNothing() {
        QVERIFY(qpx::ui::TraceVertices(0, 10).empty());
        QVERIFY(qpx::ui::DrawTrace(QSize(0, 0), Qt::black, Qt::green).isNull());
    }

    void colourResolutionByElement_data() {
        QTest::addColumn<quint32>("text");
        QTest::addColumn<quint32>("background");
        QTest::addColumn<int>("element");
        QTest::addColumn<bool>("platform");
        QTest::addColumn<int>("textRole");       // palette role, or -1 for the colour given
        QTest::addColumn<int>("backgroundRole"); // palette role, or -1 for the colour given
        const int given = -1;
        const auto button = static_cast<int>(ColourElement::Button);
        const auto edit = static_cast<int>(ColourElement::Edit);
        const auto list = static_cast<int>(ColourElement::ListBox);
        const auto label = static_cast<int>(ColourElement::Static);
        const auto scroll = static_cast<int>(ColourElement::ScrollBar);
        QTest::newRow("both default")
            << kDefaultColour << kDefaultColour << button << true << 0 << 0;
        QTest::newRow("white behind a button") << kDefaultColour << Rgb(255, 255, 255) << button
                                               << false << int(QPalette::ButtonText) << given;
        QTest::newRow("white behind a static") << kDefaultColour << Rgb(255, 255, 255) << label
                                               << false << int(QPalette::WindowText) << given;
        QTest::newRow("green text in an edit")
            << Rgb(0, 255, 0) << kDefaultColour << edit << false << given << int(QPalette::Base);
        QTest::newRow("green text in a list")
            << Rgb(0, 255, 0) << kDefaultColour << list << false << given << int(QPalette::Base);
        QTest::newRow("green text on a static")
            << Rgb(0, 255, 0) << kDefaultColour << label << false << given << int(QPalette::Button);
        QTest::newRow("scroll bar keeps its own")
            << Rgb(0, 255, 0) << kDefaultColour << scroll << true << 0 << 0;
        QTest::newRow("both given")
            << Rgb(0, 255, 0) << Rgb(0, 0, 0) << edit << false << given << given;
    }

    void colourResolutionByElement() {
        QFETCH(quint32, text);
        QFETCH(quint32, background);
        QFETCH(int, element);
        QFETCH(bool, platform);
        QFETCH(int, textRole);
        QFETCH(int, backgroundRole);
        QPalette system;
        system.setColor(QPalette::ButtonText, QColor(1, 2, 3));
        system.setColor(QPalette::WindowText, QColor(4, 5, 6));
        system.setColor(QPalette::Base, QColor(7, 8, 9));
        system.setColor(QPalette::Button, QColor(10, 11, 12));
        const auto colours =
            qpx::ui::ResolveColours(text, background, static_cast<ColourElement>(element), system);
        QCOMPARE(colours.platform, platform);
        if (platform)
            return;
        QCOMPARE(colours.text, textRole < 0 ? qpx::ui::ToQColor(text)
                                            : system.color(QPalette::ColorRole(textRole)));
        QCOMPARE(colours.background, backgroundRole < 0
                                         ? qpx::ui::ToQColor(background)
                                         : system.color(QPalette::ColorRole(backgroundRole)));
    }

    void controlGetsItsPlainLookBackWithBothDefault() {
        QRadioButton plain(QStringLiteral("&Metric"));
        QRadioButton coloured(QStringLiteral("&Metric"));
        qpx::ui::ColourControl control(&coloured, ColourElement::Button);
        control.setBackgroundColour(Rgb(255, 255, 255));
        QCOMPARE(coloured.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(coloured.palette().color(QPalette::ButtonText),
                 QApplication::palette(&coloured).color(QPalette::ButtonText));
        QVERIFY(coloured.autoFillBackground());
        control.setBackgroundColour(kDefaultColour);
        QCOMPARE(coloured.palette(), plain.palette());
        QCOMPARE(coloured.autoFillBackground(), plain.autoFillBackground());
    }
};

} // namespace

QPX_GUI_TEST(ActivityTraceTest)
#include "ActivityTraceTest.moc"
