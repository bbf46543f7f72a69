// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The three geometries a triangle of angles pi/p, pi/q, pi/r lives in, decided by the sign of
// 1/p + 1/q + 1/r - 1: the sphere when it is positive, the Euclidean plane when it is zero, the
// hyperbolic plane when it is negative. Pictures, marks and facts of the planes take their kind
// from here.

#include <string_view>

namespace vantu {

enum class Geometry {
    spherical,   // on the unit sphere; mirrors are planes through the centre with unit normals
    euclidean,   // in the plane z = 1; a mirror (a, b, c) is the line a x + b y + c = 0,
                 // a^2 + b^2 = 1
    hyperbolic,  // on the hyperboloid <P, P> = -1, z > 0, with <u, v> = (uy vy + ux vx) - uz vz;
                 // a mirror is a plane through the origin with <N, N> = 1
};

// The geometry's name in the facts and messages: "spherical", "Euclidean", "hyperbolic".
[[nodiscard]] constexpr std::string_view geometryName(Geometry geometry) noexcept {
    switch (geometry) {
        case Geometry::spherical:
            return "spherical";
        case Geometry::euclidean:
            return "Euclidean";
        case Geometry::hyperbolic:
            return "hyperbolic";
    }
    return "spherical";
}

}  // namespace vantu
