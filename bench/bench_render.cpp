// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Speed of the drawing core: the whole 640 x 481 scan of the start-up request, with the fast
// kernels and, for comparison, with the exact computation for every pixel.

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include "drawing/prepared_picture.h"
#include "geometry/projection.h"
#include "render/fine_picture.h"
#include "render/image_sink.h"
#include "render/render_picture.h"
#include "render/scan.h"
#include "setup/draw_request.h"

namespace {

constexpr double pixels = vantu::pictureWidth * vantu::pictureHeight;

// The start-up picture in `projection`, as the window draws it.
vantu::PictureDescription startUp(vantu::Projection projection) {
    vantu::PictureDescription description;
    description.request.projection = projection;
    return description;
}

// The share of the picture's samples that the exact computation decided.
double exactShare(const vantu::PictureDescription& description) {
    const vantu::PreparedPicture picture(description);
    std::vector<vantu::PackedColour> row(static_cast<std::size_t>(picture.width()));
    long exact = 0;
    for (int r = 0; r < picture.height(); ++r) {
        exact += picture.renderRow(r, row);
    }
    return static_cast<double>(exact) / pixels;
}

void perPixel(benchmark::State& state) {
    state.counters["per_pixel"] = benchmark::Counter(
        pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pixels));
}

// The window's whole drawing: the set-up, the scan and the runs into an image; `triangle`, in the
// usual notation, for another triangle than the start-up's.
void BM_RenderPicture(benchmark::State& state, vantu::Projection projection,
                      const char* triangle = nullptr) {
    vantu::PictureDescription description = startUp(projection);
    if (triangle != nullptr) {
        description.request.triangleCode = triangle;
        description.request.notation = vantu::TriangleNotation::schwarz;
    }
    vantu::ImageSink sink;
    for (auto _ : state) {
        vantu::runDrawing(description, sink);
        benchmark::DoNotOptimize(sink.pixels().data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
    state.counters["exact_share"] = exactShare(description);
}

BENCHMARK_CAPTURE(BM_RenderPicture, stereo, vantu::Projection::stereographic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPicture, gnome, vantu::Projection::gnomonic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPicture, ortho, vantu::Projection::orthographic)
    ->Unit(benchmark::kMillisecond);
// (2 3 7) in the Poincare disk, beside the start-up triangle's stereographic picture.
BENCHMARK_CAPTURE(BM_RenderPicture, poincare, vantu::Projection::stereographic, "2 3 7")
    ->Unit(benchmark::kMillisecond);
// The other models of the hyperbolic plane, and the Euclidean plane.
BENCHMARK_CAPTURE(BM_RenderPicture, klein, vantu::Projection::gnomonic, "2 3 7")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPicture, gans, vantu::Projection::orthographic, "2 3 7")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPicture, halfplane, vantu::Projection::halfplane, "2 3 7")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPicture, euclidean, vantu::Projection::stereographic, "2 3 6")
    ->Unit(benchmark::kMillisecond);

// The same picture with the exact computation for every pixel, as the scan made it before the
// fast kernels (without checks: the fault flags decide, as in the fast pass), with the C
// library's arctangent, sine and cosine; and, for stereo, with an explicit check of every stored
// value.
template <class Mapping, bool checkEveryValue>
void BM_Scan(benchmark::State& state) {
    const vantu::DrawSetup setup = vantu::prepareDrawing(vantu::DrawRequest{});
    vantu::detail::ScanInput input;
    input.pi = setup.pi;
    input.normals = setup.normals;
    std::array<vantu::PackedColour, vantu::pictureWidth> colours{};
    vantu::ImageSink sink;
    for (auto _ : state) {
        for (int row = 0; row < vantu::pictureHeight; ++row) {
            const auto scanRow = [&](auto& check) {
                vantu::detail::computeRow<Mapping>(
                    row, input, check,
                    [&](int col) { return Mapping::abscissa(col, input.plane, check); },
                    colours.data());
            };
            if constexpr (checkEveryValue) {
                vantu::detail::Checked check(input.plane.scale, row);
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
    perPixel(state);
}

using LibraryStereographic = vantu::detail::StereographicWith<vantu::detail::LibraryFunctions>;
using LibraryGnomonic = vantu::detail::GnomonicWith<vantu::detail::LibraryFunctions>;

BENCHMARK_TEMPLATE(BM_Scan, LibraryStereographic, false)
    ->Name("BM_ExactScan/stereo")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Scan, LibraryGnomonic, false)
    ->Name("BM_ExactScan/gnome")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Scan, vantu::detail::Orthographic, false)
    ->Name("BM_ExactScan/ortho")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Scan, LibraryStereographic, true)
    ->Name("BM_ScanCheckingEveryValue/stereo")
    ->Unit(benchmark::kMillisecond);

