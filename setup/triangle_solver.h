// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include "geometry/vec3.h"

namespace vantu {

// The triangle with vertex angles A, B, C (radians) placed on the unit sphere: the point where
// the bisector of C meets side c at (0, 0, 1), side c in the plane y = 0 with A left and B right.
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

}  // namespace vantu
