#include "gui/GuiTestRegistry.h"

#include <QGuiApplication>
#include <QTest>

namespace {

class SmokeTest : public QObject {
    Q_OBJECT
private slots:
    void runsOnTheOffscreenPlatform() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    }
};

} // namespace

QPX_GUI_TEST(SmokeTest)
#include "SmokeTest.moc"
