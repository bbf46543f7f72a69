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
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "geometry/draw_error.h"
#include "setup/triangle_notation.h"
#include "setup/triangle_solver.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;
using testing_support::schwarzRequest;

DrawRequest schwarz(const std::string& text, int rotation = 0, bool reverse = false) {
    return schwarzRequest(text).rotation(rotation).reverse(reverse);
}

struct FactsCase {
    const char* name;
    std::string triangle;
    GroupKind group;
    long mirrors;  // 0 for none
    long order;
    long density;
    bool listed = true;  // whether the mirrors are listed
    friend void PrintTo(const FactsCase& c, std::ostream* os) { *os << c.name; }
};

class TriangleFactsOf : public testing::TestWithParam<FactsCase> {};

TEST_P(TriangleFactsOf, NameTheGroupFromTheAnglesAndListItsMirrors) {
    const FactsCase& c = GetParam();
    for (int rotation = 0; rotation < 3; ++rotation) {
        const TriangleFacts facts = triangleFacts(schwarz(c.triangle, rotation, rotation == 1));
        EXPECT_EQ(facts.group.kind, c.group) << "rotation " << rotation;
        EXPECT_EQ(facts.group.mirrorCount, c.mirrors);
        EXPECT_EQ(facts.group.mirrors.size(), c.listed ? static_cast<std::size_t>(c.mirrors) : 0U);
        EXPECT_EQ(facts.group.order, c.order);
        EXPECT_EQ(facts.density, c.density);
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
        FactsCase{"Prism5", "2 2 5", GroupKind::dihedral, 6, 20, 1},
        FactsCase{"PrismStar", "2 2 5/2", GroupKind::dihedral, 6, 20, 2},
        FactsCase{"ThreeRightAngles", "2 2 2", GroupKind::dihedral, 3, 8, 1},
        FactsCase{"Prism12", "2 2 12", GroupKind::dihedral, 13, 48, 1},
        FactsCase{"Tetrahedral", "2 3 3", GroupKind::tetrahedral, 6, 24, 1},
        FactsCase{"TetrahedralTwice", "3/2 3 3", GroupKind::tetrahedral, 6, 24, 2},
        FactsCase{"Octahedral", "2 3 4", GroupKind::octahedral, 9, 48, 1},
        FactsCase{"Icosahedral", "2 3 5", GroupKind::icosahedral, 15, 120, 1},
        FactsCase{"IcosahedralStar", "5/2 3 3", GroupKind::icosahedral, 15, 120, 2},
        // The largest of the catalogue: 252 degrees of excess, 120 * 1.4 pi / 4 pi.
        FactsCase{"IcosahedralFortyTwo", "5/4 5/4 5/4", GroupKind::icosahedral, 15, 120, 42},
        // 90, 60 and 67.5 degrees: 3/8 of a half turn is no angle of a finite group.
        FactsCase{"Dense", "2 3 8/3", GroupKind::none, 0, 0, 0},
        FactsCase{"DenseSevenths", "2 3 7/2", GroupKind::none, 0, 0, 0},
        // Decided on the fractions in lowest terms, not on how they are written.
        FactsCase{"TetrahedralUnreduced", "4/2 6/2 9/3", GroupKind::tetrahedral, 6, 24, 1},
        // A fourth and a fifth of a half turn are angles of finite groups, but of no one group.
        FactsCase{"FourAndFiveMixed", "2 4 5/2", GroupKind::none, 0, 0, 0},
        // Within 1e-10 of an angle of Schwarz's list, no angle of it: no group of mirrors
        // within 1e-8 of each other, which the drawing's doubles cannot tell apart.
        FactsCase{"NearlyTetrahedral", "2 3 30000000001/10000000000", GroupKind::none, 0, 0, 0},
        FactsCase{"NearlyOctahedral", "2 3 4000000001/1000000000", GroupKind::none, 0, 0, 0},
        FactsCase{"NearlyIcosahedral", "2 3 5000000001/1000000000", GroupKind::none, 0, 0, 0},
        // (2 2 n/d) is dihedral for every n; beyond maxGroupMirrors its mirrors are not listed.
        FactsCase{"Prism10000", "2 2 10000", GroupKind::dihedral, 10001, 40000, 1, false},
        FactsCase{"PrismNearlyFourfold", "4000000001/1000000000 2 2", GroupKind::dihedral,
                  4000000002, 16000000004, 1000000000, false},
        // The planes' groups are infinite, none of their mirrors listed; the density is how many
        // triangles of the tiling the triangle is made of.
        FactsCase{"P6m", "2 3 6", GroupKind::wallpaper, 0, 0, 1},
        FactsCase{"P4m", "2 4 4", GroupKind::wallpaper, 0, 0, 1},
        FactsCase{"P3m1", "3 3 3", GroupKind::wallpaper, 0, 0, 1},
        FactsCase{"P6mTwice", "3/2 6 6", GroupKind::wallpaper, 0, 0, 2},
        FactsCase{"P6mUnreduced", "6/3 6/2 12/2", GroupKind::wallpaper, 0, 0, 1},
        // A turn by 2 pi / 5 or 2 pi / 8 at a vertex: no discrete group of the plane.
        FactsCase{"EuclideanFivefold", "2 5 10/3", GroupKind::none, 0, 0, 0},
        FactsCase{"EuclideanEightfold", "2 8 8/3", GroupKind::none, 0, 0, 0},
        FactsCase{"EuclideanTwelvefold", "12 12 6/5", GroupKind::none, 0, 0, 0},
        FactsCase{"Heptagonal", "2 3 7", GroupKind::hyperbolic, 0, 0, 1},
        FactsCase{"HeptagonalUnreduced", "4/2 6/2 14/2", GroupKind::hyperbolic, 0, 0, 1},
        FactsCase{"Octagonal", "4 4 4", GroupKind::hyperbolic, 0, 0, 1},
        FactsCase{"TwoOf245", "5/2 4 4", GroupKind::hyperbolic, 0, 0, 2},
        FactsCase{"TwoOf237", "7/2 3 3", GroupKind::hyperbolic, 0, 0, 2},
        FactsCase{"ThreeSevenths", "7/3 7 7", GroupKind::undecided, 0, 0, 0},
        FactsCase{"TwoStars", "5/2 5/2 7", GroupKind::undecided, 0, 0, 0},
        FactsCase{"StarBetweenUnequal", "5/2 4 5", GroupKind::undecided, 0, 0, 0}),
    RowName());

