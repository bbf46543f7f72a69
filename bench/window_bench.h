// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What the benchmarks of windows share: one QApplication, and a window shown and exposed.

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

#include "desktop/application.h"

namespace vantu::bench {

// The one QApplication of the benchmarks, created on first use, on the offscreen platform unless
// QT_QPA_PLATFORM names another (QT_QPA_PLATFORM=xcb under a virtual X server measures the
// drawing on a real X server). It lives until the process ends.
inline void ensureApplication() {
    static QApplication* const app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        vantu::prepareApplication();
        static int argc = 1;
        static char name[] = "vantu-bench";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
}

// Shows `window` and waits, at most five seconds, until it can be painted.
inline bool waitUntilExposed(QWidget& window) {
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() != nullptr && window.windowHandle()->isExposed()) &&
           waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return window.windowHandle() != nullptr && window.windowHandle()->isExposed();
}

}  // namespace vantu::bench
