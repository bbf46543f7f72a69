// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The antialiased line rasteriser on its own, in output pixels: what its segments cover, and its
// layers painted in the order they were added.
#include "render/line_rasteriser.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace vantu {
namespace {

constexpr PackedColour paper = packColour(10, 20, 30);
constexpr PackedColour red = packColour(200, 0, 0);
constexpr PackedColour blue = packColour(0, 0, 200);

TEST(LineRasteriser, CoversWithinReachAndPaintsLayersInOrder) {
    LineRasteriser lines(12, 6);
    // One pixel wide along row 2 from column 2 to 9: those pixels wholly, none beside them.
    const int under = lines.addLayer({red, 1.0, 0.5});
    lines.addSegment({2.0, 2.0}, {9.0, 2.0}, under);
    // A dot at (5, 2) on top, half seen.
    const int over = lines.addLayer({blue, 0.5, 0.5});
    lines.addSegment({5.0, 2.0}, {5.0, 2.0}, over);
    std::vector<PackedColour> pixels(12 * 6, paper);
    lines.paint(pixels);

    std::vector<PackedColour> expected(12 * 6, paper);
    for (std::size_t col = 2; col <= 9; ++col) {
        expected[2 * 12 + col] = red;
    }
    expected[2 * 12 + 5] = packColour(100, 0, 100);
    EXPECT_EQ(pixels, expected);
}

TEST(LineRasteriser, KeepsNothingBeyondItsReachAndClampsOpacity) {
    LineRasteriser lines(8, 8);
    const int layer = lines.addLayer({red, 3.0, 1.5});
    EXPECT_EQ(lines.pen(layer).opacity, 1.0);
    // A segment is kept when it comes within halfWidth + 1 of the picture: these two do not.
    lines.addSegment({-3.0, 0.0}, {-3.0, 7.0}, layer);
    lines.addSegment({0.0, 10.5}, {7.0, 10.5}, layer);
    EXPECT_TRUE(lines.empty());
    lines.addSegment({-2.0, 0.0}, {-2.0, 7.0}, layer);
    EXPECT_FALSE(lines.empty());
}

}  // namespace
}  // namespace vantu
