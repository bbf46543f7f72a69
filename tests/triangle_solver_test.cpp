// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <string>

#include "geometry/draw_error.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"
#include "setup/triangle_notation.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

const double pi = std::atan(1.0) * 4.0;

void expectNear(const Vec3& actual, const Vec3& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-6) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-6) << what;
}

// The permutation table: which code angle becomes A, B and C.
struct PermutationCase {
    const char* name;
    int rotation;
    bool reverse;
    int a, b, c;  // 1-based code angle numbers
    friend void PrintTo(const PermutationCase& c, std::ostream* os) { *os << c.name; }
};

class PermuteAngles : public testing::TestWithParam<PermutationCase> {};

TEST_P(PermuteAngles, RotatesThenSwaps) {
    const PermutationCase& c = GetParam();
    const VertexAngles v = permuteAngles(1.0, 2.0, 3.0, c.rotation, c.reverse);
    EXPECT_EQ(v[0], c.a);
    EXPECT_EQ(v[1], c.b);
    EXPECT_EQ(v[2], c.c);
}

INSTANTIATE_TEST_SUITE_P(All, PermuteAngles,
                         testing::Values(PermutationCase{"R0", 0, false, 1, 2, 3},
                                         PermutationCase{"R1", 1, false, 2, 3, 1},
                                         PermutationCase{"R2", 2, false, 3, 1, 2},
                                         PermutationCase{"R0Reverse", 0, true, 2, 1, 3},
                                         PermutationCase{"R1Reverse", 1, true, 3, 2, 1},
                                         PermutationCase{"R2Reverse", 2, true, 1, 3, 2}),
                         RowName());

TEST(SolveTriangle, StartUpTriangle) {
    const SolvedTriangle t = solveTriangle(pi / 2, pi / 3, pi / 3);
    expectNear(t.vertexA, {-0.426401, 0, 0.904534}, "vertex A");
    expectNear(t.vertexB, {0.492366, 0, 0.870388}, "vertex B");
    expectNear(t.vertexC, {-0.246183, 0.816497, 0.522233}, "vertex C");
    expectNear(t.normals[0], {-0.753778, -0.5, 0.426401}, "N1");
    expectNear(t.normals[1], {0.904534, 0.0, 0.426401}, "N2");
    // The mirror of side c is the plane y = 0, with x and z exactly zero.
    EXPECT_EQ(t.normals[2].x, 0.0);
    EXPECT_EQ(t.normals[2].z, 0.0);
    EXPECT_TRUE(t.normals[2].y == 1.0 || t.normals[2].y == std::nextafter(1.0, 0.0));
}

TEST(SolveTriangle, SymmetricTriangleHasCStraightAboveTheCentre) {
    const SolvedTriangle t = solveTriangle(pi / 3, pi / 3, pi / 2);
    expectNear(t.vertexA, {-0.577350, 0, 0.816497}, "vertex A");
    expectNear(t.vertexB, {0.577350, 0, 0.816497}, "vertex B");
    expectNear(t.vertexC, {0, 0.707107, 0.707107}, "vertex C");
    expectNear(t.normals[0], {-0.707107, -0.5, 0.5}, "N1");
    expectNear(t.normals[1], {0.707107, -0.5, 0.5}, "N2");
}

TEST(SolveTriangle, ObtuseTriangleReachesTheFarSide) {
    const SolvedTriangle t = solveTriangle(2 * pi / 3, 2 * pi / 3, 2 * pi / 3);
    expectNear(t.vertexC, {0, 0.816497, -0.577350}, "vertex C");
    expectNear(t.normals[0], {-0.5, 0.5, 0.707107}, "N1");
    expectNear(t.normals[1], {0.5, 0.5, 0.707107}, "N2");
}

TEST(PrepareDrawing, StartUpRequestAndRotationOne) {
    DrawRequest request;
    const DrawSetup start = prepareDrawing(request);
    EXPECT_EQ(start.pi, std::atan(1.0) * 4.0);
    expectNear(start.normals[0], {-0.753778, -0.5, 0.426401}, "N1");
    request.rotation = 1;
    const DrawSetup rotated = prepareDrawing(request);
    expectNear(rotated.normals[0], {-0.707107, -0.5, 0.5}, "N1");
    expectNear(rotated.normals[1], {0.707107, -0.5, 0.5}, "N2");
}

