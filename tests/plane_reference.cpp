// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "tests/plane_reference.h"

#include <mpfr.h>

#include <cfenv>
#include <cmath>
#include <cstddef>

#include "tests/reference_arithmetic.h"

namespace vantu::plane_reference {
namespace {

using reference_arithmetic::faulted;
using reference_arithmetic::rounded;
using reference_arithmetic::squared;

using V = std::array<double, 3>;

double cosOf(double x) {
    return rounded(mpfr_cos, x);
}
double sinOf(double x) {
    return rounded(mpfr_sin, x);
}

std::array<double, 3> anglesOf(const Triangle& t, double pi) {
    std::array<double, 3> a{};
    for (std::size_t i = 0; i < 3; ++i) {
        a[i] = (pi / t.p[i]) * t.d[i];
    }
    return a;
}

}  // namespace

Normals vertices(const Triangle& t, Plane plane, double pi) {
    const auto [angleA, angleB, angleC] = anglesOf(t, pi);
    const double cosA = cosOf(angleA);
    const double sinA = sinOf(angleA);
    const double cosB = cosOf(angleB);
    const double sinB = sinOf(angleB);
    const double cosC = cosOf(angleC);
    const double sinC = sinOf(angleC);
    const double h = angleC / 2.0;
    const double cosH = cosOf(h);
    const double sinH = sinOf(h);
    if (plane == Plane::euclidean) {
        const double b = sinB / sinC;
        const double cosF = (sinH * sinA) - (cosA * cosH);
        const double sinF = std::sqrt(1.0 - cosF * cosF);
        const double af = (b * sinH) / sinF;
        return {{{-af, 0.0, 1.0}, {1.0 - af, 0.0, 1.0}, {(cosA * b) - af, sinA * b, 1.0}}};
    }
    const double coshC = (cosC + cosB * cosA) / (sinB * sinA);
    const double sinhC = std::sqrt(coshC * coshC - 1.0);
    const double coshB = (cosB + cosA * cosC) / (sinA * sinC);
    const double sinhB = std::sqrt(coshB * coshB - 1.0);
    const V c1 = {cosA * sinhB, sinA * sinhB, coshB};
    const double cosF = ((sinH * coshB) * sinA) - (cosA * cosH);
    const double sinF = std::sqrt(1.0 - cosF * cosF);
    const double coshAF = (cosH + cosA * cosF) / (sinF * sinA);
    const double sinhAF = std::sqrt(coshAF * coshAF - 1.0);
    return {{{-sinhAF, 0.0, coshAF},
             {(coshAF * sinhC) - (coshC * sinhAF), 0.0, (coshC * coshAF) - (sinhAF * sinhC)},
             {(c1[0] * coshAF) - (sinhAF * c1[2]), c1[1], (coshAF * c1[2]) - (c1[0] * sinhAF)}}};
}

Normals solve(const Triangle& t, Plane plane, double pi) {
    const auto [a, b, c] = vertices(t, plane, pi);
    Normals u{};
    if (plane == Plane::euclidean) {
        const auto cross = [](const V& p, const V& q) {
            return V{p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2],
                     p[0] * q[1] - p[1] * q[0]};
        };
        u = {cross(b, c), cross(c, a), cross(a, b)};
        for (V& n : u) {
            const double k = 1.0 / std::sqrt(n[0] * n[0] + n[1] * n[1]);
            n = {k * n[0], k * n[1], k * n[2]};
        }
        return u;
    }
    u[2] = {0.0, (a[2] * b[0]) - (b[2] * a[0]), 0.0};
    u[0] = {-(b[2] * c[1]), (c[0] * b[2]) - (c[2] * b[0]), -(c[1] * b[0])};
    u[1] = {c[1] * a[2], (a[0] * c[2]) - (c[0] * a[2]), c[1] * a[0]};
    for (V& n : u) {
        const double k = 1.0 / std::sqrt((n[1] * n[1] + n[0] * n[0]) - n[2] * n[2]);
        n = {k * n[0], k * n[1], k * n[2]};
    }
    return u;
}

