// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The Explorer's speed: one whole frame as it draws them, on all cores, and how long the
// interface thread goes without handling its events while the sphere spins and frames come.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>

#include "bench/window_bench.h"
#include "explorer/explorer.h"
#include "explorer/frame_marks.h"
#include "explorer/frame_renderer.h"
#include "explorer/generating_point.h"
#include "explorer/picture_view.h"
#include "explorer/polyhedron_view.h"
#include "geometry/raster.h"

namespace {

// A frame of `width` x `height` window pixels of the start-up code, stereographic, with R a
// quarter of the height, so that the sphere's equator spans the picture's height as it does in
// the window's 640 x 481 at R = 120; or of `triangle` in the usual notation, whose Poincare disk,
// of radius 2R, then spans it.
void BM_ExplorerFrame(benchmark::State& state, int width, int height,
                      const char* triangle = nullptr) {
    vantu::PictureDescription description;
    description.size = {width, height};
    description.request.scale = height / 4.0;
    if (triangle != nullptr) {
        description.request.triangleCode = triangle;
        description.request.notation = vantu::TriangleNotation::schwarz;
    }
    vantu::explorer::FrameRenderer renderer;
    for (auto _ : state) {
        std::optional<QImage> frame = renderer.render(description);
        benchmark::DoNotOptimize(frame->constBits());
        // As the Explorer does once the next frame is on the screen.
        renderer.recycle(std::move(*frame));
    }
    const double pixels = static_cast<double>(width) * height;
    state.counters["per_pixel"] = benchmark::Counter(
        pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["threads"] = renderer.threads();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pixels));
}

BENCHMARK_CAPTURE(BM_ExplorerFrame, 1920x1080, 1920, 1080)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExplorerFrame, 3840x2160, 3840, 2160)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExplorerFrame, 3840x2160 / poincare, 3840, 2160, "2 3 7")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same frame with every mark over it, as the Explorer draws it while the view changes: the
// triangle solved and its marks found once, the picture prepared again for each frame from the
// last (its normals turned, its overlay made), the overlay painted into its rows, the labels
// painted into the frame.
// With `triangle`, a triangle of the hyperbolic plane in the usual notation: its Poincare disk
// as tall as the frame with every mirror of its group marked, and no other mark.
void BM_ExplorerMarkedFrame(benchmark::State& state, int width, int height,
                            const char* triangle = nullptr) {
    vantu::bench::ensureApplication();
    vantu::PictureDescription description;
    description.size = {width, height};
    description.request.scale = height / 4.0;
    vantu::explorer::FrameMarks marks;
    marks.overlays = {true, true, true, true};
    if (triangle != nullptr) {
        description.request.triangleCode = triangle;
        description.request.notation = vantu::TriangleNotation::schwarz;
        marks.overlays = {};
        marks.overlays.groupMirrors = true;
    }
    marks.font.setBold(true);
    marks.font.setPixelSize(13);
    const vantu::PreparedPicture solved(description, marks.overlays);
    vantu::explorer::FrameRenderer renderer;
    for (auto _ : state) {
        const vantu::PreparedPicture picture = solved.redescribed(description, marks.overlays);
        std::optional<vantu::explorer::MarkedFrame> frame =
            vantu::explorer::renderMarked(renderer, picture, marks.font);
        benchmark::DoNotOptimize(frame->image.constBits());
        renderer.recycle(std::move(frame->image));
    }
    state.counters["threads"] = renderer.threads();
}

BENCHMARK_CAPTURE(BM_ExplorerMarkedFrame, 1920x1080, 1920, 1080)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExplorerMarkedFrame, 1920x1080 / (2 3 7)group, 1920, 1080, "2 3 7")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// An Explorer of `width` x `height` window pixels (offscreen unless QT_QPA_PLATFORM says
// otherwise), shown and exposed; nothing, the benchmark skipped saying so, when it never is.
std::unique_ptr<vantu::explorer::Explorer> exposedExplorer(benchmark::State& state, int width,
                                                           int height) {
    vantu::bench::ensureApplication();
    auto explorer = std::make_unique<vantu::explorer::Explorer>();
    explorer->resize(width, height);
    if (!vantu::bench::waitUntilExposed(*explorer)) {
        state.SkipWithError("the window was never exposed");
        return nullptr;
    }
    return explorer;
}

