// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The pictures of the Euclidean and the hyperbolic plane: the core against the plain reference
// of tests/plane_reference.h pixel for pixel, in every model, view, size and sampling; the
// checked pass naming the first fault; and what the planes refuse for now.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "drawing/prepared_picture.h"
#include "geometry/draw_error.h"
#include "render/fine_picture.h"
#include "render/image_sink.h"
#include "render/kernel_variant.h"
#include "render/scan.h"
#include "tests/checking_sink.h"
#include "tests/plane_reference.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

namespace ref = plane_reference;

constexpr double pi = std::numbers::pi;  // the drawing's pi, atan(1) * 4 correctly rounded

Geometry geometryOf(ref::Plane plane) {
    return plane == ref::Plane::hyperbolic ? Geometry::hyperbolic : Geometry::euclidean;
}

Projection projectionOf(ref::Model model) {
    switch (model) {
        case ref::Model::stereo:
            return Projection::stereographic;
        case ref::Model::gnome:
            return Projection::gnomonic;
        case ref::Model::ortho:
            return Projection::orthographic;
        case ref::Model::halfplane:
            break;
    }
    return Projection::halfplane;
}

// The set-up the core draws: the reference's solver, standing in for the set-up's own.
DrawSetup setupOf(const ref::Triangle& t, ref::Plane plane) {
    const ref::Normals n = ref::solve(t, plane, pi);
    DrawSetup setup;
    setup.pi = pi;
    setup.geometry = geometryOf(plane);
    for (std::size_t i = 0; i < 3; ++i) {
        setup.normals[i] = {n[i][0], n[i][1], n[i][2]};
    }
    return setup;
}

struct PlaneCase {
    const char* name;
    ref::Triangle triangle;
    ref::Plane plane;
    ref::Model model;
    double scale;
    View view;
    PictureSize size;
    // How many colours the picture shows at least: far from the triangle, beyond its three
    // mirrors, a picture has few, and along a mirror two.
    std::size_t colours = 8;
    Sampling sampling{};
    // The largest share of samples the exact computation may decide.
    double mostExact = 0.002;
    friend void PrintTo(const PlaneCase& c, std::ostream* os) { *os << c.name; }
};

PictureDescription describedPicture(const PlaneCase& c) {
    PictureDescription d;
    d.request.projection = projectionOf(c.model);
    d.request.scale = c.scale;
    d.view = c.view;
    d.size = c.size;
    d.sampling = c.sampling;
    return d;
}

// The reference's colour of output pixel (i, j): its samples averaged, rounded half up.
std::optional<PackedColour> expectedPixel(const PlaneCase& c, const ref::Normals& n, int i, int j) {
    const int a = c.sampling.antialias;
    const double perPixel = c.sampling.ratio * a;
    const double centreCol = columnCentreOf(c.size.width);
    const double centreRow = rowCentreOf(c.size.height);
    int sums[3] = {0, 0, 0};
    for (int s = 0; s < a; ++s) {
        for (int t = 0; t < a; ++t) {
            const std::optional<int> colour =
                ref::sample(detail::sampleCoordinate(i * a + s, perPixel),
                            detail::sampleCoordinate(j * a + t, perPixel), c.scale, centreCol,
                            centreRow, c.model, c.plane, n);
            if (!colour) {
                return std::nullopt;
            }
            sums[0] += *colour & 0xFF;
            sums[1] += (*colour >> 8) & 0xFF;
            sums[2] += *colour >> 16;
        }
    }
    const int count = a * a;
    return packColour((sums[0] + count / 2) / count, (sums[1] + count / 2) / count,
                      (sums[2] + count / 2) / count);
}

class PlanePictures : public testing::TestWithParam<PlaneCase> {};

