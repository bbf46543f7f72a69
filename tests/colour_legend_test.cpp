// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The words of the colours, the legend's and a point's, against the colour rule and the colouring
// itself: the cell and the order of D1, D2, D3 that each colour's words give hold at the points
// that get that colour.
#include "render/colour_legend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "drawing/prepared_picture.h"
#include "geometry/projection.h"
#include "render/pixel_colour.h"
#include "setup/draw_request.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

// Each outcome of the three comparisons: the hue, its smallest and largest squared distances, and
// both kinds of words for them.
struct HueRow {
    friend void PrintTo(const HueRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    bool red, green, blue;  // which comparisons hold
    colour_rule::Hue hue;
    HueVertices vertices;
    std::string pointWords;   // a point's, in the status bar
    std::string legendWords;  // every point's, in a legend
};

using colour_rule::Hue;

const HueRow hueRows[] = {
    {"red",
     false,
     true,
     true,
     Hue::red,
     {0, 1},
     "nearest vertex A, farthest B",
     "D1 (vertex A) smallest, D2 (vertex B) largest"},
    {"yellow",
     false,
     false,
     true,
     Hue::yellow,
     {0, 2},
     "nearest vertex A, farthest C",
     "D1 (vertex A) smallest, D3 (vertex C) largest"},
    {"green",
     true,
     false,
     true,
     Hue::green,
     {1, 2},
     "nearest vertex B, farthest C",
     "D2 (vertex B) smallest, D3 (vertex C) largest"},
    {"cyan",
     true,
     false,
     false,
     Hue::cyan,
     {1, 0},
     "nearest vertex B, farthest A",
     "D2 (vertex B) smallest, D1 (vertex A) largest"},
    {"blue",
     true,
     true,
     false,
     Hue::blue,
     {2, 0},
     "nearest vertex C, farthest A",
     "D3 (vertex C) smallest, D1 (vertex A) largest"},
    {"magenta",
     false,
     true,
     false,
     Hue::magenta,
     {2, 1},
     "nearest vertex C, farthest B",
     "D3 (vertex C) smallest, D2 (vertex B) largest"},
    {"grey",
     false,
     false,
     false,
     Hue::grey,
     {-1, -1},
     "all three vertices alike",
     "D1 = D2 = D3, where the six hues meet"},
};

class HueMeaning : public ::testing::TestWithParam<HueRow> {};

// The status bar's words and the legend's say the same of each hue at every brightness.
TEST_P(HueMeaning, NamesTheVerticesOfTheSmallestAndLargestDistance) {
    const HueRow& row = GetParam();
    EXPECT_EQ(hueVertices(row.hue), row.vertices);
    EXPECT_EQ(hueWords(row.hue), row.legendWords);
    for (int k = 1; k <= 3; ++k) {
        const PackedColour colour = colour_rule::colourOf(row.red, row.green, row.blue, k);
        EXPECT_EQ(hueVertices(colour), row.vertices) << "k = " << k;
        EXPECT_EQ(pointHueWords(colour), row.pointWords) << "k = " << k;
        const std::optional<ColourMeaning> m = colourMeaning(colour);
        ASSERT_TRUE(m.has_value()) << "k = " << k;
        EXPECT_EQ(m->hue, row.hue);
        EXPECT_EQ(m->order, row.legendWords);
    }
}

INSTANTIATE_TEST_SUITE_P(ColourMeaning, HueMeaning, ::testing::ValuesIn(hueRows), RowName());

// The three distances themselves, in every order, agree with the words: the rule read backwards
// names the vertex whose distance is the smallest and the one whose is the largest.
TEST(ColourMeaning, HueVerticesFollowTheDistances) {
    const double values[3] = {1.0, 2.0, 3.0};
    const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders) {
        const double d[3] = {values[order[0]], values[order[1]], values[order[2]]};
        const PackedColour colour = colour_rule::colourOf(d[0] > d[1], d[1] > d[2], d[2] > d[0], 3);
        const HueVertices v = hueVertices(colour);
        EXPECT_EQ(d[v.nearest], 1.0) << d[0] << " " << d[1] << " " << d[2];
        EXPECT_EQ(d[v.farthest], 3.0) << d[0] << " " << d[1] << " " << d[2];
    }
}

// A point's cell names the mirrors it lies across; the legend's the number of them.
TEST(ColourMeaning, CellWordsFollowTheSigns) {
    const struct {
        double a1, a2, a3;
        const char* point;
        int nonNegative;
    } rows[] = {
        {0.5, 0.1, 0.2, "the triangle", 3},
        {-0.0, 0.0, 0.3, "the triangle", 3},
        {0.5, -0.1, 0.2, "across mirror 2", 2},
        {-0.5, 0.1, -0.2, "across mirrors 1 and 3", 1},
        {-0.5, -0.1, 0.2, "across mirrors 1 and 2", 1},
        {-0.5, -0.1, -0.2, "the triangle's antipode", 0},
    };
    const char* general[] = {"the antipode, drawn as across one", "across two mirrors",
                             "across one mirror", "the triangle"};
    for (const auto& row : rows) {
        EXPECT_EQ(pointCellWords(row.a1, row.a2, row.a3), row.point);
        EXPECT_EQ(cellWords(row.nonNegative), general[row.nonNegative]) << row.point;
    }
    EXPECT_EQ(cellWords(7), general[0]);
}

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
        const Mirrors n = prepareDrawing(drawRequest(code)).normals;
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

// Only the sphere has an antipode: in a plane side count 2 is across one mirror, and no point of
// a picture lies across all three mirrors.
TEST(ColourMeaning, NamesAnAntipodeOnTheSphereAlone) {
    const struct {
        Geometry geometry;
        const char* triangle;
        Projection projection;
        View view;  // on the sphere, one that shows the antipode
        std::string acrossOne, acrossAll;
    } rows[] = {
        {Geometry::spherical,
         "2 3 5",
         Projection::stereographic,
         {180, 0, 0},
         "across one mirror, or the antipode, drawn as across one",
         "the triangle's antipode"},
        {Geometry::euclidean,
         "2 3 6",
         Projection::stereographic,
         {20, -10, 15},
         "across one mirror",
         "across mirrors 1, 2 and 3"},
        {Geometry::hyperbolic,
         "2 3 7",
         Projection::stereographic,
         {20, -10, 15},
         "across one mirror",
         "across mirrors 1, 2 and 3"},
        {Geometry::hyperbolic,
         "3 3 4",
         Projection::halfplane,
         {20, -10, 15},
         "across one mirror",
         "across mirrors 1, 2 and 3"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(legend(row.geometry)[1].cell, row.acrossOne) << row.triangle;
        EXPECT_EQ(pointCellWords(-0.5, -0.1, -0.2, row.geometry), row.acrossAll);
        const PreparedPicture picture(PictureDescription{
            testing_support::schwarzRequest(row.triangle).projection(row.projection).scale(60.0),
            row.view, PictureSize{121, 91}, Sampling{1.0}});
        int acrossAll = 0;
        for (int j = 0; j < 91; j += 2) {
            for (int i = 0; i < 121; i += 2) {
                const std::optional<PicturePoint> p = picture.pointAt(i, j);
                acrossAll += p && p->cell == row.acrossAll ? 1 : 0;
            }
        }
        EXPECT_EQ(acrossAll > 0, row.geometry == Geometry::spherical) << row.triangle;
    }
}

}  // namespace
}  // namespace vantu
