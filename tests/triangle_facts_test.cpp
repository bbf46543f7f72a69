// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The facts of a triangle: its group found from its mirrors, its order, mirrors and density, and
// the lines that say them.
#include "setup/triangle_facts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string>

#include "geometry/draw_error.h"
#include "setup/triangle_notation.h"
#include "setup/triangle_solver.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

DrawRequest schwarz(const std::string& text, int rotation = 0, bool reverse = false) {
    DrawRequest request;
    request.triangleCode = text;
    request.notation = TriangleNotation::schwarz;
    request.rotation = rotation;
    request.reverse = reverse;
    return request;
}

struct FactsCase {
    const char* name;
    std::string triangle;
    GroupKind group;
    std::size_t mirrors;  // 0 for none
    long order;
    double density;
    friend void PrintTo(const FactsCase& c, std::ostream* os) { *os << c.name; }
};

class TriangleFactsOf : public testing::TestWithParam<FactsCase> {};

TEST_P(TriangleFactsOf, NameTheGroupFromItsMirrors) {
    const FactsCase& c = GetParam();
    for (int rotation = 0; rotation < 3; ++rotation) {
        const TriangleFacts facts = triangleFacts(schwarz(c.triangle, rotation, rotation == 1));
        EXPECT_EQ(facts.group.kind, c.group) << "rotation " << rotation;
        EXPECT_EQ(facts.group.mirrors.size(), c.mirrors);
        EXPECT_EQ(facts.group.order, c.order);
        EXPECT_NEAR(facts.density, c.density, 1e-9);
        // Every mirror found is a mirror of the group: its reflection in each mirror is another.
        for (const Vec3& m : facts.group.mirrors) {
            EXPECT_NEAR(length(m), 1.0, 1e-12);
            for (const Vec3& g : facts.group.mirrors) {
                const Vec3 image = m - (2.0 * dot(m, g)) * g;
                double nearest = 2.0;
                for (const Vec3& other : facts.group.mirrors) {
                    nearest = std::min({nearest, length(image - other), length(image + other)});
                }
                ASSERT_LT(nearest, 1e-9);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Triangles, TriangleFactsOf,
    testing::Values(
        // Six mirrors, one of them across the axis of the other five: dihedral, not tetrahedral.
        FactsCase{"Prism5", "2 2 5", GroupKind::dihedral, 6, 20, 1.0},
        FactsCase{"PrismStar", "2 2 5/2", GroupKind::dihedral, 6, 20, 2.0},
        FactsCase{"ThreeRightAngles", "2 2 2", GroupKind::dihedral, 3, 8, 1.0},
        FactsCase{"Prism12", "2 2 12", GroupKind::dihedral, 13, 48, 1.0},
        FactsCase{"Tetrahedral", "2 3 3", GroupKind::tetrahedral, 6, 24, 1.0},
        FactsCase{"TetrahedralTwice", "3/2 3 3", GroupKind::tetrahedral, 6, 24, 2.0},
        FactsCase{"Octahedral", "2 3 4", GroupKind::octahedral, 9, 48, 1.0},
        FactsCase{"Icosahedral", "2 3 5", GroupKind::icosahedral, 15, 120, 1.0},
        FactsCase{"IcosahedralStar", "5/2 3 3", GroupKind::icosahedral, 15, 120, 2.0},
        // The largest of the catalogue: 252 degrees of excess, 120 * 1.4 pi / 4 pi.
        FactsCase{"IcosahedralFortyTwo", "5/4 5/4 5/4", GroupKind::icosahedral, 15, 120, 42.0},
        // 90, 60 and 67.5 degrees: 3/8 of a half turn is no angle of a finite group.
        FactsCase{"Dense", "2 3 8/3", GroupKind::none, 0, 0, 0.0},
        FactsCase{"DenseSevenths", "2 3 7/2", GroupKind::none, 0, 0, 0.0}),
    RowName());

TEST(TriangleFacts, OfEveryCatalogueCodeMatchItsLabelAndCoverTheSphereWholeTimes) {
    for (const std::string_view code : catalogue) {
        DrawRequest request;
        request.triangleCode = std::string(code);
        const TriangleFacts facts = triangleFacts(request);
        const GroupKind expected = code[0] == '3'   ? GroupKind::tetrahedral
                                   : code[0] == '4' ? GroupKind::octahedral
                                                    : GroupKind::icosahedral;
        EXPECT_EQ(facts.group.kind, expected) << code;
        EXPECT_GE(facts.density, 1.0 - 1e-9) << code;
        EXPECT_NEAR(facts.density, std::round(facts.density), 1e-9) << code;
    }
}

TEST(TriangleFacts, AreSaidAsKeysAndValues) {
    EXPECT_EQ(factLines(triangleFacts(schwarz("2 3 3"))),
              "triangle: (2 3 3)\n"
              "angles: 90\u00b0, 60\u00b0, 60\u00b0 (\u03c0/2, \u03c0/3, \u03c0/3)\n"
              "sides: 70.53\u00b0, 54.74\u00b0, 54.74\u00b0\n"
              "area: 0.523599 sr, 1/24 of the sphere\n"
              "group: tetrahedral; the mirrors of the regular tetrahedron\n"
              "order: 24\n"
              "mirrors: 6\n"
              "density: 1\n");
    // The drawing's vertices: the rotation puts the right angle at C.
    DrawRequest star;
    star.triangleCode = "511 5/3:3/2:3/1";
    star.rotation = 1;
    EXPECT_TRUE(factLines(triangleFacts(star))
                    .starts_with("triangle: (3/2 3 5/3)\n"
                                 "angles: 120\u00b0, 60\u00b0, 108\u00b0 (2\u03c0/3, \u03c0/3, "
                                 "3\u03c0/5)\n"));
    EXPECT_EQ(factLines(triangleFacts(schwarz("2 2 10/4"))),
              "triangle: (2 2 10/4)\n"
              "angles: 90\u00b0, 90\u00b0, 72\u00b0 (\u03c0/2, \u03c0/2, 2\u03c0/5)\n"
              "sides: 90\u00b0, 90\u00b0, 72\u00b0\n"
              "area: 1.25664 sr, 1/10 of the sphere\n"
              "group: dihedral; 5 mirrors through one axis at equal angles, and one "
              "perpendicular to it\n"
              "order: 20\n"
              "mirrors: 6\n"
              "density: 2\n");
    EXPECT_EQ(factLines(triangleFacts(schwarz("2 3 8/3"))),
              "triangle: (2 3 8/3)\n"
              "angles: 90\u00b0, 60\u00b0, 67.5\u00b0 (\u03c0/2, \u03c0/3, 3\u03c0/8)\n"
              "sides: 76.16\u00b0, 57.23\u00b0, 63.78\u00b0\n"
              "area: 0.654498 sr, 0.0520833 of the sphere\n"
              "group: none; the images of the triangle are dense on the sphere\n"
              "order: infinite\n"
              "mirrors: infinite\n"
              "density: none\n");
}

TEST(TriangleFacts, AreRefusedForAnglesThatBoundNoTriangle) {
    EXPECT_THROW_MSG((void)triangleFacts(schwarz("2 3 7")), DrawError,
                     "the angles 90\u00b0, 60\u00b0, 25.71\u00b0 bound no proper spherical "
                     "triangle: their sum is not more than 180\u00b0");
    EXPECT_THROW((void)triangleFacts(schwarz("2 3")), DrawError);
}

TEST(TriangleVertices, LieOnTheirMirrorsInsideTheTriangle) {
    const SolvedTriangle solved =
        solveTriangle(std::numbers::pi / 2, std::numbers::pi / 3, std::numbers::pi / 5);
    const std::array<Vec3, 3> v = triangleVertices(solved.normals);
    const std::array<Vec3, 3> expected = {solved.vertexA, solved.vertexB, solved.vertexC};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(length(v[i] - expected[i]), 0.0, 1e-14) << "vertex " << i;
    }
}

}  // namespace
}  // namespace vantu
