// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The triangles that fill a face: the area the nonzero winding rule gives (a pentagram's whole
// star), in the face's plane, turned outwards, and the faces refused.

#include "export/face_fill.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

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

// A face made by hand in a tilted plane at 0.6 from the centre: its corners on the unit circle of
// that plane, joined in `order`; `area` is its covered area on that circle, when known.
struct FlatFace {
    std::string name;
    std::vector<std::array<double, 2>> corners;
    std::vector<int> order;
    double area = std::numeric_limits<double>::quiet_NaN();
};

void PrintTo(const FlatFace& row, std::ostream* out) {
    *out << row.name;
}

std::vector<std::array<double, 2>> onCircle(const std::vector<double>& degrees) {
    std::vector<std::array<double, 2>> corners;
    for (const double d : degrees) {
        corners.push_back(
            {std::cos(d * std::numbers::pi / 180.0), std::sin(d * std::numbers::pi / 180.0)});
    }
    return corners;
}

FlatFace star(const std::string& name, int n, int d) {
    FlatFace face{name, {}, {}, regularArea(n, d, 1.0)};
    for (int i = 0; i < n; ++i) {
        face.corners.push_back(onCircle({10.0 + 360.0 * i / n})[0]);
        face.order.push_back(i * d % n);
    }
    return face;
}

// Three chords through one point away from the centre, each joined to the next by a side.
FlatFace threeSidesThroughOnePoint() {
    FlatFace face{"three_sides_through_one_point", {}, {0, 1, 2, 3, 4, 5}};
    for (const auto& [dx, dy] : onCircle({20.0, 85.0, 140.0})) {
        const double b = 0.3 * dx + 0.1 * dy;  // (0.3, 0.1) + t (dx, dy) on the circle
        const double root = std::sqrt(b * b + 0.9);
        for (const double t : {-b - root, -b + root}) {
            face.corners.push_back({0.3 + t * dx, 0.1 + t * dy});
        }
    }
    return face;
}

class FaceFillFlat : public testing::TestWithParam<FlatFace> {};

// Every point of a fine grid is under one triangle where the face's sides wind round it, under
// none elsewhere.
TEST_P(FaceFillFlat, CoversWhereTheSidesWindRoundOnceAndNowhereElse) {
    const FlatFace& row = GetParam();
    const Vec3 m = unit({1.0, 2.0, 3.0});
    const Vec3 e1 = unit(cross(m, {0.0, 0.0, 1.0}));
    const Vec3 e2 = cross(m, e1);
    std::vector<Vec3> vertices;
    for (const auto& [x, y] : row.corners) {
        vertices.push_back(0.6 * m + 0.8 * x * e1 + 0.8 * y * e2);
    }
    const Polyhedron p = testing_support::polyhedronOf(
        vertices, {{static_cast<int>(row.order.size()), 2, 0}}, {row.order}, {0});
    const FaceFill fill = fillFace(p, p.faces[0]);
    ASSERT_GE(fill.points.size(), row.order.size());
    for (std::size_t i = 0; i < row.order.size(); ++i) {
        EXPECT_EQ(fill.points[i], p.vertices[static_cast<std::size_t>(row.order[i])]);
    }
    using Flat = std::array<double, 2>;
    const auto flat = [&](const Vec3& v) { return Flat{dot(v, e1) / 0.8, dot(v, e2) / 0.8}; };
    const auto turn = [](const Flat& a, const Flat& b, const Flat& c) {
        return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    };
    std::vector<std::array<Flat, 3>> triangles;
    double area = 0.0;
    for (const auto& t : fill.triangles) {
        std::array<Flat, 3> c{};
        for (std::size_t k = 0; k < 3; ++k) {
            const Vec3& corner = fill.points.at(static_cast<std::size_t>(t[k]));
            EXPECT_NEAR(dot(corner, m), 0.6, 1e-15) << "off the plane";
            c[k] = flat(corner);
        }
        EXPECT_GT(turn(c[0], c[1], c[2]), 0.0) << "turned the other way";
        area += turn(c[0], c[1], c[2]) / 2.0;
        triangles.push_back(c);
    }
    int wrong = 0;
    for (int i = 0; i < 250000; ++i) {
        const Flat q{-1.0 + (i % 500 + 0.5014) / 250.0, -1.0 + (i / 500 + 0.5017) / 250.0};
        int winding = 0;
        for (std::size_t k = 0; k < row.order.size(); ++k) {
            const Flat a = flat(p.vertices[static_cast<std::size_t>(row.order[k])]);
            const Flat b =
                flat(p.vertices[static_cast<std::size_t>(row.order[(k + 1) % row.order.size()])]);
            winding += (a[1] <= q[1] && q[1] < b[1] && turn(a, b, q) > 0.0) ? 1 : 0;
            winding -= (b[1] <= q[1] && q[1] < a[1] && turn(a, b, q) < 0.0) ? 1 : 0;
        }
        int under = 0;
        for (const auto& t : triangles) {
            under +=
                turn(t[0], t[1], q) > 0.0 && turn(t[1], t[2], q) > 0.0 && turn(t[2], t[0], q) > 0.0;
        }
        wrong += under != (winding != 0 ? 1 : 0);
    }
    EXPECT_EQ(wrong, 0) << "grid points under the wrong number of triangles";
    if (!std::isnan(row.area)) {
        EXPECT_NEAR(area, row.area, 1e-13);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faces, FaceFillFlat,
    testing::Values(star("heptagram_7_3", 7, 3), star("heptagram_7_2", 7, 2),
                    FlatFace{"pentagon_gone_round_twice",
                             onCircle({10, 82, 154, 226, 298}),
                             {0, 1, 2, 3, 4, 0, 1, 2, 3, 4},
                             regularArea(5, 1, 1.0)},
                    // the 2n-gon a generic point gives {5/2}: short and long sides by turns
                    FlatFace{"alternating_decagon",
                             onCircle({-11, 11, 133, 155, 277, 299, 421, 443, 565, 587}),
                             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                    threeSidesThroughOnePoint()),
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
