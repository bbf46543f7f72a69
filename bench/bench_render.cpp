// Speed of the drawing core: the whole 640 x 481 scan of the start-up request.

#include <benchmark/benchmark.h>

#include <array>

#include "render/image_sink.h"
#include "render/projections.h"
#include "render/render_picture.h"
#include "render/scan.h"
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

// The same scan with other ways of finding faults, for comparison: none at all, and an explicit
// test of every stored value in every row.
template <class Mapping, bool checkEveryValue>
void BM_Scan(benchmark::State& state) {
    const vantu::DrawSetup setup = vantu::prepareDrawing(vantu::DrawRequest{});
    const vantu::detail::ScanInput input{120.0, setup.pi, setup.normals};
    const vantu::detail::SampleLayout layout;
    std::array<vantu::PackedColour, vantu::pictureWidth> colours{};
    vantu::ImageSink sink;
    for (auto _ : state) {
        for (int row = 0; row < vantu::pictureHeight; ++row) {
            const auto scanRow = [&](auto& check) {
                vantu::detail::computeRow<Mapping>(
                    row, input, layout, check,
                    [&](int col) { return Mapping::abscissa(col, input.scale, check); },
                    colours.data());
            };
            if constexpr (checkEveryValue) {
                vantu::detail::Checked check(input.scale, row);
                scanRow(check);
            } else {
                vantu::detail::Unchecked check;
                scanRow(check);
            }
            vantu::detail::emitRuns(row, colours.data(), vantu::pictureWidth, true, sink);
            sink.endRow(row);
        }
        benchmark::DoNotOptimize(sink.pixels().data());
        benchmark::ClobberMemory();
    }
    constexpr double pixels = vantu::pictureWidth * vantu::pictureHeight;
    state.counters["per_pixel"] = benchmark::Counter(
        pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK_TEMPLATE(BM_Scan, vantu::detail::Stereographic, false)
    ->Name("BM_ScanWithoutChecks/stereo")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Scan, vantu::detail::Stereographic, true)
    ->Name("BM_ScanCheckingEveryValue/stereo")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Scan, vantu::detail::Orthographic, false)
    ->Name("BM_ScanWithoutChecks/ortho")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