// Every catalogue code under each permutation: no fault, each normal perpendicular to the two
// vertices of its side and pointing towards the third, and reverse mirrors the solution in x = 0.
TEST(SolveTriangle, EveryCatalogueCodeUnderEveryPermutation) {
    for (const std::string_view code : catalogue) {
        const CodeAngles angles = parseTriangleCode(code, pi);
        for (int rotation = 0; rotation < 3; ++rotation) {
            SolvedTriangle solved[2];
            for (const bool reverse : {false, true}) {
                SCOPED_TRACE(std::string(code) + " rotation " + std::to_string(rotation) +
                             (reverse ? " reverse" : ""));
                const VertexAngles v =
                    permuteAngles(angles[0], angles[1], angles[2], rotation, reverse);
                SolvedTriangle t;
                ASSERT_NO_THROW(t = solveTriangle(v[0], v[1], v[2]));
                const Vec3 vertex[3] = {t.vertexA, t.vertexB, t.vertexC};
                for (int i = 0; i < 3; ++i) {
                    const Vec3& n = t.normals[static_cast<std::size_t>(i)];
                    EXPECT_NEAR(dot(n, n), 1.0, 1e-12);
                    EXPECT_NEAR(dot(n, vertex[(i + 1) % 3]), 0.0, 1e-12);
                    EXPECT_NEAR(dot(n, vertex[(i + 2) % 3]), 0.0, 1e-12);
                    EXPECT_GT(dot(n, vertex[i]), 0.0);
                }
                EXPECT_GT(t.vertexC.y, 0.0);
                EXPECT_LT(t.vertexA.x, 0.0);
                EXPECT_GT(t.vertexB.x, 0.0);
                solved[reverse ? 1 : 0] = t;
            }
            const Mirrors& n = solved[0].normals;
            const Mirrors& r = solved[1].normals;
            expectNear(r[0], {-n[1].x, n[1].y, n[1].z}, "reversed N1");
            expectNear(r[1], {-n[0].x, n[0].y, n[0].z}, "reversed N2");
            expectNear(r[2], n[2], "reversed N3");
        }
    }
}

// The form of `geometry` between two normals: the dot product, that of the x and y parts alone
// for the lines of the Euclidean plane, (uy vy + ux vx) - uz vz in the hyperbolic plane.
double normalForm(const Vec3& u, const Vec3& v, Geometry geometry) {
    const double plane = u.y * v.y + u.x * v.x;
    return geometry == Geometry::euclidean    ? plane
           : geometry == Geometry::hyperbolic ? plane - u.z * v.z
                                              : plane + u.z * v.z;
}

// The form between a normal and a point: in the Euclidean plane, the signed distance of a point
// at z = 1.
double pointForm(const Vec3& n, const Vec3& p, Geometry geometry) {
    return geometry == Geometry::hyperbolic ? (n.y * p.y + n.x * p.x) - n.z * p.z : dot(n, p);
}

