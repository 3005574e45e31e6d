#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace qpx::test {

// Qt Test runs one QObject class per qExec; the GUI tests have many classes in one executable,
// so each registers a maker here and the main runs them all (or those named on the command
// line with -class NAME).
using GuiTestMaker = std::function<std::unique_ptr<QObject>()>;

std::vector<GuiTestMaker>& GuiTests();

template <typename T>
struct RegisterGuiTest {
    RegisterGuiTest() {
        GuiTests().push_back([] { return std::make_unique<T>(); });
    }
};

} // namespace qpx::test

// Put after the class definition in a test file: QPX_GUI_TEST(MainDialogTest)
#define QPX_GUI_TEST(Class) static const ::qpx::test::RegisterGuiTest<Class> kRegister##Class;
