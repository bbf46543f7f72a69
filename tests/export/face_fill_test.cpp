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
// that plane, joined in `order`. `area` is its covered area on that circle, or NaN when the
// grid below is the only judge.
struct FlatFace {
    std::string name;
    std::vector<std::array<double, 2>> corners;
    std::vector<int> order;
    double area = std::numeric_limits<double>::quiet_NaN();
};

void PrintTo(const FlatFace& row, std::ostream* out) {
    *out << row.name;
}

std::array<double, 2> onCircle(double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {std::cos(a), std::sin(a)};
}

// {n/d} from the corner at 10 degrees, or a polygon of n/d sides gone round d times when d
// divides n.
FlatFace regular(const std::string& name, int n, int d) {
    FlatFace face{name, {}, {}, regularArea(n, d, 1.0)};
    const int corners = d > 1 && n % d == 0 ? n / d : n;
    for (int i = 0; i < corners; ++i) {
        face.corners.push_back(onCircle(10.0 + 360.0 * i / corners));
    }
    for (int i = 0; i < n; ++i) {
        face.order.push_back(corners == n ? i * d % n : i % corners);
    }
    if (corners != n) {
        face.area = regularArea(corners, 1, 1.0);
    }
    return face;
}

// The 2n-gon a generic point gives a star {5/2}: each of its corners split in two, the sides
// short and long by turns.
FlatFace alternatingDecagon() {
    FlatFace face{"alternating_decagon", {}, {}};
    for (int j = 0; j < 5; ++j) {
        face.corners.push_back(onCircle(144.0 * j - 11.0));
        face.corners.push_back(onCircle(144.0 * j + 11.0));
    }
    for (int i = 0; i < 10; ++i) {
        face.order.push_back(i);
    }
    return face;
}

// Three chords through one point away from the centre, joined end to start by three more sides.
FlatFace threeSidesThroughOnePoint() {
    FlatFace face{"three_sides_through_one_point", {}, {}};
    const double px = 0.3;
    const double py = 0.1;
    for (const double degrees : {20.0, 85.0, 140.0}) {
        const double dx = std::cos(degrees * std::numbers::pi / 180.0);
        const double dy = std::sin(degrees * std::numbers::pi / 180.0);
        // Where px + t dx, py + t dy meets the circle.
        const double b = px * dx + py * dy;
        const double root = std::sqrt(b * b - (px * px + py * py - 1.0));
        for (const double t : {-b - root, -b + root}) {
            face.corners.push_back({px + t * dx, py + t * dy});
        }
    }
    face.order = {0, 1, 2, 3, 4, 5};
    return face;
}

class FaceFillFlat : public testing::TestWithParam<FlatFace> {};

// Every point of a fine grid is under as many triangles as the face's sides wind round it not
// zero times: one or none.
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
    EXPECT_NEAR(dot(fill.normal, m), 1.0, 1e-15);

    using Flat = std::array<double, 2>;
    const auto flat = [&](const Vec3& v) { return Flat{dot(v, e1) / 0.8, dot(v, e2) / 0.8}; };
    const auto turn = [](const Flat& a, const Flat& b, const Flat& c) {
        return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    };
    std::vector<std::array<Flat, 3>> triangles;
    double area = 0.0;
    for (const auto& t : fill.triangles) {
        std::array<Flat, 3> corners{};
        for (std::size_t k = 0; k < 3; ++k) {
            const Vec3& corner = fill.points.at(static_cast<std::size_t>(t[k]));
            EXPECT_NEAR(dot(corner, m), 0.6, 1e-15) << "off the plane";
            corners[k] = flat(corner);
        }
        EXPECT_GT(turn(corners[0], corners[1], corners[2]), 0.0) << "turned the other way";
        area += turn(corners[0], corners[1], corners[2]) / 2.0;
        triangles.push_back(corners);
    }
    std::vector<Flat> polygon;
    for (const int v : row.order) {
        polygon.push_back(flat(p.vertices[static_cast<std::size_t>(v)]));
    }
    const int steps = 500;
    const double step = 2.0 / steps;
    int wrong = 0;
    int covered = 0;
    for (int i = 0; i < steps; ++i) {
        for (int j = 0; j < steps; ++j) {
            const Flat q{-1.0 + (i + 0.5 + 1e-3 * std::numbers::sqrt2) * step,
                         -1.0 + (j + 0.5 + 1e-3 * std::numbers::sqrt3) * step};
            int winding = 0;
            for (std::size_t k = 0; k < polygon.size(); ++k) {
                const Flat& a = polygon[k];
                const Flat& b = polygon[(k + 1) % polygon.size()];
                if (a[1] <= q[1] && q[1] < b[1] && turn(a, b, q) > 0.0) {
                    ++winding;
                } else if (b[1] <= q[1] && q[1] < a[1] && turn(a, b, q) < 0.0) {
                    --winding;
                }
            }
            int under = 0;
            for (const auto& t : triangles) {
                under += turn(t[0], t[1], q) > 0.0 && turn(t[1], t[2], q) > 0.0 &&
                                 turn(t[2], t[0], q) > 0.0
                             ? 1
                             : 0;
            }
            wrong += under != (winding != 0 ? 1 : 0) ? 1 : 0;
            covered += winding != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0) << "grid points under the wrong number of triangles";
    EXPECT_NEAR(area, covered * step * step, 0.02 * area);
    if (!std::isnan(row.area)) {
        EXPECT_NEAR(area, row.area, 1e-13);
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceFillFlat,
                         testing::Values(regular("heptagram_7_3", 7, 3),
                                         regular("heptagram_7_2", 7, 2),
                                         regular("pentagon_gone_round_twice", 10, 2),
                                         alternatingDecagon(), threeSidesThroughOnePoint()),
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