// Every triangle of a grid of angles pi d / n, whole numbers and fractions, in the geometry its
// fractions decide: the vertices on the sphere, the sheet or the plane z = 1; each normal of unit
// length in the geometry's form, through the two vertices of its side and pointing into the
// triangle; the normals' forms the negated cosines of the angles between their mirrors; F, on
// the bisector of C, at (0, 0, 1) between A on the left and B on the right, C above.
TEST(SolveTriangle, EveryTriangleOfAGridInItsGeometry) {
    const std::array<const char*, 16> numbers = {"2",   "3",   "4",   "5",   "6",   "7",
                                                 "8",   "12",  "30",  "5/2", "7/2", "7/3",
                                                 "8/3", "3/2", "5/3", "9/4"};
    std::array<int, 3> solved{};
    for (const char* p : numbers) {
        for (const char* q : numbers) {
            for (const char* r : numbers) {
                const std::string text = std::string(p) + " " + q + " " + r;
                const ExactFractions f = exactSchwarzFractions(text);
                const Geometry geometry = triangleGeometry(f);
                if (geometry == Geometry::spherical && triangleDefect(f)) {
                    continue;
                }
                SCOPED_TRACE(text);
                const CodeAngles angle = parseTriangle(text, TriangleNotation::schwarz, pi);
                SolvedTriangle t;
                ASSERT_NO_THROW(t = solveTriangle(angle[0], angle[1], angle[2], geometry));
                const std::array<Vec3, 3> vertex = {t.vertexA, t.vertexB, t.vertexC};
                double size = 1.0;
                for (const Vec3& v : vertex) {
                    size = std::max({size, std::abs(v.x), std::abs(v.y), std::abs(v.z)});
                    if (geometry == Geometry::euclidean) {
                        EXPECT_EQ(v.z, 1.0);
                    } else {
                        const double sheet = geometry == Geometry::hyperbolic ? -1.0 : 1.0;
                        EXPECT_NEAR(pointForm(v, v, geometry), sheet,
                                    1e-12 * std::max(1.0, v.z * v.z));
                    }
                }
                const double tolerance = 1e-11 * size * size;
                for (std::size_t i = 0; i < 3; ++i) {
                    const Vec3& n = t.normals[i];
                    EXPECT_NEAR(normalForm(n, n, geometry), 1.0, 1e-12);
                    EXPECT_NEAR(pointForm(n, vertex[(i + 1) % 3], geometry), 0.0, tolerance);
                    EXPECT_NEAR(pointForm(n, vertex[(i + 2) % 3], geometry), 0.0, tolerance);
                    EXPECT_GT(pointForm(n, vertex[i], geometry), tolerance);
                    EXPECT_NEAR(
                        normalForm(t.normals[(i + 1) % 3], t.normals[(i + 2) % 3], geometry),
                        -std::cos(angle[i]), 1e-11);
                }
                const Vec3 f0{0.0, 0.0, 1.0};
                EXPECT_NEAR(pointForm(t.normals[0], f0, geometry),
                            pointForm(t.normals[1], f0, geometry), 1e-11 * size);
                EXPECT_EQ(t.normals[2].x, 0.0);
                EXPECT_EQ(t.normals[2].z, 0.0);
                EXPECT_LT(t.vertexA.x, 0.0);
                EXPECT_GT(t.vertexB.x, 0.0);
                EXPECT_GT(t.vertexC.y, 0.0);
                if (geometry == Geometry::euclidean) {
                    EXPECT_NEAR(t.vertexB.x - t.vertexA.x, 1.0, 1e-12);
                }
                ++solved[static_cast<std::size_t>(geometry)];
            }
        }
    }
    // The grid reaches every geometry: (2 3 6), (2 4 4), (3 3 3), (3/2 6 6), (5 5/2 5/2), ... in
    // every order.
    EXPECT_GT(solved[static_cast<std::size_t>(Geometry::spherical)], 500);
    EXPECT_GT(solved[static_cast<std::size_t>(Geometry::euclidean)], 20);
    EXPECT_GT(solved[static_cast<std::size_t>(Geometry::hyperbolic)], 2000);
}

// Angles that bound no triangle of the geometry asked for stop the solver at its first fault,
// named with the geometry.
TEST(SolveTriangle, StopsAtTheFirstFaultNamingTheGeometry) {
    EXPECT_THROW_MSG((void)solveTriangle(pi / 2, pi / 3, pi / 5, Geometry::hyperbolic), DrawError,
                     "the angles 90\u00B0, 60\u00B0, 36\u00B0 do not form a hyperbolic triangle: "
                     "square root of a negative number while solving side c");
    EXPECT_THROW_MSG((void)solveTriangle(pi / 2, pi / 2, 0.0, Geometry::euclidean), DrawError,
                     "the angles 90\u00B0, 90\u00B0, 0\u00B0 do not form a Euclidean triangle: "
                     "division by zero while solving side b");
    // A nearly ideal triangle: the cross products that give its normals cancel every digit.
    EXPECT_THROW_MSG((void)solveTriangle(pi / 312901234, pi / 2, pi / 1.2345678901234560e26,
                                         Geometry::hyperbolic),
                     DrawError,
                     "the angles 0\u00B0, 90\u00B0, 0\u00B0 form a hyperbolic triangle whose "
                     "sides are too long to place in double precision: its mirrors do not meet "
                     "at the angle A");
}

struct BadTriangle {
    const char* name;
    std::string code;
    int rotation;
    std::string message;
    FaultKind kind;
    friend void PrintTo(const BadTriangle& c, std::ostream* os) { *os << c.name; }
};

