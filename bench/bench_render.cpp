// Speed of the drawing core: the whole 640 x 481 scan of the start-up request.

#include <benchmark/benchmark.h>

#include "render/image_sink.h"
#include "render/render_picture.h"
#include "setup/draw_request.h"

namespace {

void BM_RenderPicture(benchmark::State& state, vantu::Projection projection) {
    vantu::DrawRequest request;
    request.projection = projection;
    const vantu::DrawSetup setup = vantu::prepareDrawing(request);
    vantu::ImageSink sink;
    for (auto _ : state) {
        vantu::renderPicture(request.scale, setup.pi, projection, setup.normals, sink);
        benchmark::DoNotOptimize(sink.pixels().data());
        benchmark::ClobberMemory();
    }
    constexpr double pixels = vantu::pictureWidth * vantu::pictureHeight;
    state.counters["per_pixel"] = benchmark::Counter(
        pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pixels));
}

BENCHMARK_CAPTURE(BM_RenderPicture, stereo, vantu::Projection::stereographic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPicture, gnome, vantu::Projection::gnomonic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPicture, ortho, vantu::Projection::orthographic)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
