// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The turntable as vantu-render writes it: each frame is the picture of its own view, and the
// animated WebP holds the folder's frames pixel for pixel, at the asked frame rate.

#include <gtest/gtest.h>
#include <webp/demux.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "geometry/raster.h"
#include "tests/png_file.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using testing_support::readPng;

testing_support::Outcome render(const std::vector<std::string>& args) {
    return testing_support::runProgram(VANTU_RENDER, args);
}

// An animated WebP decoded: each frame's pixels and the time it ends, in milliseconds.
struct DecodedAnimation {
    int width = 0;
    int height = 0;
    std::vector<std::vector<PackedColour>> frames;
    std::vector<int> ends;
};

DecodedAnimation decodeWebp(const std::string& bytes) {
    DecodedAnimation animation;
    const WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    if (decoder == nullptr) {
        return animation;
    }
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(decoder, &info);
    animation.width = static_cast<int>(info.canvas_width);
    animation.height = static_cast<int>(info.canvas_height);
    while (WebPAnimDecoderHasMoreFrames(decoder) != 0) {
        std::uint8_t* rgba = nullptr;
        int end = 0;
        if (WebPAnimDecoderGetNext(decoder, &rgba, &end) == 0) {
            break;
        }
        std::vector<PackedColour>& frame = animation.frames.emplace_back();
        for (std::size_t i = 0; i < info.canvas_width * info.canvas_height; ++i) {
            const std::uint8_t* p = rgba + 4 * i;
            frame.push_back(p[3] == 255 ? packColour<int>(p[0], p[1], p[2]) : -1);
        }
        animation.ends.push_back(end);
    }
    WebPAnimDecoderDelete(decoder);
    return animation;
}

TEST(Turntable, EachFrameIsThePictureOfItsViewInTheFolderAndTheWebp) {
    const fs::path folder = testing_support::scratchFolder("turntable");
    const std::vector<std::string> drawing = {"--size", "64x48", "--zoom", "1.5", "--scale", "30"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), drawing.begin(), drawing.end());
        return args;
    };
    const std::string frames = (folder / "frames").string() + "/";
    ASSERT_EQ(render(with({"--turntable", "3", "--view", "1e20,20,5", "-o", frames})).status, 0);
    EXPECT_EQ(testing_support::namesIn(frames),
              (std::vector<std::string>{"0000.png", "0001.png", "0002.png"}));
    const std::string webp = (folder / "turn.webp").string();
    ASSERT_EQ(
        render(with({"--turntable", "3", "--fps", "10", "--view", "1e20,20,5", "-o", webp})).status,
        0);
    const DecodedAnimation animation = decodeWebp(testing_support::slurp(webp));
    ASSERT_EQ(animation.frames.size(), 3U);
    EXPECT_EQ(animation.width, 96);
    EXPECT_EQ(animation.height, 72);
    EXPECT_EQ(animation.ends, (std::vector<int>{100, 200, 300}));

    // Frame k at LON 280 + 120 k, as --view draws it alone: 1e20 turns from its residue, 280,
    // where adding the turn to 1e20 itself would lose it.
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const std::string still = (folder / ("still" + std::to_string(k) + ".png")).string();
        const std::string view = std::to_string(280 + 120 * k) + ",20,5";
        ASSERT_EQ(render(with({"--view", view, "-o", still})).status, 0);
        const testing_support::DecodedPng expected = readPng(still);
        const testing_support::DecodedPng frame =
            readPng(frames + "000" + std::to_string(k) + ".png");
        ASSERT_EQ(frame.problem, "");
        EXPECT_EQ(frame.width, expected.width);
        EXPECT_EQ(frame.pixels, expected.pixels);
        EXPECT_EQ(animation.frames[static_cast<std::size_t>(k)], expected.pixels);
    }
    // The frames differ, so that each comparison above tells its view from the others.
    EXPECT_NE(readPng(frames + "0000.png").pixels, readPng(frames + "0001.png").pixels);
    EXPECT_NE(readPng(frames + "0001.png").pixels, readPng(frames + "0002.png").pixels);
    fs::remove_all(folder);
}

struct PlaneCase {
    const char* name;
    const char* triangle;
    friend void PrintTo(const PlaneCase& c, std::ostream* os) { *os << c.name; }
};

class PlaneTurntable : public testing::TestWithParam<PlaneCase> {};

// In a plane, where LON and LAT are lengths, the picture rolls about its centre: frame k at ROLL
// reduced (365 to 5) + 120 k, the move along LON and LAT the same in every frame.
TEST_P(PlaneTurntable, EachFrameIsThePictureRolledByItsTurn) {
    const PlaneCase& c = GetParam();
    const fs::path folder = testing_support::scratchFolder(c.name);
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--triangle", c.triangle, "--size", "40x30", "--scale", "14"});
        return args;
    };
    const std::string frames = (folder / "frames").string() + "/";
    ASSERT_EQ(render(with({"--turntable", "3", "--view", "20,-10,365", "-o", frames})).status, 0);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const std::string still = (folder / "still.png").string();
        const std::string view = "20,-10," + std::to_string(5 + 120 * k);
        ASSERT_EQ(render(with({"--view", view, "-o", still})).status, 0);
        const testing_support::DecodedPng frame =
            readPng(frames + "000" + std::to_string(k) + ".png");
        ASSERT_EQ(frame.problem, "");
        EXPECT_EQ(frame.pixels, readPng(still).pixels);
    }
    EXPECT_NE(readPng(frames + "0000.png").pixels, readPng(frames + "0001.png").pixels);
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Planes, PlaneTurntable,
                         testing::Values(PlaneCase{"Hyperbolic", "2 3 7"},
                                         PlaneCase{"Euclidean", "2 4 4"}),
                         RowName());

struct RateCase {
    const char* name;
    int frames;
    int fps;
    std::vector<int> ends;  // frame k ends at (k + 1) * 1000 / fps milliseconds, rounded down
    friend void PrintTo(const RateCase& c, std::ostream* os) { *os << c.name; }
};

class FrameRate : public testing::TestWithParam<RateCase> {};

// Each frame lasts until the next one's time, so that rounding never adds up over a turn.
TEST_P(FrameRate, EndsEachFrameOnTime) {
    const RateCase& c = GetParam();
    const fs::path folder = testing_support::scratchFolder(c.name);
    const std::string webp = (folder / "turn.webp").string();
    ASSERT_EQ(render({"--turntable", std::to_string(c.frames), "--fps", std::to_string(c.fps),
                      "--size", "8x8", "-o", webp})
                  .status,
              0);
    EXPECT_EQ(decodeWebp(testing_support::slurp(webp)).ends, c.ends);
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Rates, FrameRate,
                         testing::Values(RateCase{"Thirty", 6, 30, {33, 66, 100, 133, 166, 200}},
                                         RateCase{"OneHundredTwenty", 4, 120, {8, 16, 25, 33}}),
                         RowName());

}  // namespace
}  // namespace vantu