// Every output pixel as the reference computes it, with every variant of the fast kernels this
// processor runs, each leaving the same few samples, the ties, to the exact computation.
TEST_P(PlanePictures, AgreeWithThePlainReference) {
    const PlaneCase& c = GetParam();
    PreparedPicture picture(setupOf(c.triangle, c.plane), describedPicture(c));
    const ref::Normals n = ref::moved(ref::solve(c.triangle, c.plane, pi), c.view.lon, c.view.lat,
                                      c.view.roll, pi, c.plane);
    std::vector<PackedColour> expected;
    std::set<PackedColour> colours;
    for (int j = 0; j < picture.height(); ++j) {
        for (int i = 0; i < picture.width(); ++i) {
            const std::optional<PackedColour> colour = expectedPixel(c, n, i, j);
            ASSERT_TRUE(colour) << i << ", " << j;
            expected.push_back(*colour);
            colours.insert(*colour);
        }
    }
    // A picture of the tiling, not of one cell or of the grey outside.
    EXPECT_GE(colours.size(), c.colours);

    const long samples = static_cast<long>(picture.width()) * picture.height() *
                         c.sampling.antialias * c.sampling.antialias;
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    std::optional<long> firstExact;
    for (const KernelVariant variant : builtKernelVariants()) {
        if (!runsHere(variant)) {
            continue;
        }
        picture.useKernels(variant);
        long exact = 0;
        for (int j = 0; j < picture.height(); ++j) {
            exact += picture.renderRow(j, row);
            for (int i = 0; i < picture.width(); ++i) {
                ASSERT_EQ(row[static_cast<std::size_t>(i)],
                          expected[static_cast<std::size_t>(j * picture.width() + i)])
                    << nameOf(variant) << " " << i << ", " << j;
            }
        }
        EXPECT_LE(static_cast<double>(exact), c.mostExact * static_cast<double>(samples))
            << nameOf(variant) << ": " << exact << " of " << samples << " samples exact";
        EXPECT_EQ(exact, firstExact.value_or(exact)) << nameOf(variant);
        firstExact = exact;
    }
}

using T = ref::Triangle;
using P = ref::Plane;
using M = ref::Model;
constexpr double unit = 180.0 / pi;  // a view length of 1 in LON or LAT

