// Test main: a QApplication on the offscreen platform unless one is set, so window tests
// run without a display.
#include "widgets/WaitGuard.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // As in the program: windows open when a server wait began refuse to close during it.
    quillon::installWaitGuard();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
