// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Speed of the finer sampling, beside the window's scan: per sample, and the budgets of
// vantu-render's print-quality export and gallery, files included, on one and on two threads.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/export.h"
#include "cli/gallery.h"
#include "drawing/prepared_picture.h"
#include "export/output_file.h"
#include "render/fine_picture.h"

namespace {

vantu::PreparedPicture startUpPicture(vantu::Projection projection, vantu::Sampling sampling) {
    vantu::PictureDescription description;
    description.request.projection = projection;
    description.sampling = sampling;
    return vantu::PreparedPicture(description);
}

// Every 16th row of the 5120 x 3848 picture (zoom 8), on one thread: the cost per sample.
void BM_FineRows(benchmark::State& state, vantu::Projection projection) {
    const vantu::PreparedPicture picture = startUpPicture(projection, {8, 1});
    std::vector<vantu::PackedColour> row(static_cast<std::size_t>(picture.width()));
    long samples = 0;
    for (auto _ : state) {
        for (int r = 0; r < picture.height(); r += 16) {
            picture.renderRow(r, row);
            samples += picture.width();
        }
        benchmark::DoNotOptimize(row.data());
        benchmark::ClobberMemory();
    }
    state.counters["per_sample"] = benchmark::Counter(
        static_cast<double>(samples), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(BM_FineRows, stereo, vantu::Projection::stereographic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FineRows, ortho, vantu::Projection::orthographic)
    ->Unit(benchmark::kMillisecond);

// The window-size picture with 4 x 4 samples per pixel.
void BM_FineAntialias(benchmark::State& state) {
    const vantu::PreparedPicture picture = startUpPicture(vantu::Projection::stereographic, {1, 4});
    std::vector<vantu::PackedColour> row(static_cast<std::size_t>(picture.width()));
    for (auto _ : state) {
        for (int r = 0; r < picture.height(); ++r) {
            picture.renderRow(r, row);
        }
        benchmark::DoNotOptimize(row.data());
        benchmark::ClobberMemory();
    }
    state.counters["per_sample"] = benchmark::Counter(
        16.0 * vantu::pictureWidth * vantu::pictureHeight,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_FineAntialias)->Unit(benchmark::kMillisecond);

// The whole export path of the 5120 x 3848 stereographic picture (zoom 8) on `jobs` threads:
// rendering, the palette PNG's encoding and a file in the scratch folder, written, synced and
// renamed into place. Beside BM_RenderZoom8, the rendering alone.
void BM_ExportZoom8(benchmark::State& state) {
    const vantu::PreparedPicture picture = startUpPicture(vantu::Projection::stereographic, {8, 1});
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("vantu-bench-export-" + std::to_string(::getpid()) + ".png");
    vantu::cli::ExportSettings settings;
    settings.work.jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        vantu::OutputFile file = vantu::OutputFile::replacing(path);
        vantu::cli::exportPicture(picture, file, settings);
        file.commit();
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

BENCHMARK(BM_ExportZoom8)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 132 pictures of the gallery and its page, written to a scratch folder, on `jobs` threads.
void BM_Gallery(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    const std::vector<vantu::cli::GalleryPicture> pictures = vantu::cli::galleryPictures(false);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("vantu-bench-gallery-" + std::to_string(::getpid()));
    for (auto _ : state) {
        vantu::cli::writeGallery(folder, pictures, vantu::cli::GallerySettings{},
                                 {jobs, nullptr, {}});
    }
    std::filesystem::remove_all(folder);
}

BENCHMARK(BM_Gallery)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