Normals moved(const Normals& n, double lon, double lat, double roll, double pi, Plane plane) {
    roll = std::fmod(roll, 360.0);
    if (lon == 0.0 && lat == 0.0 && roll == 0.0) {
        return n;
    }
    const double t1 = (lon * pi) / 180.0;
    const double t2 = (lat * pi) / 180.0;
    const double r = (roll * pi) / 180.0;
    const double c3 = cosOf(r);
    const double s3 = sinOf(r);
    Normals out{};
    for (std::size_t i = 0; i < 3; ++i) {
        auto [x, y, z] = n[i];
        if (plane == Plane::hyperbolic) {
            const double ch1 = rounded(mpfr_cosh, t1);
            const double sh1 = rounded(mpfr_sinh, t1);
            const double ch2 = rounded(mpfr_cosh, t2);
            const double sh2 = rounded(mpfr_sinh, t2);
            const double x1 = (ch1 * x) + (sh1 * z);
            const double z1 = (sh1 * x) + (ch1 * z);
            const double y2 = (ch2 * y) - (sh2 * z1);
            const double z2 = (ch2 * z1) - (sh2 * y);
            x = x1;
            y = y2;
            z = z2;
        } else {
            z = (z - x * t1) + y * t2;
        }
        out[i] = {(c3 * x) - (s3 * y), (s3 * x) + (c3 * y), z};
    }
    return out;
}

double form(const V& u, const V& v, Plane plane) {
    return plane == Plane::hyperbolic ? (u[1] * v[1] + u[0] * v[0]) - u[2] * v[2]
                                      : (u[0] * v[0] + u[1] * v[1]) + u[2] * v[2];
}

std::optional<int> sample(double col, double row, double scale, double centreCol, double centreRow,
                          Model model, Plane plane, const Normals& n) {
    constexpr int grey = 128 + 256 * 128 + 65536 * 128;
    std::feclearexcept(FE_ALL_EXCEPT);
    const bool halved =
        plane == Plane::hyperbolic && (model == Model::stereo || model == Model::ortho);
    double x = (col - centreCol) / scale;
    double y = (centreRow - row) / scale;
    if (halved) {
        x = ((col - centreCol) * 0.5) / scale;
        y = ((centreRow - row) * 0.5) / scale;
    }
    V p = {x, y, 1.0};
    if (plane == Plane::hyperbolic) {
        const double rr = x * x + y * y;
        if (faulted()) {
            return std::nullopt;
        }
        switch (model) {
            case Model::stereo:
                if (!(rr < 1.0)) {
                    return grey;
                }
                p = {2.0 * x, 2.0 * y, 1.0 + rr};
                break;
            case Model::gnome:
                if (!(rr < 1.0)) {
                    return grey;
                }
                break;
            case Model::ortho:
                p = {x, y, std::sqrt(1.0 + rr)};
                break;
            case Model::halfplane: {
                const double yUp = 1.0 + y;
                if (!(yUp > 0.0)) {
                    return grey;
                }
                const double s = x * x + yUp * yUp;
                p = {2.0 * x, s - 1.0, s + 1.0};
                break;
            }
        }
    }
    if (faulted()) {
        return std::nullopt;
    }
    std::array<double, 3> a{};
    Normals q{};
    for (std::size_t i = 0; i < 3; ++i) {
        a[i] = form(n[i], p, plane);
        const double z = plane == Plane::hyperbolic ? n[i][2] : 0.0;
        q[i] = {p[0] - (2.0 * a[i]) * n[i][0], p[1] - (2.0 * a[i]) * n[i][1],
                p[2] - (2.0 * a[i]) * z};
    }
    const auto distance = [&](std::size_t j, std::size_t k) {
        const double planar = squared(q[j][1] - q[k][1]) + squared(q[j][0] - q[k][0]);
        return plane == Plane::hyperbolic ? planar - squared(q[j][2] - q[k][2]) : planar;
    };
    const double d1 = distance(1, 2);
    const double d2 = distance(2, 0);
    const double d3 = distance(0, 1);
    if (faulted()) {
        return std::nullopt;
    }
    int k = (a[0] >= 0.0 ? 1 : 0) + (a[1] >= 0.0 ? 1 : 0) + (a[2] >= 0.0 ? 1 : 0);
    k = k == 0 ? 2 : k;
    const auto channel = [k](bool held) {
        return static_cast<int>(std::nearbyint(((held ? -1 : 1) * 127 + 128) * k / 3.0));
    };
    return channel(d1 > d2) + 256 * channel(d2 > d3) + 65536 * channel(d3 > d1);
}

}  // namespace vantu::plane_reference