INSTANTIATE_TEST_SUITE_P(
    Models, PlanePictures,
    testing::Values(
        PlaneCase{"Poincare237", T{{2, 3, 7}}, P::hyperbolic, M::stereo, 120, {}, {161, 121}},
        PlaneCase{"Klein237", T{{2, 3, 7}}, P::hyperbolic, M::gnome, 60, {}, {161, 121}},
        PlaneCase{"Gans237", T{{2, 3, 7}}, P::hyperbolic, M::ortho, 15, {}, {161, 121}},
        PlaneCase{"HalfPlane237", T{{2, 3, 7}}, P::hyperbolic, M::halfplane, 50, {}, {161, 121}},
        PlaneCase{"Poincare334Moved",
                  T{{3, 3, 4}},
                  P::hyperbolic,
                  M::stereo,
                  40,
                  {30, -20, 15},
                  {97, 80}},
        PlaneCase{"PoincareFractional",
                  T{{5, 4, 4}, {2, 1, 1}},
                  P::hyperbolic,
                  M::stereo,
                  35,
                  {0, 0, -400},
                  {90, 70}},
        PlaneCase{"PoincareNearlyEuclidean",
                  T{{2, 3, 1000}},
                  P::hyperbolic,
                  M::stereo,
                  50,
                  {},
                  {120, 101}},
        PlaneCase{"Poincare245Zoomed",
                  T{{2, 4, 5}},
                  P::hyperbolic,
                  M::stereo,
                  12,
                  {10, 5, 0},
                  {50, 41},
                  8,
                  {2.5, 1}},
        PlaneCase{"KleinAntialiased",
                  T{{2, 3, 8}},
                  P::hyperbolic,
                  M::gnome,
                  25,
                  {-15, 0, 30},
                  {60, 50},
                  8,
                  {1, 3}},
        // The margins' hard cases: the disk's edge, where the point nears the light cone; moves
        // short of the limit of the margins, where the normals have grown; zoomed out, where P
        // does.
        PlaneCase{"PoincareEdge", T{{2, 3, 7}}, P::hyperbolic, M::stereo, 30, {}, {161, 121}},
        PlaneCase{"KleinEdge", T{{3, 3, 4}}, P::hyperbolic, M::gnome, 40, {}, {97, 89}},
        PlaneCase{"PoincareMoved",
                  T{{2, 3, 7}},
                  P::hyperbolic,
                  M::stereo,
                  40,
                  {5 * unit, 0, 20},
                  {97, 80},
                  2},
        PlaneCase{"KleinNearTheMarginsLimit",
                  T{{2, 4, 5}},
                  P::hyperbolic,
                  M::gnome,
                  50,
                  {8 * unit, 0, 0},
                  {97, 80},
                  2,
                  {},
                  0.01},
        PlaneCase{"GansZoomedOut", T{{2, 3, 7}}, P::hyperbolic, M::ortho, 0.5, {}, {97, 80}, 4},
        PlaneCase{"HalfPlaneZoomedOut",
                  T{{3, 3, 4}},
                  P::hyperbolic,
                  M::halfplane,
                  2,
                  {0, 0, 10},
                  {97, 80}},
        // Long moves, where the hyperbolic numbers grow: 12 to 30 curvature radii along side c,
        // the mirror through the centre, far beyond the other two.
        PlaneCase{"PoincareLongMove",
                  T{{2, 3, 7}},
                  P::hyperbolic,
                  M::stereo,
                  40,
                  {12 * unit, 0, 0},
                  {97, 80},
                  2},
        PlaneCase{"HalfPlaneVeryLongMove",
                  T{{4, 4, 4}},
                  P::hyperbolic,
                  M::halfplane,
                  30,
                  {-30 * unit, 0, 7},
                  {97, 80},
                  2},
        PlaneCase{"GansLongMove",
                  T{{7, 7, 7}},
                  P::hyperbolic,
                  M::ortho,
                  6,
                  {-20 * unit, 0, 90},
                  {97, 80},
                  2},
        PlaneCase{"Euclidean236", T{{2, 3, 6}}, P::euclidean, M::stereo, 30, {}, {161, 121}},
        PlaneCase{"Euclidean244Moved",
                  T{{2, 4, 4}},
                  P::euclidean,
                  M::halfplane,
                  25,
                  {1000, -77.5, 100},
                  {97, 80},
                  2},
        PlaneCase{"Euclidean333Zoomed",
                  T{{3, 3, 3}},
                  P::euclidean,
                  M::gnome,
                  10,
                  {},
                  {40, 30},
                  8,
                  {3, 2}},
        PlaneCase{"EuclideanZoomedOut", T{{2, 4, 4}}, P::euclidean, M::gnome, 0.5, {}, {97, 80}, 4},
        PlaneCase{"EuclideanLongMove",
                  T{{3, 3, 3}},
                  P::euclidean,
                  M::stereo,
                  20,
                  {5000 * unit, 0, 30},
                  {97, 80},
                  2},
        PlaneCase{"EuclideanNegativeScale",
                  T{{2, 3, 6}},
                  P::euclidean,
                  M::ortho,
                  -20,
                  {0, 0, 45},
                  {80, 61}}),
    RowName());

// At a huge R a picture shows nearly one point, F, the foot of the bisector of C, which in a
// triangle with A = B lies on mirror 3 as far from mirror 1 as from mirror 2: D1 and D2 tie but
// for their rounding, so every sample lies within the margin and takes the exact computation,
// whose colours are the reference's.
TEST(PlanePictures, LeaveTiesWithinTheMarginToTheExactComputation) {
    const PlaneCase cases[] = {
        {"", T{{3, 3, 3}}, P::euclidean, M::gnome, 1e300, {}, {41, 31}},
        {"", T{{4, 4, 4}}, P::hyperbolic, M::stereo, 1e300, {}, {41, 31}},
        {"", T{{3, 3, 4}}, P::hyperbolic, M::gnome, 1e300, {}, {41, 31}},
        {"", T{{7, 7, 2}}, P::hyperbolic, M::ortho, 1e300, {}, {41, 31}},
        {"", T{{3, 3, 7}}, P::hyperbolic, M::halfplane, 1e300, {}, {41, 31}},
    };
    for (const PlaneCase& c : cases) {
        PreparedPicture picture(setupOf(c.triangle, c.plane), describedPicture(c));
        const ref::Normals n = ref::solve(c.triangle, c.plane, pi);
        std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
        for (const KernelVariant variant : builtKernelVariants()) {
            if (!runsHere(variant)) {
                continue;
            }
            picture.useKernels(variant);
            for (int j = 0; j < picture.height(); ++j) {
                ASSERT_EQ(picture.renderRow(j, row), picture.width())
                    << nameOf(variant) << " (" << c.triangle.p[0] << " " << c.triangle.p[1] << " "
                    << c.triangle.p[2] << ") row " << j;
                for (int i = 0; i < picture.width(); ++i) {
                    ASSERT_EQ(row[static_cast<std::size_t>(i)], expectedPixel(c, n, i, j))
                        << nameOf(variant) << " " << i << ", " << j;
                }
            }
        }
    }
}