// How many mirrors the reflections in `normals` generate, found from the mirrors alone; 0 past
// 100, which no finite group but a dihedral one has.
std::size_t mirrorsClosingUp(const Mirrors& normals) {
    std::vector<Vec3> mirrors(normals.begin(), normals.end());
    for (std::size_t next = 0; next < mirrors.size() && mirrors.size() <= 100; ++next) {
        for (const Vec3& g : normals) {
            const Vec3 image = unit(mirrors[next] - (2.0 * dot(mirrors[next], g)) * g);
            if (std::none_of(mirrors.begin(), mirrors.end(), [&](const Vec3& m) {
                    return std::min(length(image - m), length(image + m)) < 1e-9;
                })) {
                mirrors.push_back(image);
            }
        }
    }
    return mirrors.size() > 100 ? 0 : mirrors.size();
}

// Schwarz's list against the mirrors themselves: of every proper triangle whose angles are d/n
// half turns in lowest terms with n up to 6, those whose mirrors close up into finitely many
// have a finite group with that many, and the others none.
TEST(TriangleGroup, IsFiniteExactlyWhereTheMirrorsCloseUp) {
    std::vector<std::string> fractions;
    for (int n = 2; n <= 6; ++n) {
        for (int d = 1; d < n; ++d) {
            if (std::gcd(n, d) == 1) {
                fractions.push_back(std::to_string(n) + "/" + std::to_string(d));
            }
        }
    }
    int finite = 0;
    int checked = 0;
    for (std::size_t i = 0; i < fractions.size(); ++i) {
        for (std::size_t j = i; j < fractions.size(); ++j) {
            for (std::size_t k = j; k < fractions.size(); ++k) {
                const std::string text = fractions[i] + " " + fractions[j] + " " + fractions[k];
                if (sphericalDefect(text, TriangleNotation::schwarz)) {
                    continue;
                }
                const MirrorGroup group = triangleGroup(exactSchwarzFractions(text));
                const std::size_t closing = mirrorsClosingUp(prepareDrawing(schwarz(text)).normals);
                EXPECT_EQ(group.mirrorCount, static_cast<unsigned long>(closing)) << text;
                finite += closing > 0 ? 1 : 0;
                ++checked;
            }
        }
    }
    // The 44 of the catalogue and (2 2 n/d) for each of the 11 fractions.
    EXPECT_EQ(finite, 44 + 11);
    EXPECT_GT(checked, finite);
}

