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

namespace {

// The view's three steps in a plane: the two lengths, their hyperbolic cosines and sines, and
// the roll.
struct PlaneMove {
    double t1;
    double t2;
    Turn h1;  // cosh and sinh of t1
    Turn h2;
    Turn roll;
};

PlaneMove planeMove(const View& view, double pi) noexcept {
    const double t1 = (view.lon * pi) / 180.0;
    const double t2 = (view.lat * pi) / 180.0;
    return {t1,
            t2,
            {cr::cosh(t1), cr::sinh(t1)},
            {cr::cosh(t2), cr::sinh(t2)},
            turnOf(reducedDegrees(view.roll), pi)};
}

bool stillView(const View& view) noexcept {
    return view.lon == 0.0 && view.lat == 0.0 && reducedDegrees(view.roll) == 0.0;
}

}  // namespace

Mirrors moved(const Mirrors& normals, const View& view, double pi, Geometry geometry) noexcept {
    if (geometry == Geometry::spherical) {
        return turned(normals, view, pi);
    }
    if (stillView(view)) {
        return normals;
    }
    const PlaneMove m = planeMove(view, pi);
    Mirrors out;
    for (std::size_t i = 0; i < normals.size(); ++i) {
        double x = normals[i].x;
        double y = normals[i].y;
        double z = normals[i].z;
        if (geometry == Geometry::hyperbolic) {
            const double x1 = (m.h1.c * x) + (m.h1.s * z);
            const double z1 = (m.h1.s * x) + (m.h1.c * z);
            x = x1;
            z = z1;
            const double y2 = (m.h2.c * y) - (m.h2.s * z);
            const double z2 = (m.h2.c * z) - (m.h2.s * y);
            y = y2;
            z = z2;
        } else {
            z = z - (x * m.t1);
            z = z + (y * m.t2);
        }
        const double x3 = (m.roll.c * x) - (m.roll.s * y);
        const double y3 = (m.roll.s * x) + (m.roll.c * y);
        out[i] = {x3, y3, z};
    }
    return out;
}

Vec3 movedBack(const Vec3& p, const View& view, double pi, Geometry geometry) noexcept {
    if (geometry == Geometry::spherical) {
        return turnedBack(p, view, pi);
    }
    const PlaneMove m = planeMove(view, pi);
    const double x1 = (m.roll.c * p.x) + (m.roll.s * p.y);
    const double y1 = (m.roll.c * p.y) - (m.roll.s * p.x);
    if (geometry == Geometry::hyperbolic) {
        const double y2 = (m.h2.c * y1) + (m.h2.s * p.z);
        const double z2 = (m.h2.c * p.z) + (m.h2.s * y1);
        return {(m.h1.c * x1) - (m.h1.s * z2), y2, (m.h1.c * z2) - (m.h1.s * x1)};
    }
    return {x1 - m.t1 * p.z, y1 + m.t2 * p.z, p.z};
}

}  // namespace vantu
