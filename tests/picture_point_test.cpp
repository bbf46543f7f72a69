// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Reading a picture back: what a pixel shows (the point, its cell and its hue in words), the
// view turned back, and the file name of a described picture.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "drawing/picture_point.h"
#include "drawing/prepared_picture.h"
#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "geometry/view.h"
#include "render/colour_legend.h"
#include "render/colour_rule.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

struct PointRow {
    friend void PrintTo(const PointRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    PictureDescription description;
};

PictureDescription described(Projection projection, View view, PictureSize size, double ratio,
                             double scale = 120.0) {
    PictureDescription d;
    d.request.projection = projection;
    d.request.scale = scale;
    d.view = view;
    d.size = size;
    d.sampling = Sampling{ratio};
    return d;
}

const PointRow pointRows[] = {
    {"startUp", {}},
    {"stereoTurned", described(Projection::stereographic, {30, -15, 10}, {300, 200}, 1.0)},
    {"gnomeFine", described(Projection::gnomonic, {-120, 45, 0}, {200, 150}, 1.5, 90)},
    {"orthoRolled", described(Projection::orthographic, {0, 0, 135}, {161, 121}, 2.0, 40)},
};

class PointAt : public ::testing::TestWithParam<PointRow> {};

// Every pixel's point has the pixel's colour in the picture; turned by the view and projected,
// it falls back into its pixel; and its cell has the brightness of that colour.
TEST_P(PointAt, ShowsThePointOfEachPixel) {
    const PictureDescription& d = GetParam().description;
    const PreparedPicture prepared(d);
    const FinePicture& picture = prepared.picture();
    const DrawSetup unturned = prepareDrawing(d.request);
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    int points = 0;
    for (int j = 0; j < picture.height(); j += 7) {
        (void)picture.renderRow(j, row);
        for (int i = 0; i < picture.width(); i += 5) {
            const std::optional<PicturePoint> p = pointAt(d, i, j);
            if (!p) {
                EXPECT_EQ(row[static_cast<std::size_t>(i)], grey) << i << ", " << j;
                continue;
            }
            ++points;
            ASSERT_EQ(p->colour, row[static_cast<std::size_t>(i)]) << i << ", " << j;
            EXPECT_NEAR(length(p->point), 1.0, 1e-12);
            // Turned as the normals are turned, the point is where the pixel shows it.
            const Vec3 seen = turned({p->point, p->point, p->point}, d.view, unturned.pi)[0];
            const auto at = picturePosition(seen, d.request.scale, d.request.projection, d.size);
            ASSERT_TRUE(at.has_value()) << i << ", " << j;
            const double ratio = d.sampling.ratio;
            EXPECT_NEAR(at->col, (i + 0.5) / ratio - 0.5, 1e-6);
            EXPECT_NEAR(at->row, (j + 0.5) / ratio - 0.5, 1e-6);
            const int dark = colour_rule::decode(p->colour).sideCount;
            const bool across3 = p->cell == "the triangle's antipode";
            const int across = p->cell == "the triangle"               ? 0
                               : p->cell.starts_with("across mirrors") ? 2
                               : across3                               ? 3
                                                                       : 1;
            EXPECT_EQ(dark, across3 ? 2 : 3 - across) << p->cell;
            EXPECT_EQ(p->hue, pointHueWords(p->colour));
        }
    }
    EXPECT_GT(points, 0);
}

INSTANTIATE_TEST_SUITE_P(PicturePoint, PointAt, ::testing::ValuesIn(pointRows), RowName());

struct ResidueRow {
    friend void PrintTo(const ResidueRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    View view;
    View residue;  // modulo 360, with the sign of the angle
};

class ViewResidue : public ::testing::TestWithParam<ResidueRow> {};

// Every finite angle draws, bit for bit, the picture of its residue modulo 360, and its pixels
// read back as the residue's: (deg * pi) / 180 overflows beyond 1e306 degrees, and is far from
// the angle's residue beyond 2^53.
TEST_P(ViewResidue, DrawsThePictureOfTheResidue) {
    const ResidueRow& r = GetParam();
    const PictureDescription huge = described(Projection::stereographic, r.view, {64, 49}, 1.0, 20);
    const PictureDescription residue =
        described(Projection::stereographic, r.residue, {64, 49}, 1.0, 20);
    EXPECT_EQ(reducedView(r.view), r.residue);
    EXPECT_EQ(PreparedPicture(huge).setup().normals, PreparedPicture(residue).setup().normals);
    for (int j = 0; j < 49; j += 6) {
        for (int i = 0; i < 64; i += 7) {
            const std::optional<PicturePoint> a = pointAt(huge, i, j);
            const std::optional<PicturePoint> b = pointAt(residue, i, j);
            ASSERT_EQ(a.has_value(), b.has_value()) << i << ", " << j;
            if (a) {
                EXPECT_EQ(a->point, b->point) << i << ", " << j;
                EXPECT_EQ(a->colour, b->colour) << i << ", " << j;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    PicturePoint, ViewResidue,
    ::testing::Values(ResidueRow{"beyondOverflow", {1e308, 0, 0}, {296, 0, 0}},
                      ResidueRow{"largestDouble", {0, -1.7976931348623157e308, 0}, {0, -128, 0}},
                      ResidueRow{"beyondTwoTo53", {1e20, -1e20, 1e300}, {280, -280, 0}},
                      ResidueRow{"fractionsOfLargeAngles",
                                 {720.5, -1080.25, 123456789.125},
                                 {0.5, -0.25, 189.125}},
                      // Whole turns are the unturned picture itself.
                      ResidueRow{"wholeTurns", {360, -720, 1e300}, {}},
                      // Within a turn nothing changes.
                      ResidueRow{"withinATurn", {359.75, -359.5, 0.001}, {359.75, -359.5, 0.001}}),
    RowName());

TEST(PicturePoint, NothingOffThePictureOrForAPictureThatCannotBeDrawn) {
    const PictureDescription d;
    EXPECT_FALSE(pointAt(d, -1, 0));
    EXPECT_FALSE(pointAt(d, 640, 0));
    EXPECT_FALSE(pointAt(d, 0, 481));
    PictureDescription ortho = d;
    ortho.request.projection = Projection::orthographic;
    EXPECT_FALSE(pointAt(ortho, 0, 0)) << "off the disc";
    EXPECT_TRUE(pointAt(ortho, 320, 240));
    PictureDescription badCode = d;
    badCode.request.triangleCode = "300 x/1:3/1:3/1";
    EXPECT_FALSE(pointAt(badCode, 320, 240));
    PictureDescription noScale = d;
    noScale.request.scale = 0.0;
    EXPECT_FALSE(pointAt(noScale, 320, 240));
}

// A sample exactly on the vertical axis through the centre, which only a fractional ratio makes,
// divides by zero in the exact azimuth: the picture faults in its first row, as the exact
// computation would, whether or not the fast kernels could have decided the sample. The size
// that drops a column or two keeps every sample off that axis; the horizontal axis is harmless.
TEST(OffAxisSize, KeepsEverySampleOffTheVerticalAxis) {
    const auto onAxis = [](int width, Sampling sampling) {
        const double perPixel = sampling.ratio * sampling.antialias;
        for (int i = 0; i < devicePixels(width, sampling.ratio) * sampling.antialias; ++i) {
            if ((i + 0.5) / perPixel - 0.5 == columnCentreOf(width)) {
                return true;
            }
        }
        return false;
    };
    int dropped = 0;
    for (const Sampling sampling : {Sampling{1.0}, Sampling{1.25}, Sampling{1.5}, Sampling{1.75},
                                    Sampling{2.0}, Sampling{3.0}, Sampling{1.25, 2}}) {
        for (int side = 1; side <= 400; ++side) {
            EXPECT_EQ(sampleOnVerticalAxis({side, side}, sampling), onAxis(side, sampling));
            const PictureSize size = offAxisSize({side, side}, sampling, Projection::stereographic);
            EXPECT_EQ(offAxisSize({side, side}, sampling, Projection::orthographic),
                      (PictureSize{side, side}));
            EXPECT_FALSE(onAxis(size.width, sampling)) << side;
            EXPECT_LE(side - size.width, 2);
            EXPECT_EQ(size.height, side);
            if (sampling.ratio == std::floor(sampling.ratio)) {
                EXPECT_EQ(size.width, side);
            }
            dropped += size.width == side ? 0 : 1;
        }
    }
    EXPECT_GT(dropped, 0);

    const auto draw = [](const PictureDescription& description) {
        const PreparedPicture picture(description);
        std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
        for (int j = 0; j < picture.height(); ++j) {
            (void)picture.renderRow(j, row);
        }
    };
    struct Case {
        PictureSize size;
        Sampling sampling;
        Projection projection;
        const char* fault;  // nothing: it draws
    };
    const Case cases[] = {
        {{386, 482},
         {1.5},
         Projection::stereographic,
         "the scale R is 120: division by zero in row 0, column 193"},
        {{386, 440},
         {1.5},
         Projection::gnomonic,
         "the scale R is 120: division by zero in row 0, column 193"},
        {{386, 482},
         {1.25, 2},
         Projection::stereographic,
         "the scale R is 120: division by zero in row 0, column 193"},
        {{386, 482}, {1.5}, Projection::orthographic, nullptr},
        {{385, 482}, {1.5}, Projection::stereographic, nullptr},
        {{640, 481}, {1.5}, Projection::stereographic, nullptr},
    };
    for (const Case& c : cases) {
        PictureDescription d;
        d.size = c.size;
        d.sampling = c.sampling;
        d.request.projection = c.projection;
        if (c.fault != nullptr) {
            EXPECT_THROW_MSG(draw(d), DrawError, c.fault);
            d.size = offAxisSize(d.size, d.sampling, d.request.projection);
        }
        EXPECT_NO_THROW(draw(d)) << d.size.width << " at " << d.sampling.ratio;
    }
}

TEST(View, TurnedBackUndoesTheTurn) {
    const double pi = std::numbers::pi;
    const View views[] = {{}, {30, -15, 10}, {-179.99, 90, 180}, {12.34, 56.78, -90}};
    const Vec3 points[] = {{0, 0, 1}, {0.6, 0, 0.8}, {-0.48, -0.6, -0.64}};
    for (const View& view : views) {
        for (const Vec3& p : points) {
            const Vec3 back = turnedBack(turned({p, p, p}, view, pi)[0], view, pi);
            EXPECT_NEAR(back.x, p.x, 1e-15);
            EXPECT_NEAR(back.y, p.y, 1e-15);
            EXPECT_NEAR(back.z, p.z, 1e-15);
        }
    }
}

// In the planes a pixel read back lies on a mirror exactly when the pixel lies on the moved
// mirror: <N, movedBack(Q)> = <moved(N), Q>, for the form of each plane, over short and long
// moves (the hyperbolic numbers grow as e^t and the Euclidean ones as t, the tolerance with
// them).
TEST(View, MovedBackUndoesTheMoveInThePlanes) {
    const double pi = std::numbers::pi;
    const double unit = 180.0 / pi;
    const View views[] = {
        {}, {30, -15, 10}, {-2 * unit, 3 * unit, 180}, {25 * unit, 0, -90}, {0, -40 * unit, 45}};
    const Mirrors normals = {Vec3{0.3, -1.2, 0.4}, Vec3{1, 0, 0}, Vec3{-0.5, 0.5, -0.2}};
    const Vec3 points[] = {{0, 0, 1}, {0.6, 0.2, 1.5}, {-3, 1, 4}};
    for (const Geometry g : {Geometry::hyperbolic, Geometry::euclidean}) {
        const auto form = [g](const Vec3& u, const Vec3& v) {
            return g == Geometry::hyperbolic ? (u.y * v.y + u.x * v.x) - u.z * v.z : dot(u, v);
        };
        for (const View& view : views) {
            const Mirrors m = moved(normals, view, pi, g);
            const double t = std::abs(view.lon) / unit + std::abs(view.lat) / unit;
            const double grown = g == Geometry::hyperbolic ? std::exp(t) : 1.0 + t;
            for (const Vec3& q : points) {
                const Vec3 back = movedBack(q, view, pi, g);
                for (std::size_t i = 0; i < 3; ++i) {
                    EXPECT_NEAR(form(normals[i], back), form(m[i], q), 1e-13 * grown)
                        << geometryName(g) << " " << view.lon << "," << view.lat << " " << i;
                }
            }
        }
    }
}

TEST(PictureFileName, CarriesTheCodeTheViewAndR) {
    PictureDescription d;
    EXPECT_EQ(pictureFileName(d, ".png"), "300-r0-stereo-view0,0,0-R120.png");
    d.request.triangleCode = "412 4/1:2/1:3/1";
    d.request.rotation = 2;
    d.request.reverse = true;
    d.request.projection = Projection::gnomonic;
    d.request.scale = 159.72;
    d.view = {30.5, -15, 0.01};
    d.size = {1920, 1080};
    EXPECT_EQ(pictureFileName(d, ".webp"), "412-r2-rev-gnome-view30.5,-15,0.01-R159.72.webp");
}

}  // namespace
}  // namespace vantu
