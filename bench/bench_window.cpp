// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Speed of a drawing in the window: the whole Command1_Click for the start-up controls, with its
// 481 yields and its repaints.

#include <benchmark/benchmark.h>

#include "bench/window_bench.h"
#include "render/run_sink.h"
#include "window/form1.h"

namespace {

using vantu::bench::ensureApplication;
using vantu::bench::waitUntilExposed;

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
