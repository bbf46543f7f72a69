// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "snub/snub_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "drawing/prepared_picture.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"
#include "setup/triangle_solver.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

double distanceUpToSign(const Vec3& a, const Vec3& b) {
    return std::sqrt(std::min(dot(a - b, a - b), dot(a + b, a + b)));
}

Mirrors normalsOf(std::string_view code, int rotation = 0, bool reverse = false) {
    return prepareDrawing(drawRequest(std::string(code)).rotation(rotation).reverse(reverse))
        .normals;
}

double drawingPi() {
    return prepareDrawing(DrawRequest{}).pi;
}

// Everything any list of snub points must satisfy.
void expectWellFormed(const std::vector<SnubPoint>& points, const Mirrors& n) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SnubPoint& s = points[i];
        EXPECT_NEAR(dot(s.point, s.point), 1.0, 1e-15) << "point " << i;
        const std::array<double, 3> d = mirrorDistances(s.point, n);
        EXPECT_LE(std::abs(d[0] - d[1]), snubTolerance) << "point " << i;
        EXPECT_LE(std::abs(d[1] - d[2]), snubTolerance) << "point " << i;
        EXPECT_LE(std::abs(d[2] - d[0]), snubTolerance) << "point " << i;
        EXPECT_NEAR(s.distance, d[0], snubTolerance) << "point " << i;
        for (std::size_t m = 0; m < 3; ++m) {
            EXPECT_EQ(s.dots[m], dot(s.point, n[m]));
        }
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_GT(distanceUpToSign(s.point, points[j].point), 1e-6)
                << "points " << j << " and " << i << " are the same pair";
        }
        if (i > 0) {
            EXPECT_GE(points[i - 1].sideCount, s.sideCount) << "sorted by side count";
        }
    }
}

