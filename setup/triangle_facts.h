// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What can be said about a drawing's triangle: its notation, angles, sides and area, and the
// group its mirrors generate, with how often its images cover the sphere.

#include <gmpxx.h>

#include <array>
#include <string>

#include "geometry/geometry.h"
#include "geometry/vec3.h"
#include "setup/draw_request.h"
#include "setup/mirror_group.h"
#include "setup/triangle_code.h"

namespace vantu {

// The triangle of a drawing, its vertices A, B, C in the order the drawing puts them (after the
// rotation and the reverse).
struct TriangleFacts {
    ExactFractions fractions;                 // of the angles at A, B, C, as written
    Geometry geometry = Geometry::spherical;  // triangleGeometry of the fractions
    VertexAngles angles{};                    // A, B, C in radians, as the drawing computes them
    // a (from B to C), b (C to A), c (A to B): on the sphere in radians, in the hyperbolic plane
    // lengths with the curvature radius 1, in the Euclidean plane in units of side c.
    std::array<double, 3> sides{};
    // The share of the sphere the triangle covers, exactly: (s - 1) / 4 for the sum s of its
    // angles in half turns (d1/n1 + d2/n2 + d3/n3), from the fractions; 0 in the planes.
    mpq_class share;
    // On the sphere in steradians, pi (s - 1), and in the hyperbolic plane pi (1 - s), each
    // computed from the exact s and rounded once; in the Euclidean plane in units of side c
    // squared, sin A sin B / (2 sin C).
    double area = 0.0;
    // The group of the three mirrors, decided from the fractions (triangleGroup), its mirrors
    // listed in the drawing's frame (groupMirrors) when it is finite.
    MirrorGroup group;
    // How many times the images of the triangle cover the sphere or the plane: on the sphere
    // order * share, a whole number for every finite group; in the planes the group's cover; 0
    // for none and undecided.
    mpq_class density;
};

// The vertices of the triangle that the mirrors `normals` bound: vertex i where the other two
// mirrors meet, on the side of mirror i that its normal points to. Unit vectors.
[[nodiscard]] std::array<Vec3, 3> triangleVertices(const Mirrors& normals) noexcept;

// The same for mirrors in `geometry`'s terms: on the sphere as above, in the hyperbolic plane on
// the sheet <P, P> = -1, z > 0, in the Euclidean plane at z = 1.
[[nodiscard]] std::array<Vec3, 3> triangleVertices(const Mirrors& normals,
                                                   Geometry geometry) noexcept;

// The facts of the triangle of `request` (its text, notation, rotation and reverse; the scale
// and the projection play no part). Throws DrawError as prepareDrawing does, and, for angles that
// bound no proper spherical triangle, DrawError (invalid operation, stage triangle) whose message
// is triangleDefect's.
[[nodiscard]] TriangleFacts triangleFacts(const DrawRequest& request);

// The same from `plain`, prepareDrawing's set-up of `request` found already: nothing is solved
// again.
[[nodiscard]] TriangleFacts triangleFacts(const DrawRequest& request, const DrawSetup& plain);

// The facts as lines "key: value", each ending in a newline, in this order:
//   triangle: (2 3 3)
//   geometry: spherical
//   angles: 90°, 60°, 60° (π/2, π/3, π/3)
//   sides: 70.53°, 54.74°, 54.74°
//   area: 0.523599 sr, 1/24 of the sphere
//   group: tetrahedral; the mirrors of the regular tetrahedron
//   order: 24
//   mirrors: 6
//   density: 1
// The area's share of the sphere is density / order in lowest terms for a finite group and a
// decimal for none; with no finite group the group reads "none; the images of the triangle are
// dense on the sphere", order and mirrors "infinite" and density "none". Whole numbers are
// written with all their digits; a group with more than maxGroupMirrors mirrors has
// "(too many to mark)" after their number. In the planes the sides are lengths, the area is a
// number with pi times a fraction after it in the hyperbolic plane ("0.0747998, π/42") and with
// "(side c = 1)" in the Euclidean plane, order and mirrors are "infinite", the group is named
// by the tiling ("wallpaper; p6m, the group of the tiling by triangles (2 3 6)", "hyperbolic;
// the hyperbolic triangle group (2 3 7)"), and its density is the group's cover, "none" for a
// group that is none and "unknown" for one undecided.
[[nodiscard]] std::string factLines(const TriangleFacts& facts);

// The sentence that follows the group's name in the facts: what its mirrors are.
[[nodiscard]] std::string groupSentence(const MirrorGroup& group);

}  // namespace vantu
