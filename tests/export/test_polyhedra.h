// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Polyhedra made by hand for the model files' tests, each with its vertices on the unit sphere:
// convex ones, a star one and one with faces through the centre.

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "geometry/vec3.h"
#include "polyhedron/polyhedron.h"

namespace vantu::testing_support {

struct TestPolyhedron {
    std::string name;
    Polyhedron polyhedron;
    bool closed = true;  // every edge of its faces' triangles shared by exactly two of them
};

// Names a row in GoogleTest's messages.
inline void PrintTo(const TestPolyhedron& row, std::ostream* out) {
    *out << row.name;
}

// `faces` as lists of vertices, `typeOf` each face's type; the edges from the faces' sides.
// Every other face is listed the other way round, since Wythoff's order turns either way.
inline Polyhedron polyhedronOf(std::vector<Vec3> points, std::vector<FaceType> types,
                               const std::vector<std::vector<int>>& faces,
                               const std::vector<int>& typeOf) {
    Polyhedron p;
    for (const Vec3& v : points) {
        p.vertices.push_back(unit(v));
    }
    p.faceTypes = std::move(types);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        p.faces.push_back({faces[f], typeOf[f]});
        if (f % 2 == 1) {
            std::reverse(p.faces.back().vertices.begin() + 1, p.faces.back().vertices.end());
        }
        for (std::size_t i = 0; i < faces[f].size(); ++i) {
            const int a = faces[f][i];
            const int b = faces[f][(i + 1) % faces[f].size()];
            const std::array<int, 2> edge{std::min(a, b), std::max(a, b)};
            if (std::find(p.edges.begin(), p.edges.end(), edge) == p.edges.end()) {
                p.edges.push_back(edge);
            }
        }
    }
    return p;
}

inline TestPolyhedron cube() {
    std::vector<Vec3> v;
    for (int i = 0; i < 8; ++i) {
        v.push_back({i & 4 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 1 ? 1.0 : -1.0});
    }
    return {
        "cube",
        polyhedronOf(
            v, {{4, 1, 0}},
            {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}},
            {0, 0, 0, 0, 0, 0})};
}

inline TestPolyhedron tetrahedron() {
    return {"tetrahedron",
            polyhedronOf({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}}, {{3, 1, 1}},
                         {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}}, {0, 0, 0, 0})};
}

// A hexagonal prism with square sides; the hexagons are of one type, the squares of another.
inline TestPolyhedron hexagonalPrism() {
    std::vector<Vec3> v;
    for (int i = 0; i < 12; ++i) {
        const double angle = std::numbers::pi / 3.0 * (i % 6);
        v.push_back({std::cos(angle), std::sin(angle), i < 6 ? 0.5 : -0.5});
    }
    std::vector<std::vector<int>> faces{{0, 1, 2, 3, 4, 5}, {11, 10, 9, 8, 7, 6}};
    for (int i = 0; i < 6; ++i) {
        faces.push_back({i, i + 6, (i + 1) % 6 + 6, (i + 1) % 6});
    }
    return {"hexagonal_prism",
            polyhedronOf(v, {{6, 1, 2}, {4, 1, 0}}, faces, {0, 0, 1, 1, 1, 1, 1, 1})};
}

// Four triangles of the octahedron and the three squares through its centre.
inline TestPolyhedron tetrahemihexahedron() {
    return {
        "tetrahemihexahedron",
        polyhedronOf(
            {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}},
            {{3, 1, 0}, {4, 1, 2}},
            {{0, 2, 4}, {0, 3, 5}, {1, 2, 5}, {1, 3, 4}, {0, 2, 1, 3}, {2, 4, 3, 5}, {0, 4, 1, 5}},
            {0, 0, 0, 0, 1, 1, 1}),
        false};
}

// Twelve pentagrams on the icosahedron's vertices: each joins the five neighbours of a vertex
// in star order, from each to the one of the others it is farthest from.
inline TestPolyhedron smallStellatedDodecahedron() {
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    std::vector<Vec3> v;
    for (const double a : {-1.0, 1.0}) {
        for (const double b : {-phi, phi}) {
            v.insert(v.end(), {{0, a, b}, {a, b, 0}, {b, 0, a}});
        }
    }
    const auto near = [&](int i, int j) {
        return dot(unit(v[static_cast<std::size_t>(i)]), unit(v[static_cast<std::size_t>(j)])) >
               0.4;
    };
    std::vector<std::vector<int>> faces;
    for (int w = 0; w < 12; ++w) {
        std::vector<int> ring;
        for (int i = 0; i < 12; ++i) {
            if (i != w && near(i, w)) {
                ring.push_back(i);
            }
        }
        std::vector<int> star{ring[0]};
        while (star.size() < 5) {
            for (const int i : ring) {
                if (!near(i, star.back()) && std::count(star.begin(), star.end(), i) == 0) {
                    star.push_back(i);
                    break;
                }
            }
        }
        faces.push_back(star);
    }
    return {"small_stellated_dodecahedron",
            polyhedronOf(v, {{5, 2, 0}}, faces, std::vector<int>(12, 0)), false};
}

inline std::vector<TestPolyhedron> testPolyhedra() {
    return {cube(), tetrahedron(), hexagonalPrism(), tetrahemihexahedron(),
            smallStellatedDodecahedron()};
}

}  // namespace vantu::testing_support