// The Explorer spinning in a window of `width` x `height` (offscreen unless QT_QPA_PLATFORM says
// otherwise) for half a second an iteration, its frames drawn meanwhile; a timer on the event
// loop every millisecond. longest_stall_ms: the longest the loop went between two of its ticks,
// less the millisecond it waits, over the whole run; frames: frames shown a second.
void BM_ExplorerStall(benchmark::State& state, int width, int height) {
    const std::unique_ptr<vantu::explorer::Explorer> shown = exposedExplorer(state, width, height);
    if (!shown) {
        return;
    }
    vantu::explorer::Explorer& explorer = *shown;
    int frames = 0;
    QObject::connect(&explorer.frames(), &vantu::explorer::FrameSource::frameReady, &explorer,
                     [&frames] { ++frames; });
    qint64 longest = 0;
    QElapsedTimer sinceTick;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.start();
    });
    QAction* const spin = explorer.findChild<QAction*>(QStringLiteral("spin"));
    for (auto _ : state) {
        spin->trigger();
        sinceTick.start();
        probe.start(1);
        QEventLoop loop;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        loop.exec();
        probe.stop();
        spin->trigger();
    }
    const double seconds = 0.5 * static_cast<double>(state.iterations());
    state.counters["longest_stall_ms"] = std::max(0.0, static_cast<double>(longest) / 1e6 - 1.0);
    state.counters["frames_per_second"] = frames / seconds;
}

BENCHMARK_CAPTURE(BM_ExplorerStall, 1280x800, 1280, 800)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);
BENCHMARK_CAPTURE(BM_ExplorerStall, 1920x1080, 1920, 1080)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);

// A drag of the generating point in the Explorer at `width` x `height`: from the mouse's move on
// the picture to the new polyhedron on the screen, its polyhedron built, its facts found, its faces
// filled, uploaded and painted (grabFramebuffer paints the view and reads it back, which the
// screen would not wait for). The point moves a window pixel either way inside (2 3 5), so that
// each move builds the 120 vertices of a point of no symmetry. painted: 1 where the platform gives
// OpenGL (run under xvfb-run with QT_QPA_PLATFORM=xcb otherwise), 0 where only the polyhedron is
// built.
void BM_ExplorerPointDrag(benchmark::State& state, int width, int height) {
    const std::unique_ptr<vantu::explorer::Explorer> shown = exposedExplorer(state, width, height);
    if (!shown) {
        return;
    }
    vantu::explorer::Explorer& explorer = *shown;
    auto* const code = explorer.findChild<QComboBox*>(QStringLiteral("code"));
    code->setEditText(QStringLiteral("2 3 5"));
    explorer.findChild<QAction*>(QStringLiteral("showPolyhedron"))->trigger();
    explorer.findChild<QAction*>(QStringLiteral("movePoint"))->trigger();
    auto* const picture =
        explorer.findChild<vantu::explorer::PictureView*>(QStringLiteral("picture"));
    auto* const view =
        explorer.findChild<vantu::explorer::PolyhedronView*>(QStringLiteral("polyhedronView"));
    QElapsedTimer waited;
    waited.start();
    while (!(explorer.isCurrent() && explorer.shown() &&
             explorer.shown()->description.request.triangleCode == "2 3 5") &&
           waited.elapsed() < 30000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const vantu::WythoffTriangle triangle = vantu::wythoffTriangle(explorer.wanted().request);
    const std::optional<vantu::PicturePosition> at = vantu::explorer::framePositionOf(
        *explorer.shown()->picture, vantu::pointOf(triangle, vantu::GeneratingPoint::incentre()));
    if (!at) {
        state.SkipWithError("the picture does not show the incentre");
        return;
    }
    const double ratio = picture->devicePixelRatioF();
    // A little off the incentre, so that no move snaps to it.
    const QPointF centre(at->col / ratio + 10.0, at->row / ratio + 10.0);
    const auto send = [picture](QEvent::Type type, QPointF where, Qt::MouseButtons buttons) {
        QMouseEvent event(type, where, picture->mapToGlobal(where),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(picture, &event);
    };
    send(QEvent::MouseButtonPress, centre, Qt::LeftButton);
    const bool painted = !view->grabFramebuffer().isNull();
    double step = 1.0;
    for (auto _ : state) {
        send(QEvent::MouseMove, centre + QPointF(step, 0.0), Qt::LeftButton);
        step = -step;
        if (painted) {
            benchmark::DoNotOptimize(view->grabFramebuffer().constBits());
        }
    }
    send(QEvent::MouseButtonRelease, centre, Qt::NoButton);
    state.counters["painted"] = painted ? 1 : 0;
    state.counters["vertices"] =
        explorer.polyhedron() ? static_cast<double>(explorer.polyhedron()->vertices.size()) : 0.0;
}

BENCHMARK_CAPTURE(BM_ExplorerPointDrag, 1920x1080, 1920, 1080)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
