// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The triangles that fill a polyhedron's face as it is seen, for the files that need triangles
// and for the 3D view.

#include <array>
#include <vector>

#include "geometry/vec3.h"
#include "polyhedron/polyhedron.h"

namespace vantu {

// The area a face covers, as triangles in the face's plane.
//
// The area is the one the nonzero winding rule gives: every point that the face's sides wind
// round at least once. A convex face is a fan from its first vertex, so that two faces that share
// an edge share it exactly, and a closed polyhedron's triangles are closed too. A star or
// self-intersecting face ({5/2}: the whole star with its inner pentagon) is cut into vertical
// slabs, in its plane, at its vertices and where its sides cross; each slab's runs where the
// sides wind round are trapezoids, cut into triangles. The new points are found in double
// precision from the parameters along the sides; points closer than a million millionth of the
// face's size are one.
struct FaceFill {
    // The face's own vertices in its order, then the new points: where its sides cross, and where
    // the slabs' boundaries cut them.
    std::vector<Vec3> points;
    // Indexes into `points`, each triangle counterclockwise seen from the side `normal` points
    // to. No triangle has a zero area.
    std::vector<std::array<int, 3>> triangles;
    // Of unit length, perpendicular to the face's plane (from Newell's method), pointing away
    // from the polyhedron's centre; for a face through the centre, the side from which its
    // vertices turn counterclockwise.
    Vec3 normal;
    int type = 0;  // the face's type, an index into Polyhedron::faceTypes
};

// The fill of `face` of `polyhedron`. Throws std::invalid_argument for a face of fewer than three
// vertices, an index out of range or a face with no area (its vertices on one line), and
// std::bad_alloc.
[[nodiscard]] FaceFill fillFace(const Polyhedron& polyhedron, const Face& face);

// fillFace of each face of `polyhedron`, in the order of Polyhedron::faces.
[[nodiscard]] std::vector<FaceFill> fillFaces(const Polyhedron& polyhedron);

}  // namespace vantu