// Three perpendicular mirrors: D1 = 4(y^2 + z^2), D2 = 4(z^2 + x^2), D3 = 4(x^2 + y^2), equal
// exactly at the eight points (+-1, +-1, +-1) / sqrt 3, with D = 8/3.
TEST(SnubPoints, PerpendicularMirrorsGiveTheCubeDiagonals) {
    const Mirrors n = {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};
    const std::vector<SnubPoint> points = findSnubPoints(n, drawingPi());
    expectWellFormed(points, n);
    const double r = 1.0 / std::sqrt(3.0);
    // The member with the larger side count of each pair, then by x, y, z.
    const std::vector<Vec3> expected = {{r, r, r}, {-r, r, r}, {r, -r, r}, {r, r, -r}};
    const std::vector<int> sides = {3, 2, 2, 2};
    ASSERT_EQ(points.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(points[i].point.x, expected[i].x, 1e-12) << i;
        EXPECT_NEAR(points[i].point.y, expected[i].y, 1e-12) << i;
        EXPECT_NEAR(points[i].point.z, expected[i].z, 1e-12) << i;
        EXPECT_EQ(points[i].sideCount, sides[i]) << i;
        EXPECT_NEAR(points[i].distance, 8.0 / 3.0, 1e-12) << i;
    }
    EXPECT_EQ(points[0].signs, (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(points[1].signs, (std::array<int, 3>{-1, 1, 1}));
}

// A triangle placed in a frame of its own, with its snub points there, derived by hand.
struct KnownCase {
    const char* name;
    const char* code;
    int rotation;
    bool reverse;
    std::array<Vec3, 3> vertices;  // A, B, C in the frame of their own, any length
    std::vector<Vec3> points;      // one of each pair, any length
    double insideDistance;         // D at the point inside the triangle
    friend void PrintTo(const KnownCase& c, std::ostream* os) { *os << c.name; }
};

const double phi = std::numbers::phi;

// The (2, 3, 3) triangle with its right angle at the 2-fold axis (0, 0, 1) and its 60 degree
// vertices on the 3-fold axes (1, 1, 1) and (-1, 1, 1). sin^2 A = 1 and sin^2 B = sin^2 C = 3/4,
// so D1 = D2 = D3 reads 4 sin^2(PA) = 3 sin^2(PB) = 3 sin^2(PC). The last two are equal on the
// planes x = 0 and y + z = 0. On x = 0 the first equation becomes y^2 + yz - z^2 = 0: y/z is
// 1/phi, the icosahedron's vertex (0, 1, phi) inside the triangle (the snub tetrahedron), or
// -phi. On y = -z it gives z^2 = x^2 = 1/3: the 3-fold axes (1, -1, 1) and (1, 1, -1).
// D inside is 4 sin^2(PA) = 4 / (1 + phi^2), the icosahedron's edge over its circumradius,
// squared.
const std::vector<Vec3> tetrahedralSnub = {{0, 1, phi}, {0, phi, -1}, {1, -1, 1}, {1, 1, -1}};
const Vec3 twoFold{0, 0, 1};
const Vec3 threeFoldB{1, 1, 1};
const Vec3 threeFoldC{-1, 1, 1};

// The 120 degree triangle on three vertices of a regular tetrahedron. sin^2 is 3/4 at every
// vertex, so the distances are equal where (P.A)^2 = (P.B)^2 = (P.C)^2: P orthogonal to A +- B
// and to B +- C. That is the centre (1, 1, -1) of the face ABC, where D = 3 (1 - 1/9) = 8/3, and
// the three axes through the midpoints of opposite edges, where D = 2.
const std::vector<Vec3> faceSnub = {{1, 1, -1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
const std::array<Vec3, 3> faceVertices = {Vec3{1, 1, 1}, Vec3{1, -1, -1}, Vec3{-1, 1, -1}};

class KnownSnubPoints : public testing::TestWithParam<KnownCase> {};

// Compared through what does not depend on the frame: the cosines of the arcs to the three
// vertices (up to sign, which the antipode flips) and D.
TEST_P(KnownSnubPoints, MatchTheHandDerivedPoints) {
    const KnownCase& c = GetParam();
    const DrawSetup setup =
        prepareDrawing(drawRequest(c.code).rotation(c.rotation).reverse(c.reverse));
    const double pi = setup.pi;
    const CodeAngles code = parseTriangleCode(c.code, pi);
    const VertexAngles angles = permuteAngles(code[0], code[1], code[2], c.rotation, c.reverse);
    const SolvedTriangle t = solveTriangle(angles[0], angles[1], angles[2]);
    const std::array<Vec3, 3> vantuVertices = {t.vertexA, t.vertexB, t.vertexC};

    const std::vector<SnubPoint> points = findSnubPoints(setup.normals, setup.pi);
    expectWellFormed(points, setup.normals);
    ASSERT_EQ(points.size(), c.points.size());

    const auto invariants = [](const Vec3& p, const std::array<Vec3, 3>& v) {
        return std::array<double, 3>{std::abs(dot(unit(p), unit(v[0]))),
                                     std::abs(dot(unit(p), unit(v[1]))),
                                     std::abs(dot(unit(p), unit(v[2])))};
    };
    std::vector<bool> matched(c.points.size(), false);
    for (const SnubPoint& s : points) {
        const std::array<double, 3> got = invariants(s.point, vantuVertices);
        bool found = false;
        for (std::size_t e = 0; e < c.points.size() && !found; ++e) {
            const std::array<double, 3> want = invariants(c.points[e], c.vertices);
            if (!matched[e] && std::abs(got[0] - want[0]) < 1e-12 &&
                std::abs(got[1] - want[1]) < 1e-12 && std::abs(got[2] - want[2]) < 1e-12) {
                matched[e] = found = true;
            }
        }
        EXPECT_TRUE(found) << "unexpected point (" << s.point.x << ", " << s.point.y << ", "
                           << s.point.z << ")";
    }
    // The generating point of the snub lies inside the triangle and comes first.
    EXPECT_EQ(points.front().signs, (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(points.front().sideCount, 3);
    EXPECT_NEAR(points.front().distance, c.insideDistance, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Triangles, KnownSnubPoints,
                         testing::Values(KnownCase{"SnubTetrahedron",
                                                   "300 2/1:3/1:3/1",
                                                   0,
                                                   false,
                                                   {twoFold, threeFoldB, threeFoldC},
                                                   tetrahedralSnub,
                                                   4.0 / (1.0 + phi * phi)},
                                         KnownCase{"SnubTetrahedronRotated",
                                                   "300 2/1:3/1:3/1",
                                                   1,
                                                   false,
                                                   {threeFoldB, threeFoldC, twoFold},
                                                   tetrahedralSnub,
                                                   4.0 / (1.0 + phi * phi)},
                                         KnownCase{"SnubTetrahedronReversed",
                                                   "300 2/1:3/1:3/1",
                                                   2,
                                                   true,
                                                   {twoFold, threeFoldC, threeFoldB},
                                                   tetrahedralSnub,
                                                   4.0 / (1.0 + phi * phi)},
                                         KnownCase{"TetrahedronFace", "311 3/2:3/2:3/2", 0, false,
                                                   faceVertices, faceSnub, 8.0 / 3.0}),
                         RowName());

// The squared distances by the geometry of the vertex rotations alone, not by reflections:
// D1 = 4 |N2 x N3|^2 sin^2(P, N2 x N3 axis) = 4 (|N2 x N3|^2 - (P . N2 x N3)^2), and so on.
std::array<double, 3> geometricDistances(const Vec3& p, const Mirrors& n) {
    std::array<double, 3> d{};
    for (std::size_t i = 0; i < 3; ++i) {
        const Vec3 axis = cross(n[(i + 1) % 3], n[(i + 2) % 3]);
        const double along = dot(p, axis);
        d[i] = 4.0 * (dot(axis, axis) - along * along);
    }
    return d;
}

// A brute-force search independent of the solver: the sphere as a cube map of small cells,
// turned so that no symmetry of a triangle lines up with it, and the winding number of
// (D1 - D2, D2 - D3) around each cell. A cell with a non-zero winding number holds a point where
// both vanish. The winding is followed along the cell's corners first; where that gives a
// non-zero number or turns too far between two corners to tell, again in steps fine enough to track
// the turning near a point where the curves D1 = D2 and D2 = D3 run close together. Returns the
// centres of those cells; every pair appears twice, as P and -P.
std::vector<Vec3> bruteForceMeetings(const Mirrors& n, int cellsPerEdge) {
    // A fixed rotation about an arbitrary axis.
    const Vec3 axis = unit({0.31, -0.72, 0.53});
    const double angle = 0.7371;
    const double cs = std::cos(angle);
    const double sn = std::sin(angle);
    const auto turn = [&](const Vec3& v) {
        const Vec3 c = cross(axis, v);
        const double a = dot(axis, v) * (1.0 - cs);
        return Vec3{v.x * cs + c.x * sn + axis.x * a, v.y * cs + c.y * sn + axis.y * a,
                    v.z * cs + c.z * sn + axis.z * a};
    };
    const auto onFace = [&](int face, double u, double v) {
        const double s = face % 2 == 0 ? 1.0 : -1.0;
        Vec3 p;
        switch (face / 2) {
            case 0:
                p = {s, u, v};
                break;
            case 1:
                p = {v, s, u};
                break;
            default:
                p = {u, v, s};
                break;
        }
        return turn(unit(p));
    };
    const auto differences = [&](int face, double u, double v) {
        const std::array<double, 3> d = geometricDistances(onFace(face, u, v), n);
        return std::array<double, 2>{d[0] - d[1], d[1] - d[2]};
    };
    const auto turning = [](const std::array<double, 2>& a, const std::array<double, 2>& b) {
        return std::atan2(a[0] * b[1] - a[1] * b[0], a[0] * b[0] + a[1] * b[1]);
    };
    // The winding around the cell [u0, u1] x [v0, v1] in `steps` steps per edge.
    const auto winding = [&](int face, double u0, double v0, double size, int steps) {
        std::vector<std::array<double, 2>> path;
        for (int k = 0; k < steps; ++k) {
            path.push_back(differences(face, u0 + size * k / steps, v0));
        }
        for (int k = 0; k < steps; ++k) {
            path.push_back(differences(face, u0 + size, v0 + size * k / steps));
        }
        for (int k = 0; k < steps; ++k) {
            path.push_back(differences(face, u0 + size - size * k / steps, v0 + size));
        }
        for (int k = 0; k < steps; ++k) {
            path.push_back(differences(face, u0, v0 + size - size * k / steps));
        }
        double total = 0.0;
        for (std::size_t k = 0; k < path.size(); ++k) {
            total += turning(path[k], path[(k + 1) % path.size()]);
        }
        return std::lround(total / (2.0 * std::numbers::pi));
    };

    const int m = cellsPerEdge;
    const double size = 2.0 / m;
    std::vector<std::array<double, 2>> corners(static_cast<std::size_t>((m + 1) * (m + 1)));
    const auto at = [&](int i, int j) -> const std::array<double, 2>& {
        return corners[static_cast<std::size_t>(j * (m + 1) + i)];
    };
    std::vector<Vec3> cells;
    for (int face = 0; face < 6; ++face) {
        for (int j = 0; j <= m; ++j) {
            for (int i = 0; i <= m; ++i) {
                corners[static_cast<std::size_t>(j * (m + 1) + i)] =
                    differences(face, -1.0 + size * i, -1.0 + size * j);
            }
        }
        for (int j = 0; j < m; ++j) {
            for (int i = 0; i < m; ++i) {
                const std::array<double, 4> turns = {
                    turning(at(i, j), at(i + 1, j)), turning(at(i + 1, j), at(i + 1, j + 1)),
                    turning(at(i + 1, j + 1), at(i, j + 1)), turning(at(i, j + 1), at(i, j))};
                const double quick = turns[0] + turns[1] + turns[2] + turns[3];
                const bool unsure = std::any_of(turns.begin(), turns.end(), [](double t) {
                    return std::abs(t) > 2.0 * std::numbers::pi / 3.0;
                });
                if ((std::abs(quick) > std::numbers::pi || unsure) &&
                    winding(face, -1.0 + size * i, -1.0 + size * j, size, 256) != 0) {
                    cells.push_back(onFace(face, -1.0 + size * (i + 0.5), -1.0 + size * (j + 0.5)));
                }
            }
        }
    }
    return cells;
}

struct CatalogueCase {
    std::string name;
    std::string code;
    int rotation;
    bool reverse;
    friend void PrintTo(const CatalogueCase& c, std::ostream* os) { *os << c.name; }
};

// Every code of the catalogue, unpermuted.
std::vector<CatalogueCase> catalogueCodes() {
    std::vector<CatalogueCase> cases;
    for (const std::string_view code : catalogue) {
        cases.push_back({"Code" + std::string(code.substr(0, 3)), std::string(code), 0, false});
    }
    return cases;
}

std::vector<CatalogueCase> catalogueCases() {
    std::vector<CatalogueCase> cases = catalogueCodes();
    // Every permutation of two codes whose angles all differ.
    for (const char* code : {"400 2/1:3/1:4/1", "543 5/3:3/2:5/4"}) {
        for (int rotation = 0; rotation < 3; ++rotation) {
            for (const bool reverse : {false, true}) {
                cases.push_back({"Code" + std::string(code, 3) + "R" + std::to_string(rotation) +
                                     (reverse ? "Rev" : ""),
                                 code, rotation, reverse});
            }
        }
    }
    return cases;
}

class CatalogueSnubPoints : public testing::TestWithParam<CatalogueCase> {};

// Every point found is a true meeting point, and every meeting point that the brute-force
// search finds is among them (or its antipode is). A multiple point, where the curves D1 = D2
// and D2 = D3 touch, may have winding number 0 and go unseen by the search; it is found anyway.
TEST_P(CatalogueSnubPoints, AgreeWithABruteForceSearch) {
    const CatalogueCase& c = GetParam();
    const Mirrors n = normalsOf(c.code, c.rotation, c.reverse);
    const std::vector<SnubPoint> points = findSnubPoints(n, drawingPi());
    expectWellFormed(points, n);
    EXPECT_FALSE(points.empty());

    constexpr int cellsPerEdge = 200;
    const double cellSize = 2.0 / cellsPerEdge;  // an upper bound for a cell's chord
    const std::vector<Vec3> cells = bruteForceMeetings(n, cellsPerEdge);
    for (const Vec3& cell : cells) {
        const bool near = std::any_of(points.begin(), points.end(), [&](const SnubPoint& s) {
            return distanceUpToSign(s.point, cell) < cellSize;
        });
        EXPECT_TRUE(near) << "missed a meeting point near (" << cell.x << ", " << cell.y << ", "
                          << cell.z << ")";
    }
    EXPECT_FALSE(cells.empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, CatalogueSnubPoints, testing::ValuesIn(catalogueCases()),
                         RowName());

// Where two angles A and B are equal or supplementary, D1 - D2 factors into two linear forms and
// its curve is two great circles. They cross at the pole N3 of mirror 3, which rotation 1 places
// at (0, +-1, 0). There D1 = 4 sin^2 A, D2 = 4 sin^2 B and D3 = 4 (cos^2 A + cos^2 B +
// 2 cos A cos B cos C): for these codes sin^2 A = sin^2 B = 1/2 and cos A cos B cos C = -1/4, so
// all three are 2. The curve D2 = D3 crosses one circle there and touches the other, a triple
// root of the equations, which the rounding of the normals splits into roots some 1e-5 away: the
// point listed is the pole itself.
struct PoleCase {
    const char* name;
    const char* code;
    friend void PrintTo(const PoleCase& c, std::ostream* os) { *os << c.name; }
};

class MultipleSnubPoint : public testing::TestWithParam<PoleCase> {};

TEST_P(MultipleSnubPoint, IsThePoleOfMirrorThreeExactly) {
    const Mirrors n = normalsOf(GetParam().code, 1);
    const std::vector<SnubPoint> points = findSnubPoints(n, drawingPi());
    expectWellFormed(points, n);
    const auto pole = std::find_if(points.begin(), points.end(), [](const SnubPoint& s) {
        return distanceUpToSign(s.point, {0.0, 1.0, 0.0}) < 1e-4;
    });
    ASSERT_NE(pole, points.end());
    EXPECT_NEAR(pole->point.x, 0.0, 1e-15);
    EXPECT_NEAR(std::abs(pole->point.y), 1.0, 1e-15);
    EXPECT_NEAR(pole->point.z, 0.0, 1e-15);
    EXPECT_NEAR(pole->distance, 2.0, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Codes, MultipleSnubPoint,
                         testing::Values(PoleCase{"Code410", "410 3/2:4/1:4/1"},
                                         PoleCase{"Code411", "411 3/1:4/3:4/1"},
                                         PoleCase{"Code412", "412 3/2:4/3:4/3"}),
                         RowName());

// One permutation of a code: its snub points, and the vertices and mirrors listed by the code
// angle they carry, so that the frames of two permutations can be related.
struct PermutedTriangle {
    std::array<Vec3, 3> vertexOf;         // the unit vertex with code angle c
    std::array<std::size_t, 3> mirrorOf;  // the mirror opposite it
    std::vector<SnubPoint> points;
};

PermutedTriangle permutedTriangle(std::string_view code, int rotation, bool reverse) {
    const double pi = prepareDrawing(DrawRequest{}).pi;
    const CodeAngles angles = parseTriangleCode(code, pi);
    const VertexAngles v = permuteAngles(angles[0], angles[1], angles[2], rotation, reverse);
    // Which code angle each vertex has: the permutation applied to the markers 0, 1, 2.
    const VertexAngles marker = permuteAngles(0.0, 1.0, 2.0, rotation, reverse);
    const SolvedTriangle t = solveTriangle(v[0], v[1], v[2]);
    const std::array<Vec3, 3> vertices = {t.vertexA, t.vertexB, t.vertexC};
    PermutedTriangle p;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto c = static_cast<std::size_t>(marker[i]);
        p.vertexOf[c] = unit(vertices[i]);
        p.mirrorOf[c] = i;
    }
    p.points = findSnubPoints(normalsOf(code, rotation, reverse), drawingPi());
    return p;
}

// The map of the sphere that takes each vertex of `from` to the vertex of `to` with the same
// code angle (a turn, or a turn and a reflection), applied to `p`.
Vec3 carried(const PermutedTriangle& from, const PermutedTriangle& to, const Vec3& p) {
    const std::array<Vec3, 3>& a = from.vertexOf;
    const std::array<Vec3, 3> dual = {cross(a[1], a[2]), cross(a[2], a[0]), cross(a[0], a[1])};
    const double volume = dot(a[0], dual[0]);
    Vec3 image;
    for (std::size_t c = 0; c < 3; ++c) {
        image = image + (dot(dual[c], p) / volume) * to.vertexOf[c];
    }
    return image;
}

class PermutedSnubPoints : public testing::TestWithParam<CatalogueCase> {};

// Each rotation and reverse places the same triangle differently, or its mirror image: its snub
// points are those of the unpermuted code carried over, to full precision, with the same D, side
// count and signs (mirror by mirror, flipped when the listing chose the other member of a pair).
TEST_P(PermutedSnubPoints, AreTheUnpermutedPointsCarriedOver) {
    const CatalogueCase& c = GetParam();
    const PermutedTriangle base = permutedTriangle(c.code, 0, false);
    for (int rotation = 0; rotation < 3; ++rotation) {
        for (const bool reverse : {false, true}) {
            if (rotation == 0 && !reverse) {
                continue;
            }
            SCOPED_TRACE("rotation " + std::to_string(rotation) + (reverse ? ", reverse" : ""));
            const PermutedTriangle other = permutedTriangle(c.code, rotation, reverse);
            ASSERT_EQ(other.points.size(), base.points.size());
            for (std::size_t i = 0; i < base.points.size(); ++i) {
                const SnubPoint& s = base.points[i];
                const Vec3 image = carried(base, other, s.point);
                const SnubPoint& match = *std::min_element(
                    other.points.begin(), other.points.end(),
                    [&](const SnubPoint& a, const SnubPoint& b) {
                        return distanceUpToSign(image, a.point) < distanceUpToSign(image, b.point);
                    });
                EXPECT_LE(distanceUpToSign(image, match.point), 1e-12) << "point " << i + 1;
                EXPECT_NEAR(match.distance, s.distance, 1e-12) << "point " << i + 1;
                EXPECT_EQ(match.sideCount, s.sideCount) << "point " << i + 1;
                const int flip = dot(image, match.point) < 0.0 ? -1 : 1;
                for (std::size_t a = 0; a < 3; ++a) {
                    EXPECT_EQ(match.signs[other.mirrorOf[a]], flip * s.signs[base.mirrorOf[a]])
                        << "point " << i + 1 << ", code angle " << a + 1;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, PermutedSnubPoints, testing::ValuesIn(catalogueCodes()),
                         RowName());

// The hue circle read back from the 21 colours.
struct HueCase {
    const char* name;
    PackedColour colour;
    int hue;
    friend void PrintTo(const HueCase& c, std::ostream* os) { *os << c.name; }
};

class HueOf : public testing::TestWithParam<HueCase> {};

TEST_P(HueOf, PlacesTheColourInTheCircle) {
    EXPECT_EQ(detail::hueOf(GetParam().colour), GetParam().hue);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, HueOf,
    testing::Values(HueCase{"DarkRed", 85, 0}, HueCase{"Red", 65962, 0},
                    HueCase{"BrightRed", 66047, 0}, HueCase{"DarkYellow", 21845, 1},
                    HueCase{"Yellow", 109226, 1}, HueCase{"BrightYellow", 131071, 1},
                    HueCase{"DarkGreen", 21760, 2}, HueCase{"Green", 109057, 2},
                    HueCase{"BrightGreen", 130817, 2}, HueCase{"DarkCyan", 5592320, 3},
                    HueCase{"Cyan", 11184641, 3}, HueCase{"BrightCyan", 16776961, 3},
                    HueCase{"DarkBlue", 5570560, 4}, HueCase{"Blue", 11141377, 4},
                    HueCase{"BrightBlue", 16711937, 4}, HueCase{"DarkMagenta", 5570645, 5},
                    HueCase{"Magenta", 11141546, 5}, HueCase{"BrightMagenta", 16712191, 5},
                    HueCase{"DarkGrey", 5592405, 6}, HueCase{"Grey", 11184810, 6},
                    HueCase{"White", 16777215, 6}),
    RowName());

struct TurnCase {
    const char* name;
    View view;
    Vec3 (*turn)(const Vec3&);  // the view's turn, to rounding
    friend void PrintTo(const TurnCase& c, std::ostream* os) { *os << c.name; }
};

class TurnedSnubPoints : public testing::TestWithParam<TurnCase> {};

// The search for a described picture finds the points of its drawing as its view turns them.
TEST_P(TurnedSnubPoints, AreThePointsOfTheDrawingTurned) {
    PictureDescription description;
    const std::vector<SnubPoint> plain = snubPointsOf(description);
    ASSERT_EQ(plain.size(),
              findSnubPoints(normalsOf(description.request.triangleCode), drawingPi()).size());
    description.view = GetParam().view;
    const std::vector<SnubPoint> turned = snubPointsOf(description);
    ASSERT_EQ(turned.size(), plain.size());
    ASSERT_FALSE(plain.empty());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const Vec3 image = GetParam().turn(plain[i].point);
        double nearest = 2.0;
        for (const SnubPoint& t : turned) {
            nearest = std::min(nearest, distanceUpToSign(image, t.point));
        }
        EXPECT_LE(nearest, 1e-12) << "point " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Views, TurnedSnubPoints,
                         testing::Values(TurnCase{"LonQuarterTurn",
                                                  {90, 0, 0},
                                                  [](const Vec3& p) {
                                                      return Vec3{p.z, p.y, -p.x};
                                                  }},
                                         TurnCase{"LatQuarterTurn",
                                                  {0, 90, 0},
                                                  [](const Vec3& p) {
                                                      return Vec3{p.x, -p.z, p.y};
                                                  }},
                                         TurnCase{"RollHalfTurn",
                                                  {0, 0, 180},
                                                  [](const Vec3& p) {
                                                      return Vec3{-p.x, -p.y, p.z};
                                                  }}),
                         RowName());

struct PlaneSnubCase {
    const char* name;
    const char* triangle;  // in the usual notation
    int rotation;
    View view;  // of the picture the rings are drawn in
    friend void PrintTo(const PlaneSnubCase& c, std::ostream* os) { *os << c.name; }
};

class PlaneSnubPoints : public testing::TestWithParam<PlaneSnubCase> {};

// In the planes the points lie in the triangle, where the three D, computed here from the mirror
// images, agree to 1e-12 of their size; the rings of a moved picture are where the search finds
// the points among the moved mirrors.
TEST_P(PlaneSnubPoints, AgreeToTheToleranceAndMoveWithTheView) {
    const PlaneSnubCase& c = GetParam();
    PictureDescription description;
    description.request = testing_support::schwarzRequest(c.triangle).rotation(c.rotation);
    const DrawSetup plain = prepareDrawing(description.request);
    ASSERT_NE(plain.geometry, Geometry::spherical);
    const bool hyperbolic = plain.geometry == Geometry::hyperbolic;
    const auto product = [&](const Vec3& u, const Vec3& v) {
        return hyperbolic ? u.x * v.x + u.y * v.y - u.z * v.z : u.x * v.x + u.y * v.y;
    };
    const std::vector<SnubPoint> points = snubPointsOf(plain);
    ASSERT_FALSE(points.empty());
    for (const SnubPoint& s : points) {
        const Vec3& p = s.point;
        EXPECT_NEAR(hyperbolic ? -product(p, p) : p.z, 1.0, 1e-14);
        std::array<Vec3, 3> q{};
        for (std::size_t i = 0; i < 3; ++i) {
            const Vec3& m = plain.normals[i];
            const double a = hyperbolic ? product(m, p) : m.x * p.x + m.y * p.y + m.z;
            EXPECT_GE(a, -1e-12) << "outside mirror " << i + 1;
            q[i] = hyperbolic ? p - 2 * a * m : p - 2 * a * Vec3{m.x, m.y, 0.0};
        }
        const std::array<double, 3> d = {product(q[1] - q[2], q[1] - q[2]),
                                         product(q[2] - q[0], q[2] - q[0]),
                                         product(q[0] - q[1], q[0] - q[1])};
        const double largest = std::max({d[0], d[1], d[2]});
        EXPECT_LE(largest - std::min({d[0], d[1], d[2]}), 1e-12 * largest);
        EXPECT_NEAR(s.distance, d[0], 1e-12 * largest);
    }
    EXPECT_EQ(points.front().signs, (std::array<int, 3>{1, 1, 1}));

    description.view = c.view;
    description.request.scale = 100.0;
    OverlayOptions rings;
    rings.snubPoints = true;
    const PreparedPicture picture(description, rings);
    const PictureOverlay& overlay = *picture.overlay();
    ASSERT_EQ(overlay.snubPoints.size(), points.size());
    const std::vector<SnubPoint> moved = snubPointsOf(picture.setup());
    ASSERT_EQ(moved.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::optional<OutputPoint> ring = overlay.anchors.snubPoints[i];
        ASSERT_TRUE(ring.has_value()) << "point " << i + 1;
        double nearest = 1e9;
        for (const SnubPoint& m : moved) {
            if (const auto at = overlay.overlay.outputPoint(m.point)) {
                nearest = std::min(nearest, std::hypot(at->x - ring->x, at->y - ring->y));
            }
        }
        EXPECT_LE(nearest, 1e-6) << "point " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Planes, PlaneSnubPoints,
    testing::Values(PlaneSnubCase{"Heptagonal", "2 3 7", 0, {20, -10, 30}},
                    PlaneSnubCase{"Rotated", "2 3 7", 1, {0, 0, 0}},
                    PlaneSnubCase{"Square", "2 4 5", 2, {-30, 15, 0}},
                    PlaneSnubCase{"Isosceles", "3 3 4", 0, {10, 10, 90}},
                    PlaneSnubCase{"Equilateral", "7 7 7", 0, {0, 0, 0}},
                    PlaneSnubCase{"Fractional", "5/2 4 4", 0, {5, 5, 5}},
                    PlaneSnubCase{"EuclideanHexagonal", "2 3 6", 0, {40, 20, 0}},
                    PlaneSnubCase{"EuclideanSquare", "2 4 4", 1, {0, 0, 45}},
                    PlaneSnubCase{"EuclideanEquilateral", "3 3 3", 0, {-20, 0, 0}}),
    RowName());

}  // namespace
}  // namespace vantu
