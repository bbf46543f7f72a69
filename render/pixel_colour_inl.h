// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Inline body of the per-pixel colouring; include render/pixel_colour.h instead.

#include <array>
#include <cstddef>

#include "render/colour_rule.h"
#include "render/pixel_colour.h"

namespace vantu::detail {

inline MirrorMeasures measureMirrors(const Vec3& p, const Mirrors& n) noexcept {
    // Reflections in mirrors 1, 2, 3.
    const double a1 = (n[0].x * p.x + n[0].y * p.y) + n[0].z * p.z;
    const double q1x = p.x - (2.0 * a1) * n[0].x;
    const double q1y = p.y - (2.0 * a1) * n[0].y;
    const double q1z = p.z - (2.0 * a1) * n[0].z;
    const double a2 = (n[1].x * p.x + n[1].y * p.y) + n[1].z * p.z;
    const double q2x = p.x - (2.0 * a2) * n[1].x;
    const double q2y = p.y - (2.0 * a2) * n[1].y;
    const double q2z = p.z - (2.0 * a2) * n[1].z;
    const double a3 = (n[2].x * p.x + n[2].y * p.y) + n[2].z * p.z;
    const double q3x = p.x - (2.0 * a3) * n[2].x;
    const double q3y = p.y - (2.0 * a3) * n[2].y;
    const double q3z = p.z - (2.0 * a3) * n[2].z;

    // Squared distances between the images, each summed y, x, z.
    const auto square = [](double d) { return d * d; };
    return {a1,
            a2,
            a3,
            (square(q2y - q3y) + square(q2x - q3x)) + square(q2z - q3z),
            (square(q3y - q1y) + square(q3x - q1x)) + square(q3z - q1z),
            (square(q1y - q2y) + square(q1x - q2x)) + square(q1z - q2z)};
}

inline PackedColour colourOf(const Vec3& p, const Mirrors& n) noexcept {
    const auto [a1, a2, a3, d1, d2, d3] = measureMirrors(p, n);
    const int nonNegative = (a1 >= 0.0 ? 1 : 0) + (a2 >= 0.0 ? 1 : 0) + (a3 >= 0.0 ? 1 : 0);
    return colour_rule::colourOf(d1 > d2, d2 > d3, d3 > d1, colour_rule::sideCount(nonNegative));
}

template <Geometry geometry, class Check>
inline MirrorMeasures measureMirrorsIn(const Vec3& p, const Mirrors& n, Check& check) {
    static_assert(geometry != Geometry::spherical, "the sphere's measures are measureMirrors");
    constexpr bool hyperbolic = geometry == Geometry::hyperbolic;
    std::array<double, 3> a{};
    std::array<Vec3, 3> q{};
    for (std::size_t i = 0; i < 3; ++i) {
        const Vec3& m = n[i];
        const double ai = hyperbolic ? check.value((m.y * p.y + m.x * p.x) - m.z * p.z)
                                     : check.value((m.x * p.x + m.y * p.y) + m.z * p.z);
        const double twice = check.value(2.0 * ai);
        a[i] = ai;
        q[i] = {check.value(p.x - twice * m.x), check.value(p.y - twice * m.y),
                hyperbolic ? check.value(p.z - twice * m.z) : p.z};
    }
    const auto distance = [&](std::size_t j, std::size_t k) {
        const double dy = check.value(q[j].y - q[k].y);
        const double dx = check.value(q[j].x - q[k].x);
        const double planar = check.value(check.value(dy * dy) + check.value(dx * dx));
        if constexpr (hyperbolic) {
            const double dz = check.value(q[j].z - q[k].z);
            return check.value(planar - check.value(dz * dz));
        } else {
            return planar;
        }
    };
    return {a[0], a[1], a[2], distance(1, 2), distance(2, 0), distance(0, 1)};
}

template <Geometry geometry, class Check>
inline PackedColour colourIn(const Vec3& p, const Mirrors& n, Check& check) {
    if constexpr (geometry == Geometry::spherical) {
        return colourOf(p, n);
    } else {
        const auto [a1, a2, a3, d1, d2, d3] = measureMirrorsIn<geometry>(p, n, check);
        const int nonNegative = (a1 >= 0.0 ? 1 : 0) + (a2 >= 0.0 ? 1 : 0) + (a3 >= 0.0 ? 1 : 0);
        return colour_rule::colourOf(d1 > d2, d2 > d3, d3 > d1,
                                     colour_rule::sideCount(nonNegative));
    }
}

}  // namespace vantu::detail
