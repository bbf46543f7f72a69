// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The words of the legend against the colouring itself: the cell and the order of D1, D2, D3
// that each colour's words give hold at the points that get that colour.
#include "render/colour_legend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>

#include "render/pixel_colour.h"
#include "render/snub_points.h"
#include "setup/draw_request.h"

namespace vantu {
namespace {

TEST(Legend, HoldsEveryColourOnceBrightnessByHue) {
    const auto meanings = legend();
    std::set<PackedColour> shown;
    for (std::size_t i = 0; i < meanings.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(meanings[i].hue), i / 3) << i;
        EXPECT_EQ(meanings[i].sideCount, 3 - static_cast<int>(i % 3)) << i;
        shown.insert(meanings[i].colour);
    }
    const auto colours = pictureColours();
    EXPECT_EQ(shown, std::set<PackedColour>(colours.begin(), colours.end()));
}

TEST(ColourMeaning, IsNothingForColoursNoPointGets) {
    EXPECT_FALSE(colourMeaning(grey).has_value());
    EXPECT_FALSE(colourMeaning(0).has_value());
    EXPECT_FALSE(colourMeaning(packColour(1, 1, 1)).has_value());
    EXPECT_FALSE(colourMeaning(packColour(128, 0, 0)).has_value());
}

// The vertex number (0 for A) that words like "D2 (vertex B) smallest" name, at `at`.
int namedDistance(std::string_view words, std::size_t at) {
    return words[at + 1] - '1';
}

TEST(ColourMeaning, AgreesWithTheDistancesAndSidesOfEveryPoint) {
    for (const char* code : {"300 2/1:3/1:3/1", "403 2/1:3/2:4/3", "571 5/4:5/4:5/4"}) {
        DrawRequest request;
        request.triangleCode = code;
        const Mirrors n = prepareDrawing(request).normals;
        int checked = 0;
        for (int i = 0; i < 60; ++i) {
            for (int j = 0; j < 120; ++j) {
                const double theta = std::numbers::pi * (i + 0.5) / 60;
                const double phi = 2 * std::numbers::pi * (j + 0.5) / 120;
                const Vec3 p{std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                             std::cos(theta)};
                const std::optional<ColourMeaning> m = colourMeaning(pixelColour(p, n));
                ASSERT_TRUE(m.has_value());
                int nonNegative = 0;
                for (const Vec3& normal : n) {
                    nonNegative += dot(p, normal) >= 0.0 ? 1 : 0;
                }
                EXPECT_NE(m->cell.find(cellWords(nonNegative)), std::string_view::npos)
                    << m->cell << " / " << cellWords(nonNegative);
                const std::array<double, 3> d = mirrorDistances(p, n);
                const auto [low, high] = std::minmax_element(d.begin(), d.end());
                if (*high - *low < 1e-9 || std::abs(d[0] - d[1]) < 1e-9 ||
                    std::abs(d[1] - d[2]) < 1e-9 || std::abs(d[2] - d[0]) < 1e-9) {
                    continue;  // ties, where the hue follows the rule's comparisons
                }
                EXPECT_EQ(namedDistance(m->order, 0), low - d.begin()) << m->order;
                EXPECT_EQ(namedDistance(m->order, m->order.find(", D") + 2), high - d.begin())
                    << m->order;
                ++checked;
            }
        }
        EXPECT_GT(checked, 6000) << code;
    }
}

}  // namespace
}  // namespace vantu
