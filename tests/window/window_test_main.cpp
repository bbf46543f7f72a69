// Runs the window's tests inside one QApplication, prepared as the program prepares its own,
// with no display needed.

#include <gtest/gtest.h>

#include <QApplication>

#include "window/application.h"

int main(int argc, char* argv[]) {
    // CTest sets the offscreen platform too; this covers running the binary by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    vantu::prepareApplication();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