TEST(TriangleFacts, OfEveryCatalogueCodeMatchItsLabelAndCoverTheSphereWholeTimes) {
    for (const std::string_view code : catalogue) {
        const TriangleFacts facts = triangleFacts(drawRequest(std::string(code)));
        const GroupKind expected = code[0] == '3'   ? GroupKind::tetrahedral
                                   : code[0] == '4' ? GroupKind::octahedral
                                                    : GroupKind::icosahedral;
        EXPECT_EQ(facts.group.kind, expected) << code;
        EXPECT_GE(facts.density, 1) << code;
        EXPECT_EQ(facts.density.get_den(), 1) << code;
    }
}

TEST(TriangleFacts, AreSaidAsKeysAndValues) {
    EXPECT_EQ(factLines(triangleFacts(schwarz("2 3 3"))),
              "triangle: (2 3 3)\n"
              "geometry: spherical\n"
              "angles: 90\u00b0, 60\u00b0, 60\u00b0 (\u03c0/2, \u03c0/3, \u03c0/3)\n"
              "sides: 70.53\u00b0, 54.74\u00b0, 54.74\u00b0\n"
              "area: 0.523599 sr, 1/24 of the sphere\n"
              "group: tetrahedral; the mirrors of the regular tetrahedron\n"
              "order: 24\n"
              "mirrors: 6\n"
              "density: 1\n");
    // The drawing's vertices: the rotation puts the right angle at C.
    const DrawRequest star = drawRequest("511 5/3:3/2:3/1").rotation(1);
    EXPECT_TRUE(factLines(triangleFacts(star))
                    .starts_with("triangle: (3/2 3 5/3)\n"
                                 "geometry: spherical\n"
                                 "angles: 120\u00b0, 60\u00b0, 108\u00b0 (2\u03c0/3, \u03c0/3, "
                                 "3\u03c0/5)\n"));
    EXPECT_EQ(factLines(triangleFacts(schwarz("2 2 10/4"))),
              "triangle: (2 2 10/4)\n"
              "geometry: spherical\n"
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
              "geometry: spherical\n"
              "angles: 90\u00b0, 60\u00b0, 67.5\u00b0 (\u03c0/2, \u03c0/3, 3\u03c0/8)\n"
              "sides: 76.16\u00b0, 57.23\u00b0, 63.78\u00b0\n"
              "area: 0.654498 sr, 0.0520833 of the sphere\n"
              "group: none; the images of the triangle are dense on the sphere\n"
              "order: infinite\n"
              "mirrors: infinite\n"
              "density: none\n");
}