// One pixel of the exact path: the point of the sphere and its colour, with the C library's
// functions and with the correctly rounded ones that define a drawing.
template <class Mapping>
void BM_ExactPixel(benchmark::State& state) {
    const vantu::DrawSetup setup = vantu::prepareDrawing(vantu::DrawRequest{});
    vantu::detail::Unchecked check;
    const vantu::detail::Plane plane;
    const double y = Mapping::ordinate(100.0, plane, check);
    int col = 0;
    for (auto _ : state) {
        const double x = Mapping::abscissa(col, plane, check);
        vantu::Vec3 p;
        const bool shown = Mapping::toSphere(x, y, y * y, setup.pi, check, p);
        benchmark::DoNotOptimize(shown ? vantu::detail::colourOf(p, setup.normals) : 0);
        col = (col + 1) % vantu::pictureWidth;
    }
}

BENCHMARK_TEMPLATE(BM_ExactPixel, LibraryStereographic)->Name("BM_ExactPixel/stereo/library");
BENCHMARK_TEMPLATE(BM_ExactPixel, vantu::detail::Stereographic)
    ->Name("BM_ExactPixel/stereo/correctly_rounded");

// One kernel variant over the rows of the start-up picture, for each variant this processor
// runs: the fast pass alone, with the exact computation of its undecided samples.
void BM_KernelVariant(benchmark::State& state, vantu::Projection projection) {
    const auto variants = vantu::builtKernelVariants();
    const auto index = static_cast<std::size_t>(state.range(0));
    if (index >= variants.size() || !vantu::runsHere(variants[index])) {
        state.SkipWithError("this processor does not run the variant");
        return;
    }
    state.SetLabel(vantu::nameOf(variants[index]));
    vantu::PreparedPicture picture(startUp(projection));
    picture.useKernels(variants[index]);
    std::vector<vantu::PackedColour> row(static_cast<std::size_t>(picture.width()));
    for (auto _ : state) {
        for (int r = 0; r < picture.height(); ++r) {
            picture.renderRow(r, row);
        }
        benchmark::DoNotOptimize(row.data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
}

BENCHMARK_CAPTURE(BM_KernelVariant, stereo, vantu::Projection::stereographic)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KernelVariant, ortho, vantu::Projection::orthographic)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);

// Rendering alone of the 5120 x 3848 stereographic picture (zoom 8), its rows shared by
// `threads` threads, each row coloured into a buffer of the thread's and dropped.
void BM_RenderZoom8(benchmark::State& state) {
    vantu::PictureDescription description;
    description.sampling = {8, 1};
    const vantu::PreparedPicture picture(description);
    const auto threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::atomic<int> next{0};
        const auto work = [&] {
            std::vector<vantu::PackedColour> row(static_cast<std::size_t>(picture.width()));
            for (int r = next++; r < picture.height(); r = next++) {
                picture.renderRow(r, row);
            }
            benchmark::DoNotOptimize(row.data());
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) {
            pool.emplace_back(work);
        }
        work();
        for (std::thread& t : pool) {
            t.join();
        }
    }
    state.counters["per_sample"] = benchmark::Counter(
        static_cast<double>(picture.width()) * picture.height(),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_RenderZoom8)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
