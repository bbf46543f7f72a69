// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <tuple>

#include "render/colour_rule.h"
#include "render/pixel_colour.h"
#include "render/scan.h"
#include "snub/snub_points.h"

namespace vantu {
namespace {

// The distances of a homogeneous point of the plane, exactly as the colouring computes them.
std::array<double, 3> planeDistances(const Vec3& p, const Mirrors& n, Geometry geometry) noexcept {
    detail::Unchecked check;
    const detail::MirrorMeasures m =
        geometry == Geometry::hyperbolic
            ? detail::measureMirrorsIn<Geometry::hyperbolic>(p, n, check)
            : detail::measureMirrorsIn<Geometry::euclidean>(p, n, check);
    return {m.d1, m.d2, m.d3};
}

// The product of a normal with a point: the form in the hyperbolic plane, the signed distance
// (a x + b y) + c z in the Euclidean one.
double measure(const Vec3& normal, const Vec3& p, Geometry geometry) noexcept {
    return geometry == Geometry::hyperbolic ? hyperbolicForm(normal, p)
                                            : (normal.x * p.x + normal.y * p.y) + normal.z * p.z;
}

// `p` scaled to the plane's own point: onto the sheet, or to z = 1.
Vec3 normalised(const Vec3& p, Geometry geometry) noexcept {
    return geometry == Geometry::hyperbolic ? (1.0 / std::sqrt(-hyperbolicForm(p, p))) * p
                                            : (1.0 / p.z) * p;
}

// The vertices of the triangle, vertex i where mirrors i + 1 and i + 2 meet, as homogeneous
// points with z > 0.
std::array<Vec3, 3> vertices(const Mirrors& n, Geometry geometry) noexcept {
    std::array<Vec3, 3> v{};
    for (std::size_t i = 0; i < 3; ++i) {
        const Vec3 c = cross(n[(i + 1) % 3], n[(i + 2) % 3]);
        const Vec3 w = geometry == Geometry::hyperbolic ? Vec3{c.x, c.y, -c.z} : c;
        v[i] = w.z < 0.0 ? -w : w;
    }
    return v;
}

double spreadOf(const std::array<double, 3>& d) noexcept {
    return std::max({d[0], d[1], d[2]}) - std::min({d[0], d[1], d[2]});
}

// D1 - D2 and D2 - D3 at the point with the weights (1 - b - c, b, c) of the vertices. Both are
// quadratic in b and c, so central differences give their derivatives to rounding.
std::array<double, 2> differences(const std::array<Vec3, 3>& v, double b, double c,
                                  const Mirrors& n, Geometry geometry) noexcept {
    const Vec3 p = (1.0 - b - c) * v[0] + b * v[1] + c * v[2];
    const std::array<double, 3> d = planeDistances(p, n, geometry);
    return {d[0] - d[1], d[1] - d[2]};
}

// Newton's method from the weights (b, c); the weights reached, or nothing.
std::optional<std::array<double, 2>> refine(const std::array<Vec3, 3>& v, double b, double c,
                                            const Mirrors& n, Geometry geometry) noexcept {
    constexpr double h = 1e-3;
    for (int step = 0; step < 100; ++step) {
        const std::array<double, 2> f = differences(v, b, c, n, geometry);
        const std::array<double, 2> fb1 = differences(v, b + h, c, n, geometry);
        const std::array<double, 2> fb0 = differences(v, b - h, c, n, geometry);
        const std::array<double, 2> fc1 = differences(v, b, c + h, n, geometry);
        const std::array<double, 2> fc0 = differences(v, b, c - h, n, geometry);
        const double j00 = (fb1[0] - fb0[0]) / (2 * h);
        const double j10 = (fb1[1] - fb0[1]) / (2 * h);
        const double j01 = (fc1[0] - fc0[0]) / (2 * h);
        const double j11 = (fc1[1] - fc0[1]) / (2 * h);
        const double det = j00 * j11 - j01 * j10;
        if (!(std::abs(det) > 0.0) || !std::isfinite(det)) {
            return std::nullopt;
        }
        const double db = (f[0] * j11 - f[1] * j01) / det;
        const double dc = (j00 * f[1] - j10 * f[0]) / det;
        b -= db;
        c -= dc;
        if (!std::isfinite(b) || !std::isfinite(c) || std::abs(b) > 10.0 || std::abs(c) > 10.0) {
            return std::nullopt;
        }
        if (std::abs(db) + std::abs(dc) < 1e-15) {
            break;
        }
    }
    return std::array<double, 2>{b, c};
}

// The colouring's side count, as describe() counts it on the sphere.
SnubPoint describe(const Vec3& p, const Mirrors& n, Geometry geometry) noexcept {
    SnubPoint s;
    s.point = p;
    int k = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        s.dots[i] = measure(n[i], p, geometry);
        s.signs[i] = s.dots[i] > snubTolerance ? 1 : (s.dots[i] < -snubTolerance ? -1 : 0);
        k += s.signs[i] >= 0 ? 1 : 0;
    }
    s.sideCount = colour_rule::sideCount(k);
    const std::array<double, 3> d = planeDistances(p, n, geometry);
    s.distance = (d[0] + d[1] + d[2]) / 3.0;
    s.spread = spreadOf(d);
    return s;
}

}  // namespace

