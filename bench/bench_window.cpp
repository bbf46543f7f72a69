// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Speed of a drawing in the window: the whole Command1_Click for the start-up controls, with its
// 481 yields and its repaints.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include "render/run_sink.h"
#include "window/application.h"
#include "window/form1.h"

namespace {

// The one QApplication of the benchmarks, created on first use, on the offscreen platform unless
// QT_QPA_PLATFORM names another (QT_QPA_PLATFORM=xcb under a virtual X server measures the
// drawing on a real X server). It lives until the process ends.
void ensureApplication() {
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
bool waitUntilExposed(QWidget& window) {
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() != nullptr && window.windowHandle()->isExposed()) &&
           waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return window.windowHandle() != nullptr && window.windowHandle()->isExposed();
}

void BM_WindowDrawing(benchmark::State& state, QRadioButton* const vantu::Form1::*projection) {
    ensureApplication();
    vantu::Form1 form;
    bool failed = false;
    form.setErrorReporter([&failed](QWidget*, const QString&) { failed = true; });
    (form.*projection)->setChecked(true);
    if (!waitUntilExposed(form)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    for (auto _ : state) {
        form.Command1_Click();
    }
    if (failed) {
        state.SkipWithError("the drawing failed");
    }
    constexpr double pixels = vantu::pictureWidth * vantu::pictureHeight;
    state.counters["per_pixel"] = benchmark::Counter(
        pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pixels));
}

BENCHMARK_CAPTURE(BM_WindowDrawing, stereo, &vantu::Form1::Option4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WindowDrawing, gnome, &vantu::Form1::Option5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WindowDrawing, ortho, &vantu::Form1::Option6)->Unit(benchmark::kMillisecond);

}  // namespace