TEST(TriangleFacts, OfThePlanesAreSaidInTheirOwnTerms) {
    EXPECT_EQ(factLines(triangleFacts(schwarz("2 3 7"))),
              "triangle: (2 3 7)\n"
              "geometry: hyperbolic\n"
              "angles: 90\u00b0, 60\u00b0, 25.71\u00b0 (\u03c0/2, \u03c0/3, \u03c0/7)\n"
              "sides: 0.620672, 0.545275, 0.283128\n"
              "area: 0.0747998, \u03c0/42\n"
              "group: hyperbolic; the hyperbolic triangle group (2 3 7)\n"
              "order: infinite\n"
              "mirrors: infinite\n"
              "density: 1\n");
    EXPECT_EQ(factLines(triangleFacts(schwarz("2 3 6"))),
              "triangle: (2 3 6)\n"
              "geometry: Euclidean\n"
              "angles: 90\u00b0, 60\u00b0, 30\u00b0 (\u03c0/2, \u03c0/3, \u03c0/6)\n"
              "sides: 2, 1.73205, 1\n"
              "area: 0.866025 (side c = 1)\n"
              "group: wallpaper; p6m, the group of the tiling by triangles (2 3 6)\n"
              "order: infinite\n"
              "mirrors: infinite\n"
              "density: 1\n");
    const std::string star = factLines(triangleFacts(schwarz("4 5/2 4", 1)));
    EXPECT_TRUE(star.find("\nsides: 1.06128, 0.842482, 0.842482\n"
                          "area: 0.314159, \u03c0/10\n"
                          "group: hyperbolic; the hyperbolic triangle group (2 4 5)\n") !=
                std::string::npos)
        << star;
    EXPECT_TRUE(factLines(triangleFacts(schwarz("2 5 10/3")))
                    .ends_with("group: none; the images of the triangle are dense in the "
                               "Euclidean plane\norder: infinite\nmirrors: infinite\n"
                               "density: none\n"));
    EXPECT_TRUE(factLines(triangleFacts(schwarz("7/3 7 7")))
                    .ends_with("group: undecided; not proved discrete: the images of the "
                               "triangle may be dense in the hyperbolic plane\norder: "
                               "infinite\nmirrors: infinite\ndensity: unknown\n"));
}

// The area is pi times the exact excess of the fractions, rounded once: the excess of a thin
// triangle, a difference of nearly equal angles, loses no digits.
TEST(TriangleFacts, AreaComesFromTheExactFractions) {
    const struct {
        const char* triangle;
        double excess;  // in half turns, exactly 1 / excess
    } thin[] = {{"2 3 5999999999999/1000000000000", 35999999999994.0},
                {"3 3 2999999999999/1000000000000", 8999999999997.0},
                {"2 2 10000000", 10000000.0}};
    for (const auto& t : thin) {
        const TriangleFacts facts = triangleFacts(schwarz(t.triangle));
        EXPECT_NEAR(facts.area * t.excess / std::numbers::pi, 1.0, 1e-15) << t.triangle;
        EXPECT_EQ(facts.share, mpq_class(1, mpz_class(4 * t.excess))) << t.triangle;
    }
}

TEST(TriangleFacts, AreRefusedForAnglesThatBoundNoTriangle) {
    EXPECT_THROW_MSG((void)triangleFacts(schwarz("1 3 3")), DrawError,
                     "the angles 180\u00b0, 60\u00b0, 60\u00b0 bound no proper triangle: "
                     "180\u00b0 is not strictly between 0\u00b0 and 180\u00b0");
    EXPECT_THROW((void)triangleFacts(schwarz("2 3")), DrawError);
}

TEST(TriangleVertices, LieOnTheirMirrorsInsideTheTriangle) {
    const double pi = std::numbers::pi;
    const struct {
        Geometry geometry;
        double smallest;  // the angle at C
    } rows[] = {{Geometry::spherical, pi / 5},
                {Geometry::euclidean, pi / 6},
                {Geometry::hyperbolic, pi / 7},
                {Geometry::hyperbolic, pi / 100}};
    for (const auto& row : rows) {
        const SolvedTriangle solved = solveTriangle(pi / 2, pi / 3, row.smallest, row.geometry);
        const std::array<Vec3, 3> v = triangleVertices(solved.normals, row.geometry);
        const std::array<Vec3, 3> expected = {solved.vertexA, solved.vertexB, solved.vertexC};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(length(v[i] - expected[i]), 0.0, 1e-13 * length(expected[i]))
                << geometryName(row.geometry) << " vertex " << i;
        }
    }
}

}  // namespace
}  // namespace vantu
