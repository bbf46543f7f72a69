// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Runs the window's tests inside one QApplication, prepared as the program prepares its own,
// with no display needed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include "desktop/application.h"
#include "export/process.h"

int main(int argc, char* argv[]) {
    vantu::prepareProcess();
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        // Listing needs no application, and Qt's start-up messages would garble the list.
        return RUN_ALL_TESTS();
    }
    // CTest sets the offscreen platform too; this covers running the binary by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt's settings and standard places in a test folder of their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    vantu::prepareApplication();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
