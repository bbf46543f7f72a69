// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "tests/reference_render.h"

#include <mpfr.h>

#include <cfenv>
#include <cmath>

#include "tests/reference_arithmetic.h"

namespace vantu::reference {
namespace {

using reference_arithmetic::faulted;
using reference_arithmetic::rounded;
using reference_arithmetic::squared;

}  // namespace

int colour(const std::array<double, 3>& p, const std::array<std::array<double, 3>, 3>& normals) {
    std::array<double, 3> a{};
    std::array<std::array<double, 3>, 3> q{};
    for (int i = 0; i < 3; ++i) {
        const auto& n = normals[static_cast<std::size_t>(i)];
        const double ai = (n[0] * p[0] + n[1] * p[1]) + n[2] * p[2];
        a[static_cast<std::size_t>(i)] = ai;
        for (int c = 0; c < 3; ++c) {
            const auto u = static_cast<std::size_t>(c);
            q[static_cast<std::size_t>(i)][u] = p[u] - (2.0 * ai) * n[u];
        }
    }
    const auto distance = [&](int j, int k) {
        const auto& u = q[static_cast<std::size_t>(j)];
        const auto& v = q[static_cast<std::size_t>(k)];
        return (squared(u[1] - v[1]) + squared(u[0] - v[0])) + squared(u[2] - v[2]);
    };
    const double d1 = distance(1, 2);
    const double d2 = distance(2, 0);
    const double d3 = distance(0, 1);
    int k = 0;
    for (const double ai : a) {
        if (ai >= 0.0) {
            ++k;
        }
    }
    if (k == 0) {
        k = 2;
    }
    const auto channel = [k](bool held) {
        const int m = ((held ? -1 : 1) * 127 + 128) * k;
        return static_cast<int>(std::nearbyint(static_cast<double>(m) / 3.0));
    };
    return channel(d1 > d2) + 256 * channel(d2 > d3) + 65536 * channel(d3 > d1);
}

Centre centreOf(int width, int height) {
    return {std::floor(width / 2.0) - 0.5, std::floor(height / 2.0) + 0.5};
}

Normals turned(const Normals& normals, double lon, double lat, double roll, double pi) {
    lon = std::fmod(lon, 360.0);
    lat = std::fmod(lat, 360.0);
    roll = std::fmod(roll, 360.0);
    if (lon == 0.0 && lat == 0.0 && roll == 0.0) {
        return normals;
    }
    const auto cosSin = [pi](double degrees) {
        const double r = (degrees * pi) / 180.0;
        return std::array<double, 2>{rounded(mpfr_cos, r), rounded(mpfr_sin, r)};
    };
    const auto [c1, s1] = cosSin(lon);
    const auto [c2, s2] = cosSin(lat);
    const auto [c3, s3] = cosSin(roll);
    Normals out{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto [x0, y0, z0] = normals[i];
        const double x1 = (c1 * x0) + (s1 * z0);
        const double z1 = (c1 * z0) - (s1 * x0);
        const double y2 = (c2 * y0) - (s2 * z1);
        const double z2 = (s2 * y0) + (c2 * z1);
        out[i] = {(c3 * x1) - (s3 * y2), (s3 * x1) + (c3 * y2), z2};
    }
    return out;
}

std::optional<int> pixel(double col, double row, double scale, double pi, Map map,
                         const Normals& normals, Centre centre) {
    std::feclearexcept(FE_ALL_EXCEPT);
    const double factor = map == Map::gnomonic ? 1.0 : 0.5;
    const double y =
        map == Map::gnomonic ? (centre.row - row) / scale : ((centre.row - row) * factor) / scale;
    const double y2 = y * y;
    if (faulted()) {
        return std::nullopt;
    }
    const double x =
        map == Map::gnomonic ? (col - centre.col) / scale : ((col - centre.col) * factor) / scale;
    if (faulted()) {
        return std::nullopt;
    }
    std::array<double, 3> p{};
    if (map == Map::orthographic) {
        const double x2 = x * x;
        const double r2 = x2 + y2;
        if (faulted()) {
            return std::nullopt;
        }
        if (!(r2 < 1.0)) {
            return 128 + 256 * 128 + 65536 * 128;
        }
        p = {x, y, std::sqrt((1.0 - x2) - y2)};
    } else {
        const double rho = std::sqrt(x * x + y2);
        if (faulted()) {
            return std::nullopt;
        }
        const double t = rounded(mpfr_atan, rho);
        const double theta = map == Map::gnomonic ? t : t + t;
        double phi = rounded(mpfr_atan, y / x);
        if (x < 0.0) {
            phi = pi + phi;
        }
        p = {rounded(mpfr_sin, theta) * rounded(mpfr_cos, phi),
             rounded(mpfr_sin, theta) * rounded(mpfr_sin, phi), rounded(mpfr_cos, theta)};
    }
    if (faulted()) {
        return std::nullopt;
    }
    return colour(p, normals);
}

bool nearTie(double col, double row, double scale, Map map, const Normals& normals, Centre centre) {
    const double factor = map == Map::gnomonic ? 1.0 : 0.5;
    const double x = ((col - centre.col) * factor) / scale;
    const double y = ((centre.row - row) * factor) / scale;
    const double rho = std::sqrt(x * x + y * y);
    std::array<double, 3> p{x, y, std::sqrt(std::abs(1.0 - rho * rho))};
    if (map != Map::orthographic) {
        const double theta = map == Map::gnomonic ? std::atan(rho) : 2.0 * std::atan(rho);
        const double phi = std::atan2(y, x);
        p = {std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta)};
    }
    std::array<double, 3> a{};
    std::array<std::array<double, 3>, 3> q{};
    for (std::size_t i = 0; i < 3; ++i) {
        a[i] = normals[i][0] * p[0] + normals[i][1] * p[1] + normals[i][2] * p[2];
        for (std::size_t c = 0; c < 3; ++c) {
            q[i][c] = p[c] - 2.0 * a[i] * normals[i][c];
        }
    }
    const auto distance = [&](std::size_t j, std::size_t k) {
        return squared(q[j][0] - q[k][0]) + squared(q[j][1] - q[k][1]) + squared(q[j][2] - q[k][2]);
    };
    const double d1 = distance(1, 2);
    const double d2 = distance(2, 0);
    const double d3 = distance(0, 1);
    return std::abs(a[0]) < 1e-9 || std::abs(a[1]) < 1e-9 || std::abs(a[2]) < 1e-9 ||
           std::abs(d1 - d2) < 1e-8 || std::abs(d2 - d3) < 1e-8 || std::abs(d3 - d1) < 1e-8;
}

}  // namespace vantu::reference
