// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// geometry/: the vocabulary every layer shares (vectors, mirrors, projections, the raster and
// its colours, the drawing's error); it depends on nothing but the standard library.
//
// Points and directions of the picture's frame, and the little vector arithmetic the program
// needs. The drawing's own formulas (the solver, the colouring, the projections) spell out
// their operations in a fixed order and do not use these helpers; everything else does.

#include <array>
#include <cmath>

namespace vantu {

// A point or direction in the frame of the picture: x to the right, y up, z towards the viewer.
struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    friend bool operator==(const Vec3&, const Vec3&) = default;
};

// The three unit mirror normals N1, N2, N3, each pointing into the triangle. Mirror i is the
// side opposite vertex i (A, B, C).
using Mirrors = std::array<Vec3, 3>;

[[nodiscard]] constexpr Vec3 operator+(const Vec3& a, const Vec3& b) noexcept {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
[[nodiscard]] constexpr Vec3 operator-(const Vec3& a, const Vec3& b) noexcept {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
[[nodiscard]] constexpr Vec3 operator-(const Vec3& a) noexcept {
    return {-a.x, -a.y, -a.z};
}
[[nodiscard]] constexpr Vec3 operator*(double k, const Vec3& a) noexcept {
    return {k * a.x, k * a.y, k * a.z};
}

// a.x b.x + a.y b.y + a.z b.z, summed in that order.
[[nodiscard]] constexpr double dot(const Vec3& a, const Vec3& b) noexcept {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

[[nodiscard]] constexpr Vec3 cross(const Vec3& a, const Vec3& b) noexcept {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

[[nodiscard]] inline double length(const Vec3& a) noexcept {
    return std::sqrt(dot(a, a));
}

// `a` scaled to length 1; NaN components for the zero vector.
[[nodiscard]] inline Vec3 unit(const Vec3& a) noexcept {
    return (1.0 / length(a)) * a;
}

// The form of the hyperbolic plane, (a.y b.y + a.x b.x) - a.z b.z, in that order.
[[nodiscard]] constexpr double hyperbolicForm(const Vec3& a, const Vec3& b) noexcept {
    return (a.y * b.y + a.x * b.x) - a.z * b.z;
}

}  // namespace vantu
