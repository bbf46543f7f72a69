// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What can be said of a polyhedron: its counts, faces by type, vertex configuration, Euler
// characteristic, density, size, whether it is uniform, and the name of a uniform one.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "polyhedron/polyhedron.h"

namespace vantu {

// One kind of face by its polygon {sides/turns}, and how many faces the polyhedron has of it.
struct FaceCount {
    int count = 0;
    int sides = 0;
    int turns = 1;
};

// A uniform polyhedron of the published list: its number (1 to 80 as U1-U80; 0 for a prism or
// antiprism not on the list) and name.
struct UniformName {
    int number = 0;
    std::string name;
};

// A uniform polyhedron of the published list that a Wythoff symbol gives: its number (1 to 80
// as U1-U80) and its symbol as the list writes it ("| 2 3 5").
struct ListedSymbol {
    int number = 0;
    std::string_view symbol;
};

// Every uniform polyhedron of the published list that has a Wythoff symbol, by number: U1-U74
// and the prisms and antiprisms U76-U80 (the great dirhombicosidodecahedron, U75, has none).
// Each symbol builds the polyhedron that uniformName names with its number.
[[nodiscard]] std::span<const ListedSymbol> uniformSymbols() noexcept;

// Two edges whose lengths differ by at most this are one length; a polyhedron whose edges are
// all one length is uniform (its vertices are alike by construction).
inline constexpr double sameEdgeLength = 1e-9;

struct PolyhedronFacts {
    int vertices = 0;
    int edges = 0;
    int faces = 0;
    // The faces by polygon, fewest sides first, then fewest turns: {3}, {5}, {5/2}, {10}.
    std::vector<FaceCount> faceCounts;
    // The polygons around a vertex in order, as in "3.3.3.3.5" or "5/2.5/2.5/2": the turn
    // that starts with the smallest polygons, either way round. Empty when the faces around the
    // first vertex do not close into one ring.
    std::string vertexConfiguration;
    int euler = 0;  // V - E + F
    // Whether every edge lies between exactly two faces. A point on none of the mirrors of a
    // triangle with an angle pi d/n, d even, loses those 2n-gons and leaves edges with one face.
    bool closed = false;
    // Whether the faces can be oriented so that each edge is run both ways (closed ones only).
    bool orientable = false;
    // How many times the faces, so oriented, cover the sphere seen from the centre: the winding
    // number of all faces around a ray in no face's plane, made positive. None for a polyhedron
    // that is not orientable or has a face through the centre (the hemi-polyhedra).
    std::optional<int> density;
    // Every edge length that differs from the others by more than sameEdgeLength, shortest first,
    // for vertices on the unit sphere.
    std::vector<double> edgeLengths;
    // The circumradius for unit edge (1 / the shortest edge for vertices on the unit sphere).
    double circumradius = 0.0;
    bool uniform = false;
    // Why the point gives no polyhedron ("its vertices coincide", "its faces collapse into edges"),
    // nothing when it gives one.
    std::optional<std::string> degenerate;
    std::optional<UniformName> name;  // for a uniform one found in the list
};

// The facts of `polyhedron`, whose vertices lie on the unit sphere.
[[nodiscard]] PolyhedronFacts polyhedronFacts(const Polyhedron& polyhedron);

// A polygon as its symbol: "5", "5/2".
[[nodiscard]] std::string polygonText(int sides, int turns);

// The faces by type as "20 {3}, 12 {5/2}".
[[nodiscard]] std::string faceCountText(const std::vector<FaceCount>& counts);

// The name of the uniform polyhedron with these faces, vertices and density, from the published
// list and the prisms and antiprisms ("pentagonal prism", "pentagrammic crossed antiprism",
// "{7/3} prism"); nothing when none has them.
[[nodiscard]] std::optional<UniformName> uniformName(const std::vector<FaceCount>& counts,
                                                     int vertices, std::optional<int> density);

// The facts as lines "key: value", each ending in a newline:
//   polyhedron: U29 snub dodecahedron        (or "not uniform", or "none: its vertices coincide")
//   vertices: 60
//   edges: 150
//   faces: 92
//   faces by type: 80 {3}, 12 {5}
//   vertex configuration: 3.3.3.3.5
//   Euler characteristic: 2
//   density: 1            (or "none (one-sided)", "none (a face through the centre)",
//                          "none (an edge not between two faces)")
//   circumradius: 2.15583 for unit edge
//   edge lengths: 0.4, 0.5                    (only when not uniform)
// A degenerate point says only its first line.
[[nodiscard]] std::string polyhedronFactLines(const PolyhedronFacts& facts);

}  // namespace vantu
