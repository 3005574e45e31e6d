#include "gui/GuiTestRegistry.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <cstring>

namespace qpx::test {

std::vector<GuiTestMaker>& GuiTests() {
    static std::vector<GuiTestMaker> tests;
    return tests;
}

} // namespace qpx::test

// Runs every registered test class; "-class NAME" (repeatable) restricts the run, every other
// argument goes to Qt Test unchanged (for example a test function name or -v2).
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStringList only;
    QStringList passOn{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-class") == 0 && i + 1 < argc) {
            only << QString::fromLocal8Bit(argv[++i]);
        } else {
            passOn << QString::fromLocal8Bit(argv[i]);
        }
    }
    int failures = 0;
    for (const auto& make : qpx::test::GuiTests()) {
        auto test = make();
        if (!only.isEmpty() && !only.contains(test->metaObject()->className()))
            continue;
        failures += QTest::qExec(test.get(), passOn);
    }
    return failures == 0 ? 0 : 1;
}
