// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include "geometry/geometry.h"
#include "geometry/vec3.h"

namespace vantu {

// The triangle with vertex angles A, B, C (radians) placed in its geometry: the point F where the
// bisector of C meets side c at (0, 0, 1), side c in the plane y = 0 with A left and B right, C
// above. On the sphere the vertices are unit vectors; in the hyperbolic plane they lie on the
// sheet <P, P> = -1, z > 0; in the Euclidean plane at z = 1, with side c of length 1. The normals
// are in the geometry's terms (geometry/geometry.h).
struct SolvedTriangle {
    Vec3 vertexA;
    Vec3 vertexB;
    Vec3 vertexC;
    Mirrors normals;
};

// Solves the spherical triangle with angles A, B, C into its placed vertices and unit mirror
// normals, every value checked as it is stored. Throws DrawError at the first invalid
// operation, division by zero or overflow (angles that do not form a spherical triangle).
[[nodiscard]] SolvedTriangle solveTriangle(double A, double B, double C);

// The unit mirror normals N1, N2, N3 of the triangle with angles A, B, C; see solveTriangle.
[[nodiscard]] Mirrors solveMirrors(double A, double B, double C);

// Solves the triangle with angles A, B, C in `geometry`: on the sphere solveTriangle above; in
// the hyperbolic plane the same steps with cosh and sinh for the sides and the length AF; in the
// Euclidean plane with side c of length 1 and side b from the law of sines. Every value is checked
// as it is stored; throws DrawError at the first fault, whose message says that the angles do not
// form a triangle of the geometry ("do not form a hyperbolic triangle").
[[nodiscard]] SolvedTriangle solveTriangle(double A, double B, double C, Geometry geometry);

// The mirror normals of solveTriangle in `geometry`.
[[nodiscard]] Mirrors solveMirrors(double A, double B, double C, Geometry geometry);

}  // namespace vantu
