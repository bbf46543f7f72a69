// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/pixel_colour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <set>

#include "render/colour_rule.h"
#include "tests/reference_render.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

const Mirrors perpendicular = {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};

struct ColourCase {
    const char* name;
    Vec3 p;
    int red, green, blue;
    friend void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }
};

class PerpendicularMirrors : public testing::TestWithParam<ColourCase> {};

TEST_P(PerpendicularMirrors, ColourByCellAndOrderOfDistances) {
    const ColourCase& c = GetParam();
    const PackedColour colour = pixelColour(c.p, perpendicular);
    EXPECT_EQ(redOf(colour), c.red);
    EXPECT_EQ(greenOf(colour), c.green);
    EXPECT_EQ(blueOf(colour), c.blue);
    EXPECT_EQ(colour, c.red + 256 * c.green + 65536 * c.blue);
}

INSTANTIATE_TEST_SUITE_P(Points, PerpendicularMirrors,
                         testing::Values(
                             // A zero dot product counts as the non-negative side, of either sign.
                             ColourCase{"OnMirror2InTheTriangle", {0.6, 0, 0.8}, 255, 1, 255},
                             ColourCase{"OnMirror2NegativeZero", {0.6, -0.0, 0.8}, 255, 1, 255},
                             ColourCase{"OnMirror1AcrossMirror3", {0, 0.6, -0.8}, 1, 1, 170},
                             ColourCase{"AntipodalCellDrawnAsTwo", {-0.48, -0.6, -0.64}, 1, 1, 170},
                             // Three equal distances: the grey of the side count.
                             ColourCase{
                                 "AllEqualInside",
                                 {1 / std::sqrt(3.0), 1 / std::sqrt(3.0), 1 / std::sqrt(3.0)},
                                 255,
                                 255,
                                 255},
                             // Across two mirrors: held tests give 0.
                             ColourCase{"AcrossTwoMirrors", {-0.6, -0.0001, 0.8}, 85, 0, 85},
                             ColourCase{"PoleOfMirror3", {0, 0, 1}, 255, 1, 255}),
                         RowName());

// The colours the rule can give: 7 outcomes of the tests times 3 side counts.
bool isOneOfTheTwentyOne(PackedColour c) {
    const int values[] = {redOf(c), greenOf(c), blueOf(c)};
    const bool low1 = values[0] <= 1 && values[1] <= 1 && values[2] <= 1;
    for (const int k : {1, 2, 3}) {
        const int bright = 255 * k / 3;
        const int dim = k == 1 ? 0 : 1;
        bool ok = true;
        for (const int v : values) {
            ok = ok && (v == bright || v == dim);
        }
        if (ok && !low1) {
            return true;
        }
    }
    return false;
}

// Points spread over the sphere, for normals of a real triangle, agree with the plain rule and
// give only the 21 colours of pictureColours, the same hue for p and -p.
TEST(PixelColour, MatchesThePlainRuleOverTheSphere) {
    const Mirrors n = {Vec3{-0.7537783614444091, -0.5, 0.4264014327112209},
                       Vec3{0.9045340337332909, 0.0, 0.4264014327112209}, Vec3{0.0, 1.0, 0.0}};
    const std::array<std::array<double, 3>, 3> plain = {
        {{n[0].x, n[0].y, n[0].z}, {n[1].x, n[1].y, n[1].z}, {n[2].x, n[2].y, n[2].z}}};
    const std::array<PackedColour, colourCount> palette = pictureColours();
    EXPECT_EQ(std::set<PackedColour>(palette.begin(), palette.end()).size(), palette.size());
    for (const PackedColour c : palette) {
        EXPECT_TRUE(isOneOfTheTwentyOne(c)) << c;
    }
    std::set<PackedColour> seen;
    for (int i = 0; i < 200; ++i) {
        for (int j = 0; j < 100; ++j) {
            const double theta = std::acos(1.0 - 2.0 * (j + 0.5) / 100.0);
            const double phi = i * 0.0314159;
            const Vec3 p{std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                         std::cos(theta)};
            const PackedColour c = pixelColour(p, n);
            ASSERT_EQ(c, reference::colour({p.x, p.y, p.z}, plain));
            ASSERT_TRUE(isOneOfTheTwentyOne(c)) << c;
            ASSERT_NE(std::find(palette.begin(), palette.end(), c), palette.end()) << c;
            seen.insert(c);
            const PackedColour opposite = pixelColour({-p.x, -p.y, -p.z}, n);
            const auto hue = [](PackedColour v) {
                return (redOf(v) > 1 ? 1 : 0) + (greenOf(v) > 1 ? 2 : 0) + (blueOf(v) > 1 ? 4 : 0);
            };
            ASSERT_EQ(hue(c), hue(opposite));
        }
    }
    EXPECT_GE(seen.size(), 18U) << "the sweep meets most colours";
}

// The rule's integer channel values are round((sign * 127 + 128) * k / 3) with ties to even,
// and each colour of the palette decodes to the comparisons and side count it was made from.
TEST(ColourRule, ChannelValuesRoundAndColoursDecode) {
    for (const int k : {1, 2, 3}) {
        for (const int sign : {-1, 1}) {
            EXPECT_EQ(colour_rule::channelValue(sign, k), std::lrint((sign * 127 + 128) * k / 3.0))
                << "sign " << sign << ", k " << k;
        }
    }
    const std::array<PackedColour, colourCount> palette = pictureColours();
    std::size_t i = 0;
    for (const int k : {1, 2, 3}) {
        for (const unsigned holds : {1U, 2U, 3U, 4U, 5U, 6U, 0U}) {
            const colour_rule::Decoded expected{(holds & 4U) != 0U, (holds & 2U) != 0U,
                                                (holds & 1U) != 0U, k};
            EXPECT_EQ(colour_rule::decode(palette[i]), expected) << "colour " << palette[i];
            ++i;
        }
    }
}

}  // namespace
}  // namespace vantu
