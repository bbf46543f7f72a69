// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/projections.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <ostream>

#include "geometry/vec3.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

// Where the picture shows a point: the worked pixels of the projections (their points given to
// six decimals), and the points no pixel shows.
struct PositionCase {
    const char* name;
    Projection projection;
    double scale;
    Vec3 point;
    std::optional<std::array<double, 2>> position;
    friend void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.name; }
};

class PicturePositions : public testing::TestWithParam<PositionCase> {};

TEST_P(PicturePositions, InvertTheProjection) {
    const PositionCase& c = GetParam();
    const std::optional<PicturePosition> at = picturePosition(unit(c.point), c.scale, c.projection);
    ASSERT_EQ(at.has_value(), c.position.has_value());
    if (at) {
        EXPECT_NEAR(at->col, (*c.position)[0], 2e-3);
        EXPECT_NEAR(at->row, (*c.position)[1], 2e-3);
        EXPECT_EQ(at->pixelColumn(), static_cast<int>(std::lround((*c.position)[0])));
        EXPECT_EQ(at->pixelRow(), static_cast<int>(std::lround((*c.position)[1])));
    }
}

using Pos = std::array<double, 2>;

INSTANTIATE_TEST_SUITE_P(
    Points, PicturePositions,
    testing::Values(
        PositionCase{"GnomonicCorner",
                     Projection::gnomonic,
                     120,
                     {-0.765238, 0.576024, 0.287413},
                     Pos{0, 0}},
        PositionCase{"StereographicCorner",
                     Projection::stereographic,
                     120,
                     {-0.705037, 0.530709, -0.470395},
                     Pos{0, 0}},
        PositionCase{"OrthographicCentre",
                     Projection::orthographic,
                     120,
                     {0.002083, 0.002083, 0.999996},
                     Pos{320, 240}},
        PositionCase{"OrthographicRim",
                     Projection::orthographic,
                     120,
                     {-0.997917, 0.002083, 0.064482},
                     Pos{80, 240}},
        // A negative scale turns the picture a half turn about (319.5, 240.5).
        PositionCase{"OrthographicTurned",
                     Projection::orthographic,
                     -120,
                     {-0.997917, 0.002083, 0.064482},
                     Pos{559, 241}},
        // Pixel (0, 0) turned is (639, 481), one row below the raster.
        PositionCase{"GnomonicTurnedBelowTheRaster",
                     Projection::gnomonic,
                     -120,
                     {-0.765238, 0.576024, 0.287413},
                     std::nullopt},
        PositionCase{"GnomonicBehind", Projection::gnomonic, 120, {0, 0.1, -1}, std::nullopt},
        PositionCase{"GnomonicEquator", Projection::gnomonic, 120, {1, 0, 0}, std::nullopt},
        PositionCase{
            "OrthographicBehind", Projection::orthographic, 120, {0, 0.1, -1}, std::nullopt},
        PositionCase{
            "StereographicSouthPole", Projection::stereographic, 120, {0, 0, -1}, std::nullopt},
        PositionCase{"StereographicBeyondTheEdge",
                     Projection::stereographic,
                     120,
                     {0, 1, -0.2},
                     std::nullopt},
        PositionCase{"ZeroScale", Projection::stereographic, 0, {0, 0, 1}, std::nullopt}),
    RowName());

}  // namespace
}  // namespace vantu