// The solver of the reference, which the pictures above rest on: every normal points into the
// triangle, and the normals meet at the triangle's angles: <N2, N3> = -cos A and so on.
TEST(PlaneReference, SolvesTheTriangles) {
    const T triangles[] = {T{{2, 3, 7}}, T{{2, 3, 8}}, T{{2, 4, 5}},    T{{3, 3, 4}},
                           T{{4, 4, 4}}, T{{7, 7, 7}}, T{{2, 3, 1000}}, T{{5, 4, 4}, {2, 1, 1}},
                           T{{3, 5, 7}}, T{{2, 3, 6}}, T{{2, 4, 4}},    T{{3, 3, 3}}};
    for (const T& t : triangles) {
        const auto [p, q, r] = t.p;
        const bool euclidean = t.d[0] * q * r + t.d[1] * p * r + t.d[2] * p * q == p * q * r;
        const P plane = euclidean ? P::euclidean : P::hyperbolic;
        const ref::Normals n = ref::solve(t, plane, pi);
        const ref::Normals v = ref::vertices(t, plane, pi);
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t j = (i + 1) % 3;
            const std::size_t k = (i + 2) % 3;
            EXPECT_GT(ref::form(n[i], v[i], plane), 0.0) << t.p[0] << t.p[1] << t.p[2] << i;
            const double angle = (pi / t.p[i]) * t.d[i];
            const double between =
                euclidean ? n[j][0] * n[k][0] + n[j][1] * n[k][1] : ref::form(n[j], n[k], plane);
            EXPECT_NEAR(between, -std::cos(angle), 1e-12) << t.p[0] << t.p[1] << t.p[2] << i;
        }
    }
}

// The checked pass names the first fault where the reference meets it: normals grown so large
// by a long move that the squared distances overflow.
TEST(PlanePictures, CheckedPassNamesTheFirstFault) {
    for (const M model : {M::stereo, M::halfplane, M::ortho}) {
        // In the Poincare disk of radius 24 pixels the first row's first pixels are grey.
        const double scale = model == M::stereo ? 12.0 : 30.0;
        const PlaneCase c{"",    T{{2, 3, 7}},       P::hyperbolic, model,
                          scale, {700 * unit, 0, 0}, {61, 41}};
        const ref::Normals n =
            ref::moved(ref::solve(c.triangle, c.plane, pi), c.view.lon, 0, 0, pi, c.plane);
        int faultRow = -1;
        int faultColumn = -1;
        for (int j = 0; j < c.size.height && faultRow < 0; ++j) {
            for (int i = 0; i < c.size.width; ++i) {
                if (!expectedPixel(c, n, i, j)) {
                    faultRow = j;
                    faultColumn = i;
                    break;
                }
            }
        }
        ASSERT_GE(faultRow, 0) << "the reference meets a fault";
        const PreparedPicture picture(setupOf(c.triangle, c.plane), describedPicture(c));
        std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
        for (int j = 0; j < faultRow; ++j) {
            (void)picture.renderRow(j, row);
        }
        try {
            (void)picture.renderRow(faultRow, row);
            ADD_FAILURE() << "no fault in row " << faultRow;
        } catch (const DrawError& e) {
            EXPECT_EQ(e.stage(), FaultStage::scan);
            EXPECT_EQ(e.row(), faultRow);
            EXPECT_EQ(e.column(), faultColumn);
        }
    }
}

