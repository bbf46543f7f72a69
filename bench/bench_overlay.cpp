// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The overlays beside the picture they are painted over: building them (projecting and refining
// every curve) and painting them into a 1920 x 1080 picture, against rendering that picture.

#include <benchmark/benchmark.h>

#include <vector>

#include "drawing/picture_overlay.h"
#include "drawing/prepared_picture.h"
#include "setup/triangle_notation.h"

namespace {

// The octahedral start-up triangle at 1920 x 1080 and R = 360, which shows its nine mirrors.
vantu::PictureDescription fullHd() {
    vantu::PictureDescription d;
    d.request.triangleCode = "400 2/1:3/1:4/1";
    d.request.scale = 360.0;
    d.size = {1920, 1080};
    return d;
}

vantu::OverlayOptions lines() {
    vantu::OverlayOptions options;
    options.mirrors = true;
    options.groupMirrors = true;
    options.triangle = true;
    return options;
}

// The overlays of a new view of a triangle solved already, as each turntable frame has them.
void BM_OverlayBuild(benchmark::State& state) {
    const vantu::PictureDescription d = fullHd();
    const vantu::PreparedPicture solved(d, lines());
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantu::pictureOverlay(d, solved.setup(), lines(), solved.marks()));
    }
}
BENCHMARK(BM_OverlayBuild)->Unit(benchmark::kMillisecond);

// The overlay `options` asks for over the 1920 x 1080 picture `d`, painted whole on one thread.
void paintOverlay(benchmark::State& state, const vantu::PictureDescription& d,
                  const vantu::OverlayOptions& options) {
    const vantu::PreparedPicture picture(d, options);
    const vantu::PictureOverlay& o = *picture.overlay();
    std::vector<vantu::PackedColour> pixels(1920 * 1080, vantu::grey);
    for (auto _ : state) {
        o.overlay.paint(pixels);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}

void BM_OverlayPaint(benchmark::State& state) {
    paintOverlay(state, fullHd(), lines());
}
BENCHMARK(BM_OverlayPaint)->Unit(benchmark::kMillisecond);

// The picture the overlay lies over, rendered on one thread.
void BM_OverlayPicture(benchmark::State& state) {
    const vantu::PreparedPicture picture(fullHd());
    std::vector<vantu::PackedColour> row(1920);
    for (auto _ : state) {
        for (int r = 0; r < picture.height(); ++r) {
            picture.renderRow(r, row);
        }
        benchmark::DoNotOptimize(row.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OverlayPicture)->Unit(benchmark::kMillisecond);

// Every mirror of the group of (2 3 7) in the Poincaré disk at 1920 x 1080, the disk as tall as
// the picture (R = 270): the tiles walked out to the disk's edge, then the mirrors painted.
vantu::PictureDescription heptagonalDisk() {
    vantu::PictureDescription d;
    d.request.triangleCode = "2 3 7";
    d.request.notation = vantu::TriangleNotation::schwarz;
    d.request.scale = 270.0;
    d.size = {1920, 1080};
    return d;
}

vantu::OverlayOptions groupOnly() {
    vantu::OverlayOptions options;
    options.groupMirrors = true;
    return options;
}

void BM_PlaneGroupMirrorsBuild(benchmark::State& state) {
    const vantu::PictureDescription d = heptagonalDisk();
    const vantu::PreparedPicture solved(d, groupOnly());
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            vantu::pictureOverlay(d, solved.setup(), groupOnly(), solved.marks()));
    }
}
BENCHMARK(BM_PlaneGroupMirrorsBuild)->Unit(benchmark::kMillisecond);

void BM_PlaneGroupMirrorsPaint(benchmark::State& state) {
    paintOverlay(state, heptagonalDisk(), groupOnly());
}
BENCHMARK(BM_PlaneGroupMirrorsPaint)->Unit(benchmark::kMillisecond);

}  // namespace
