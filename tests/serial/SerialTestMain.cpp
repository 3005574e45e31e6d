#include <QCoreApplication>

#include <gtest/gtest.h>

// The backend waits on a local event loop, which needs an application object, as in the programs.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
