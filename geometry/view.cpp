// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "geometry/view.h"

#include <cmath>

#include "geometry/correctly_rounded.h"

namespace vantu {
namespace {

struct Turn {
    double c;
    double s;
};

// The turn by `degrees`, already reduced (reducedDegrees).
Turn turnOf(double degrees, double pi) noexcept {
    const double r = (degrees * pi) / 180.0;
    return {cr::cos(r), cr::sin(r)};
}

}  // namespace

double reducedDegrees(double degrees) noexcept {
    return std::fmod(degrees, 360.0);
}

View reducedView(const View& view) noexcept {
    return {reducedDegrees(view.lon), reducedDegrees(view.lat), reducedDegrees(view.roll)};
}

Mirrors turned(const Mirrors& normals, const View& view, double pi) noexcept {
    const View reduced = reducedView(view);
    if (reduced == View{}) {
        return normals;
    }
    const Turn lon = turnOf(reduced.lon, pi);
    const Turn lat = turnOf(reduced.lat, pi);
    const Turn roll = turnOf(reduced.roll, pi);
    Mirrors out;
    for (std::size_t i = 0; i < normals.size(); ++i) {
        double x = normals[i].x;
        double y = normals[i].y;
        double z = normals[i].z;
        const double x1 = (lon.c * x) + (lon.s * z);
        const double z1 = (lon.c * z) - (lon.s * x);
        x = x1;
        z = z1;
        const double y2 = (lat.c * y) - (lat.s * z);
        const double z2 = (lat.s * y) + (lat.c * z);
        y = y2;
        z = z2;
        const double x3 = (roll.c * x) - (roll.s * y);
        const double y3 = (roll.s * x) + (roll.c * y);
        out[i] = {x3, y3, z};
    }
    return out;
}

Vec3 turnedBack(const Vec3& p, const View& view, double pi) noexcept {
    const View reduced = reducedView(view);
    const Turn lon = turnOf(reduced.lon, pi);
    const Turn lat = turnOf(reduced.lat, pi);
    const Turn roll = turnOf(reduced.roll, pi);
    // Each step of `turned` with the sine's sign changed, in the opposite order.
    const double x1 = (roll.c * p.x) + (roll.s * p.y);
    const double y1 = (roll.c * p.y) - (roll.s * p.x);
    const double y2 = (lat.c * y1) + (lat.s * p.z);
    const double z2 = (lat.c * p.z) - (lat.s * y1);
    return {(lon.c * x1) - (lon.s * z2), y2, (lon.s * x1) + (lon.c * z2)};
}

}  // namespace vantu
