// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "geometry/draw_error.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"
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
                    "square root of a negative number while solving side c",
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
                    "square root of a negative number while solving side c",
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