class BadTriangles : public testing::TestWithParam<BadTriangle> {};

TEST_P(BadTriangles, StopWithTheFirstFault) {
    const BadTriangle& c = GetParam();
    try {
        (void)prepareDrawing(drawRequest(c.code).rotation(c.rotation));
        ADD_FAILURE() << "no fault";
    } catch (const DrawError& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
        EXPECT_EQ(e.kind(), c.kind);
        EXPECT_EQ(e.stage(), FaultStage::triangle);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, BadTriangles,
    testing::Values(
        BadTriangle{"SumBelowHalfTurn", "700 2/1:3/1:7/1", 0,
                    "the angles 90\u00B0, 60\u00B0, 25.71\u00B0 do not form a spherical triangle: "
                    "square root of a negative number while solving side c; in the usual "
                    "notation, \"2 3 7\" draws it in the hyperbolic plane",
                    FaultKind::invalidOperation},
        BadTriangle{"LetterForQ1", "300 2/x:3/1:3/1", 0,
                    "the angles 0\u00B0, 60\u00B0, 60\u00B0 do not form a spherical triangle: "
                    "division by zero while solving side c",
                    FaultKind::divisionByZero},
        BadTriangle{"FourteenCharacters", "300 2/1:3/1:3/", 0,
                    "the angles 90\u00B0, 60\u00B0, 0\u00B0 do not form a spherical triangle: "
                    "square root of a negative number while solving side c",
                    FaultKind::invalidOperation},
        BadTriangle{"ZeroAngleAsC", "300 2/1:3/1:3/0", 0,
                    "the angles 90\u00B0, 60\u00B0, 0\u00B0 do not form a spherical triangle: "
                    "square root of a negative number while solving side c",
                    FaultKind::invalidOperation},
        BadTriangle{"ZeroAngleAsB", "300 2/1:3/1:3/0", 1,
                    "the angles 60\u00B0, 0\u00B0, 90\u00B0 do not form a spherical triangle: "
                    "division by zero while solving side c",
                    FaultKind::divisionByZero},
        BadTriangle{"ZeroAngleAsA", "300 2/1:3/1:3/0", 2,
                    "the angles 0\u00B0, 90\u00B0, 60\u00B0 do not form a spherical triangle: "
                    "division by zero while solving side c",
                    FaultKind::divisionByZero},
        BadTriangle{"SumExactlyHalfTurn", "000 2/1:4/1:4/1", 0,
                    "the angles 90\u00B0, 45\u00B0, 45\u00B0 do not form a spherical triangle: "
                    "square root of a negative number while solving side c; in the usual "
                    "notation, \"2 4 4\" draws it in the Euclidean plane",
                    FaultKind::invalidOperation}),
    RowName());

TEST(ReadScale, TakesTheLeadingNumberAndRejectsOverflow) {
    EXPECT_EQ(readScale("120"), 120.0);
    EXPECT_EQ(readScale(""), 0.0);
    EXPECT_EQ(readScale(" 12.5xyz"), 12.5);
    EXPECT_THROW_MSG((void)readScale("1e999"), DrawError,
                     "the scale R \"1e999\" is beyond the range of numbers: overflow");
    EXPECT_THROW_MSG((void)readScale("-" + std::string(500, '9')), DrawError,
                     "the scale R \"-" + std::string(39, '9') +
                         "...\" is beyond the range of numbers: overflow");
    // The quote never splits a character.
    const std::string x34(34, 'x');
    EXPECT_THROW_MSG(
        (void)readScale("1e999" + x34 + "\u00E9zz"), DrawError,
        "the scale R \"1e999" + x34 + "...\" is beyond the range of numbers: overflow");
    EXPECT_THROW_MSG((void)readScale("1e999" + x34.substr(1) + "\u00E9"), DrawError,
                     "the scale R \"1e999" + x34.substr(1) +
                         "\u00E9\" is beyond the range of numbers: overflow");
    // A right-to-left override or a line break in the quote cannot garble the message.
    EXPECT_THROW_MSG((void)readScale("1e999\u202E\n"), DrawError,
                     "the scale R \"1e999\\u202E\\u000A\" is beyond the range of numbers: "
                     "overflow");
}

}  // namespace
}  // namespace vantu