std::vector<SnubPoint> findPlaneSnubPoints(const Mirrors& n, Geometry geometry) {
    const std::array<Vec3, 3> v = vertices(n, geometry);
    std::vector<std::array<double, 2>> weights;
    std::vector<SnubPoint> found;
    constexpr int grid = 8;
    for (int i = 0; i < grid; ++i) {
        for (int j = 0; i + j < grid; ++j) {
            const std::optional<std::array<double, 2>> w =
                refine(v, (i + 1.0 / 3.0) / grid, (j + 1.0 / 3.0) / grid, n, geometry);
            // Within the triangle, its sides included to rounding.
            constexpr double edge = -1e-12;
            if (!w || !((*w)[0] >= edge && (*w)[1] >= edge && 1.0 - (*w)[0] - (*w)[1] >= edge)) {
                continue;
            }
            const auto same = [&](const std::array<double, 2>& o) {
                return std::abs(o[0] - (*w)[0]) + std::abs(o[1] - (*w)[1]) < 1e-7;
            };
            if (std::any_of(weights.begin(), weights.end(), same)) {
                continue;
            }
            const Vec3 p = normalised(
                (1.0 - (*w)[0] - (*w)[1]) * v[0] + (*w)[0] * v[1] + (*w)[1] * v[2], geometry);
            const SnubPoint s = describe(p, n, geometry);
            if (!(s.spread <= snubTolerance * std::abs(s.distance))) {
                continue;
            }
            weights.push_back(*w);
            found.push_back(s);
        }
    }
    std::sort(found.begin(), found.end(), [](const SnubPoint& a, const SnubPoint& b) {
        return std::tie(a.point.x, a.point.y, a.point.z) <
               std::tie(b.point.x, b.point.y, b.point.z);
    });
    return found;
}

Vec3 pointOfMeasures(const Mirrors& n, const std::array<double, 3>& dots,
                     Geometry geometry) noexcept {
    // Row i of the system is the linear form of normal i: r_i . P = dots[i].
    std::array<Vec3, 3> r{};
    for (std::size_t i = 0; i < 3; ++i) {
        r[i] = geometry == Geometry::hyperbolic ? Vec3{n[i].x, n[i].y, -n[i].z} : n[i];
    }
    const Vec3 p =
        dots[0] * cross(r[1], r[2]) + dots[1] * cross(r[2], r[0]) + dots[2] * cross(r[0], r[1]);
    return (1.0 / dot(r[0], cross(r[1], r[2]))) * p;
}

}  // namespace vantu