// What a drawing of the planes refuses, each with its reason, and nothing drawn.
TEST(PlanePictures, RefuseWhatThePlanesHaveNot) {
    const DrawSetup hyperbolic = setupOf(T{{2, 3, 7}}, P::hyperbolic);
    const PlaneCase plain{"", T{{2, 3, 7}}, P::hyperbolic, M::stereo, 120, {}, {40, 30}};
    const auto message = [](const auto& make) -> std::string {
        try {
            make();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "nothing refused";
    };
    OverlayOptions edges;
    edges.polyhedron = true;
    EXPECT_EQ(message([&] { (void)PreparedPicture(hyperbolic, describedPicture(plain), edges); }),
              "the polyhedra are the sphere's alone for now, and the triangle is hyperbolic");
    PlaneCase far = plain;
    far.view.lon = 1e6;
    try {
        (void)PreparedPicture(hyperbolic, describedPicture(far));
        ADD_FAILURE() << "a move beyond the doubles drawn";
    } catch (const DrawError& e) {
        EXPECT_EQ(e.kind(), FaultKind::overflow);
        EXPECT_STREQ(e.what(),
                     "the view 1e+06,0,0 moves the hyperbolic plane too far: overflow in the view");
    }
    // The sphere has no upper half-plane.
    EXPECT_EQ(
        message([&] { (void)FinePicture(120.0, pi, Projection::halfplane, hyperbolic.normals); }),
        "the projection \"halfplane\" shows the hyperbolic plane alone, and the triangle is "
        "spherical");
    // A whole drawing of the sphere's start-up triangle refuses it before the sink hears of it.
    DrawRequest sphere;
    sphere.projection = Projection::halfplane;
    testing_support::CheckingSink sink;
    EXPECT_EQ(message([&] { runDrawing(sphere, sink); }),
              "the projection \"halfplane\" shows the hyperbolic plane alone, and the triangle is "
              "spherical");
    EXPECT_FALSE(sink.pixelScaleSet);
}

// The window's drawing as runs (vantu-render's --runs) draws the plane the rows show, in the
// Euclidean plane (no kernel) and the Poincare disk (its kernel).
TEST(PlanePictures, RunsDrawWhatTheRowsShow) {
    for (const P plane : {P::euclidean, P::hyperbolic}) {
        const T triangle = plane == P::euclidean ? T{{2, 4, 4}} : T{{3, 3, 4}};
        const PlaneCase c{"", triangle, plane, M::stereo, 40, {20, 10, 5}, PictureSize{}};
        const PreparedPicture picture(setupOf(c.triangle, c.plane), describedPicture(c));
        ImageSink image;
        runDrawing(picture, image);
        std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
        for (int j = 0; j < picture.height(); j += 16) {
            (void)picture.renderRow(j, row);
            for (int i = 0; i < picture.width(); ++i) {
                ASSERT_EQ(image.at(i, j), row[static_cast<std::size_t>(i)]) << i << ", " << j;
            }
        }
    }
}

// What a pixel shows in a plane: the point itself, the view's move undone. After a move of 3 to
// the right, the centre shows the point 3 to the left of the plane's origin.
TEST(PlanePictures, PointAtUndoesTheMove) {
    struct Row {
        P plane;
        M model;
        double expectedX;
        double expectedZ;
    };
    for (const Row& r : {Row{P::hyperbolic, M::stereo, -std::sinh(3.0), std::cosh(3.0)},
                         Row{P::hyperbolic, M::halfplane, -std::sinh(3.0), std::cosh(3.0)},
                         Row{P::euclidean, M::ortho, -3.0, 1.0}}) {
        const T triangle = r.plane == P::euclidean ? T{{2, 4, 4}} : T{{2, 3, 7}};
        const PlaneCase c{"", triangle, r.plane, r.model, 120, {3 * unit, 0, 0}, {2, 1}};
        const PreparedPicture picture(setupOf(triangle, r.plane), describedPicture(c));
        // Pixel (0, 0) of a 2 x 1 picture lies half a pixel left of the centre.
        const std::optional<PicturePoint> at = picture.pointAt(0, 0);
        ASSERT_TRUE(at);
        EXPECT_NEAR(at->point.x, r.expectedX, 0.05);
        EXPECT_NEAR(at->point.y, 0.0, 0.05);
        EXPECT_NEAR(at->point.z, r.expectedZ, 0.05);
        std::vector<PackedColour> row(2);
        (void)picture.renderRow(0, row);
        EXPECT_EQ(at->colour, row[0]);
    }
}

}  // namespace
}  // namespace vantu
