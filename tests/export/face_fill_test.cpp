// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The triangles that fill a face: the area the nonzero winding rule gives (a pentagram's whole
// star), in the face's plane, turned outwards, and the faces refused.

#include "export/face_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "tests/export/test_polyhedra.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::TestPolyhedron;

// The area of the regular polygon {n/d} of circumradius r as it is seen: for a star, the whole
// star with the polygon inside it, whose circumradius is where two sides cross.
double regularArea(int n, int d, double r) {
    const double pi = std::numbers::pi;
    if (d == 1) {
        return n / 2.0 * r * r * std::sin(2.0 * pi / n);
    }
    const double inner = r * std::cos(pi * d / n) / std::cos(pi * (d - 1) / n);
    return n * r * inner * std::sin(pi / n);
}

class FaceFillOf : public testing::TestWithParam<TestPolyhedron> {};

TEST_P(FaceFillOf, CoversTheFaceAsSeenInItsPlaneTurnedOutwards) {
    const Polyhedron& p = GetParam().polyhedron;
    for (const Face& face : p.faces) {
        const FaceFill fill = fillFace(p, face);
        const FaceType& type = p.faceTypes[static_cast<std::size_t>(face.type)];
        EXPECT_EQ(fill.type, face.type);
        Vec3 centre;
        for (const int v : face.vertices) {
            centre = centre + (1.0 / type.sides) * p.vertices[static_cast<std::size_t>(v)];
        }
        if (type.turns == 1) {
            EXPECT_EQ(fill.triangles.size(), face.vertices.size() - 2);
        }
        if (length(centre) > 1e-9) {
            EXPECT_GT(dot(fill.normal, centre), 0.0) << "the normal points inwards";
        }
        EXPECT_NEAR(length(fill.normal), 1.0, 1e-15);
        double area = 0.0;
        for (const auto& t : fill.triangles) {
            const Vec3& a = fill.points.at(static_cast<std::size_t>(t[0]));
            const Vec3& b = fill.points.at(static_cast<std::size_t>(t[1]));
            const Vec3& c = fill.points.at(static_cast<std::size_t>(t[2]));
            const Vec3 twice = cross(b - a, c - a);
            EXPECT_GT(dot(twice, fill.normal), 0.0) << "a triangle turned the other way";
            area += length(twice) / 2.0;
            for (const Vec3& corner : {a, b, c}) {
                EXPECT_NEAR(dot(corner - centre, fill.normal), 0.0, 1e-14) << "off the plane";
            }
        }
        const double radius =
            length(p.vertices[static_cast<std::size_t>(face.vertices[0])] - centre);
        EXPECT_NEAR(area, regularArea(type.sides, type.turns, radius), 1e-13);
    }
}

INSTANTIATE_TEST_SUITE_P(Polyhedra, FaceFillOf, testing::ValuesIn(testing_support::testPolyhedra()),
                         RowName());

struct RefusedFace {
    const char* name;
    Face face;
    const char* message;
};

TEST(FaceFill, RefusesWhatIsNoFace) {
    const Polyhedron cube = testing_support::cube().polyhedron;
    const std::vector<RefusedFace> cases = {
        {"two vertices", {{0, 1}, 0}, "a face needs three vertices at least, not 2"},
        {"an index too large",
         {{0, 1, 8}, 0},
         "a face's vertex 8 is not one of the polyhedron's 8"},
        {"a negative index",
         {{-1, 1, 2}, 0},
         "a face's vertex -1 is not one of the polyhedron's 8"},
        {"a line", {{0, 7, 0, 7}, 0}, "a face whose vertices lie on one line has no area"},
    };
    for (const RefusedFace& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW_MSG((void)fillFace(cube, c.face), std::invalid_argument, c.message);
    }
}

}  // namespace
}  // namespace vantu
