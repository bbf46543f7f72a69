// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Speed of a turntable: its frames rendered, each row by row on one or two threads as
// vantu-render shares out the rows of a picture, and, apart from that, a frame encoded as PNG
// and as a frame of an animated WebP, now and as it was before.

#include <benchmark/benchmark.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "cli/export.h"
#include "cli/resources.h"
#include "cli/turntable.h"
#include "drawing/prepared_picture.h"
#include "export/output_file.h"
#include "export/picture_writer.h"
#include "export/png_writer.h"
#include "render/sample_grid.h"
#include "threads/ordered_work.h"

namespace {

// The frames of one turn.
constexpr int turntableFrames = 36;

// Frame k of the start-up picture's turntable at `size`.
vantu::PictureDescription turntableFrame(vantu::PictureSize size, int k) {
    vantu::PictureDescription description;
    description.size = size;
    description.view =
        vantu::cli::frameView(description.view, k, turntableFrames, vantu::Geometry::spherical);
    return description;
}

// Renders frame after frame of the turn, each prepared from its description and its rows shared
// out on state.range(0) threads: frames per second, and the cost per pixel to set beside
// BM_RenderPicture's.
void BM_Turntable(benchmark::State& state, vantu::PictureSize size) {
    vantu::OrderedWork work;
    work.count = static_cast<std::size_t>(size.height);
    work.options.jobs = static_cast<int>(state.range(0));
    std::vector<std::vector<vantu::PackedColour>> slots(
        vantu::windowOf(work),
        std::vector<vantu::PackedColour>(static_cast<std::size_t>(size.width)));
    int k = 0;
    for (auto _ : state) {
        const vantu::PreparedPicture picture(turntableFrame(size, k));
        const vantu::WorkOutcome outcome =
            vantu::runOrderedWork(work, [&](std::size_t row, std::size_t slot) {
                picture.renderRow(static_cast<int>(row), slots[slot]);
                benchmark::DoNotOptimize(slots[slot].data());
            });
        if (outcome.failure) {
            state.SkipWithError("a frame did not render");
            break;
        }
        k = (k + 1) % turntableFrames;
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["per_pixel"] = benchmark::Counter(
        static_cast<double>(size.width) * size.height,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(BM_Turntable, 640x481, vantu::PictureSize{640, 481})
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Turntable, 1920x1080, vantu::PictureSize{1920, 1080})
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Frame k of the turn at `size`, rendered beforehand, with its rows one after the other.
std::vector<vantu::PackedColour> renderedFrame(vantu::PictureSize size, int k = 1) {
    const vantu::PreparedPicture picture(turntableFrame(size, k));
    const auto width = static_cast<std::size_t>(picture.width());
    std::vector<vantu::PackedColour> pixels(width * static_cast<std::size_t>(picture.height()));
    for (int r = 0; r < picture.height(); ++r) {
        picture.renderRow(r, std::span(pixels).subspan(static_cast<std::size_t>(r) * width, width));
    }
    return pixels;
}

// That frame encoded as the PNG vantu-render writes for a folder of frames, into /dev/null: the
// encoding's cost per frame, on one thread. The encodings run on vantu-render's heap.
void BM_EncodeFrame(benchmark::State& state) {
    vantu::cli::setUpHeap();
    const vantu::PictureSize size{1920, 1080};
    const std::vector<vantu::PackedColour> pixels = renderedFrame(size);
    const vantu::PngFormat format = vantu::cli::pngFormatOf(vantu::SampleGrid(size, {}), false);
    const auto width = static_cast<std::size_t>(size.width);
    for (auto _ : state) {
        vantu::OutputFile file = vantu::OutputFile::replacing("/dev/null");
        vantu::PngWriter writer(file, format);
        for (std::size_t r = 0; r < static_cast<std::size_t>(size.height); ++r) {
            writer.writeRow(std::span(pixels).subspan(r * width, width));
        }
        writer.finish();
        file.commit();
    }
}

BENCHMARK(BM_EncodeFrame)->Name("BM_EncodeFrame/png")->Unit(benchmark::kMillisecond);

// Frames added one after the other to one animated lossless WebP, as the turntable's WebP takes
// them, two consecutive frames of the turn in turn: what a frame costs in the middle of a turn,
// on one thread, at the lossless effort state.range(0), libwebp's default (6) and
// animationEffort. The animation is written into /dev/null after the last one.
void BM_EncodeWebpFrame(benchmark::State& state) {
    vantu::cli::setUpHeap();
    const vantu::PictureSize size{1920, 1080};
    const std::vector<vantu::PackedColour> frames[] = {renderedFrame(size, 1),
                                                       renderedFrame(size, 2)};
    vantu::OutputFile file = vantu::OutputFile::replacing("/dev/null");
    vantu::AnimatedWebpWriter writer(file, size.width, size.height, 30,
                                     static_cast<int>(state.range(0)));
    std::size_t k = 0;
    for (auto _ : state) {
        writer.addFrame(frames[k++ % 2]);
    }
    writer.finish();
    file.commit();
}

BENCHMARK(BM_EncodeWebpFrame)
    ->Name("BM_EncodeFrame/webp")
    ->ArgName("effort")
    ->Arg(6)
    ->Arg(vantu::animationEffort)
    ->Unit(benchmark::kMillisecond);

// The same frames as the turntable's WebP encoded them before, for the comparison in one run:
// libwebp's WebPAnimEncoder at its default effort, each frame after the first a rectangle of
// its differences from the one before.
void BM_EncodeWebpFrameBefore(benchmark::State& state) {
    vantu::cli::setUpHeap();
    const vantu::PictureSize size{1920, 1080};
    const std::vector<vantu::PackedColour> frames[] = {renderedFrame(size, 1),
                                                       renderedFrame(size, 2)};
    WebPAnimEncoderOptions options;
    WebPConfig config;
    if (WebPAnimEncoderOptionsInit(&options) == 0 || WebPConfigInit(&config) == 0) {
        state.SkipWithError("libwebp's header and library do not match");
        return;
    }
    config.lossless = 1;
    config.exact = 1;
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(size.width, size.height, &options);
    int k = 0;
    for (auto _ : state) {
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = size.width;
        picture.height = size.height;
        WebPPictureAlloc(&picture);
        const std::vector<vantu::PackedColour>& pixels = frames[k % 2];
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const vantu::PackedColour c = pixels[static_cast<std::size_t>(y * size.width + x)];
                picture.argb[y * picture.argb_stride + x] =
                    0xFF000000U | static_cast<std::uint32_t>(vantu::redOf(c)) << 16U |
                    static_cast<std::uint32_t>(vantu::greenOf(c)) << 8U |
                    static_cast<std::uint32_t>(vantu::blueOf(c));
            }
        }
        if (WebPAnimEncoderAdd(encoder, &picture, k * 1000 / 30, &config) == 0) {
            state.SkipWithError("the WebP encoder failed");
        }
        WebPPictureFree(&picture);
        ++k;
    }
    WebPData data;
    WebPDataInit(&data);
    (void)WebPAnimEncoderAdd(encoder, nullptr, k * 1000 / 30, nullptr);
    (void)WebPAnimEncoderAssemble(encoder, &data);
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
}

BENCHMARK(BM_EncodeWebpFrameBefore)
    ->Name("BM_EncodeFrame/webp-before")
    ->ArgName("effort")
    ->Arg(6)
    ->Unit(benchmark::kMillisecond);

}  // namespace
