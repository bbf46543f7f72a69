// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// polyhedron/: the polyhedra that a point of the triangle generates under the group of its three
// mirrors (Wythoff's construction), the uniform ones named. No Qt, no I/O.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec3.h"

namespace vantu {

// One kind of face: the faces around one vertex of the triangle, or the snub triangles.
struct FaceType {
    int sides = 0;  // n of the polygon {n/d}: its number of vertices
    int turns = 1;  // d: how often it winds round its centre; 1 for a convex polygon, 2 for {5/2}
    // Where it comes from: 0, 1, 2 for the faces around the triangle's vertex A, B, C; 3 for the
    // snub triangles.
    int origin = 0;
};

// One face: indexes into Polyhedron::vertices in the order of Wythoff's construction (each side
// joins a point and its mirror image), so that a star face lists its vertices in star order.
struct Face {
    std::vector<int> vertices;
    int type = 0;  // index into Polyhedron::faceTypes
};

// A polyhedron with its vertices on the unit sphere.
struct Polyhedron {
    std::vector<Vec3> vertices;
    std::vector<FaceType> faceTypes;
    std::vector<Face> faces;
    std::vector<std::array<int, 2>> edges;  // each once, the smaller index first
};

// The colour of the faces of type `type` of `polyhedron`, as 8-bit red, green and blue: one
// colour per origin, the same in every file and view.
[[nodiscard]] std::array<std::uint8_t, 3> faceColour(const Polyhedron& polyhedron, int type);

}  // namespace vantu
