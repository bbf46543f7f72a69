// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "geometry/projection.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <ostream>
#include <string>

#include "geometry/vec3.h"
#include "render/scan.h"
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

// Each projection's way from a sample to the sphere and its way back agree: a window position
// the picture shows comes back to itself, a point it shows comes back to itself, and the closed
// form gives the sample's point. The same for each option's model of the planes, whose points
// are homogeneous.
struct ModelRow {
    const char* name;
    Projection projection;
    Geometry geometry;
};

class RoundTrip : public testing::TestWithParam<ModelRow> {};

TEST_P(RoundTrip, ForwardAndInverseAgree) {
    const Geometry geometry = GetParam().geometry;
    detail::withMapping(GetParam().projection, geometry, [&]<class P>() {
        EXPECT_EQ(P::id, GetParam().projection);
        EXPECT_EQ(detail::geometryOf<P>(), geometry);
        detail::Unchecked check;
        const double pi = std::numbers::pi;
        int shown = 0;
        for (const double R : {120.0, -97.5, 0.25}) {
            for (const PictureSize size : {PictureSize{}, PictureSize{301, 200}}) {
                const detail::Plane plane{R, columnCentreOf(size.width), rowCentreOf(size.height)};
                for (double row = -0.25; row < size.height; row += 23.75) {
                    for (double col = 0.125; col < size.width; col += 19.5) {
                        const double x = P::abscissa(col, plane, check);
                        const double y = P::ordinate(row, plane, check);
                        Vec3 p;
                        const bool onSphere = P::toSphere(x, y, y * y, pi, check, p);
                        const std::optional<Vec3> closed = P::pointOf(x, y);
                        ASSERT_EQ(closed.has_value(), onSphere) << col << ", " << row;
                        if (!onSphere) {
                            continue;
                        }
                        ++shown;
                        EXPECT_NEAR(length(*closed - p), 0.0, 1e-15 * (1.0 + length(p)))
                            << col << ", " << row;
                        const std::optional<PicturePosition> back =
                            planePosition(p, R, P::id, size, geometry);
                        ASSERT_TRUE(back) << col << ", " << row << " at R = " << R;
                        // Within rounding of the offset from the centre.
                        const double within = 1e-10 * (1.0 + std::hypot(col - plane.columnCentre,
                                                                        row - plane.rowCentre));
                        EXPECT_NEAR(back->col, col, within) << row << " at R = " << R;
                        EXPECT_NEAR(back->row, row, within) << col << " at R = " << R;
                    }
                }
            }
        }
        EXPECT_GT(shown, 300);
        if (geometry != Geometry::spherical) {
            return;
        }

        // From the sphere: every point the projection shows, back to the sphere.
        const detail::Plane plane{120.0, columnCentre, rowCentre};
        for (double lat = -75.0; lat < 90.0; lat += 10.0) {
            for (double lon = -175.0; lon < 180.0; lon += 12.5) {
                const double a = lat * pi / 180.0;
                const double b = lon * pi / 180.0;
                const Vec3 p{std::cos(a) * std::cos(b), std::cos(a) * std::sin(b), std::sin(a)};
                const std::optional<PicturePosition> at = planePosition(p, 120.0, P::id);
                if (!at) {
                    EXPECT_LE(p.z, 0.0) << lat << ", " << lon;
                    continue;
                }
                const double x = P::abscissa(at->col, plane, check);
                const double y = P::ordinate(at->row, plane, check);
                Vec3 q;
                ASSERT_TRUE(P::toSphere(x, y, y * y, pi, check, q)) << lat << ", " << lon;
                EXPECT_NEAR(length(q - p), 0.0, 1e-12) << lat << ", " << lon;
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    EveryModel, RoundTrip,
    testing::Values(ModelRow{"stereo", Projection::stereographic, Geometry::spherical},
                    ModelRow{"gnome", Projection::gnomonic, Geometry::spherical},
                    ModelRow{"ortho", Projection::orthographic, Geometry::spherical},
                    ModelRow{"PoincareDisk", Projection::stereographic, Geometry::hyperbolic},
                    ModelRow{"KleinDisk", Projection::gnomonic, Geometry::hyperbolic},
                    ModelRow{"GansModel", Projection::orthographic, Geometry::hyperbolic},
                    ModelRow{"UpperHalfPlane", Projection::halfplane, Geometry::hyperbolic},
                    ModelRow{"EuclideanPlane", Projection::gnomonic, Geometry::euclidean},
                    ModelRow{"EuclideanHalfPlane", Projection::halfplane, Geometry::euclidean}),
    [](const testing::TestParamInfo<ModelRow>& row) { return std::string(row.param.name); });

// Every option has a model in each geometry, named by its own words there; "halfplane" shows
// nothing of the sphere, and its option is refused there.
TEST(ProjectionWords, NameTheModelOfEachGeometry) {
    EXPECT_EQ(projectionWords(Projection::stereographic, Geometry::hyperbolic).title,
              "Poincaré disk");
    EXPECT_EQ(projectionWords(Projection::gnomonic, Geometry::hyperbolic).title,
              "Beltrami–Klein disk");
    EXPECT_EQ(projectionWords(Projection::orthographic, Geometry::spherical).title, "Orthographic");
    EXPECT_EQ(projectionWords(Projection::halfplane, Geometry::euclidean).name, "halfplane");
    EXPECT_EQ(projectionWords(Projection::orthographic, Geometry::euclidean).title,
              "Euclidean plane");
    EXPECT_FALSE(projectionRefusal(Projection::halfplane, Geometry::hyperbolic));
    EXPECT_FALSE(projectionRefusal(Projection::stereographic, Geometry::spherical));
    EXPECT_TRUE(projectionRefusal(Projection::halfplane, Geometry::spherical));
    EXPECT_EQ(sphereProjectionNames.size(), 3U);
}

}  // namespace
}  // namespace vantu
