// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The three projections in both directions: as mappings for the scan in render/scan.h (pixel
// to plane, and plane to sphere, each value passed through the scan's check as it is stored),
// and back from the sphere to the picture. Rows and columns are window coordinates: whole
// numbers in the window's scan, finer ones in a finer sampling.

#include <cmath>
#include <optional>

#include "geometry/correctly_rounded.h"
#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"

namespace vantu {
namespace detail {

// The picture's plane: the scale R in window pixels and where the plane's origin lies in window
// coordinates.
struct Plane {
    double scale = 120.0;
    double columnCentre = vantu::columnCentre;
    double rowCentre = vantu::rowCentre;
};

// The elementary functions of a drawing: correctly rounded, the same on every platform.
struct CorrectlyRounded {
    static double atan(double x) noexcept { return cr::atan(x); }
    static double sin(double x) noexcept { return cr::sin(x); }
    static double cos(double x) noexcept { return cr::cos(x); }
};

// The C library's, which are faster but differ between platforms: only for comparison.
struct LibraryFunctions {
    static double atan(double x) noexcept { return std::atan(x); }
    static double sin(double x) noexcept { return std::sin(x); }
    static double cos(double x) noexcept { return std::cos(x); }
};

// Azimuth of (X, Y): atan(Y / X), turned by pi in the left half. X is never zero.
template <class Fn, class Check>
inline double azimuth(double x, double y, double pi, Check& check) {
    double phi = check.value(Fn::atan(check.quotient(y, x)));
    if (x < 0.0) {
        phi = check.value(pi + phi);
    }
    return phi;
}

// P at angle theta from (0, 0, 1) in the direction phi.
template <class Fn, class Check>
inline void polarPoint(double theta, double phi, Check& check, Vec3& p) {
    const double sinTheta = Fn::sin(theta);
    p.x = check.value(sinTheta * Fn::cos(phi));
    p.y = check.value(sinTheta * Fn::sin(phi));
    p.z = check.value(Fn::cos(theta));
}

template <class Fn = CorrectlyRounded>
struct GnomonicWith {
    static constexpr Projection projection = Projection::gnomonic;
    template <class Check>
    static double ordinate(double row, const Plane& plane, Check& check) {
        return check.quotient(plane.rowCentre - row, plane.scale);
    }
    template <class Check>
    static double abscissa(double col, const Plane& plane, Check& check) {
        return check.quotient(col - plane.columnCentre, plane.scale);
    }
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double pi, Check& check, Vec3& p) {
        const double rho = check.root(check.value(x * x + ySquared));
        const double theta = check.value(Fn::atan(rho));
        polarPoint<Fn>(theta, azimuth<Fn>(x, y, pi, check), check, p);
        return true;
    }
};

// The stereographic and orthographic plane: half the offset, then divided by R.
struct HalfPlane {
    template <class Check>
    static double ordinate(double row, const Plane& plane, Check& check) {
        return check.quotient(check.value((plane.rowCentre - row) * 0.5), plane.scale);
    }
    template <class Check>
    static double abscissa(double col, const Plane& plane, Check& check) {
        return check.quotient(check.value((col - plane.columnCentre) * 0.5), plane.scale);
    }
};

template <class Fn = CorrectlyRounded>
struct StereographicWith : HalfPlane {
    static constexpr Projection projection = Projection::stereographic;
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double pi, Check& check, Vec3& p) {
        const double rho = check.root(check.value(x * x + ySquared));
        const double t = check.value(Fn::atan(rho));
        const double theta = check.value(t + t);
        polarPoint<Fn>(theta, azimuth<Fn>(x, y, pi, check), check, p);
        return true;
    }
};

struct Orthographic : HalfPlane {
    static constexpr Projection projection = Projection::orthographic;
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double /*pi*/, Check& check,
                         Vec3& p) {
        const double xSquared = check.value(x * x);
        if (!(check.value(xSquared + ySquared) < 1.0)) {
            return false;
        }
        p = {x, y, check.root(check.value((1.0 - xSquared) - ySquared))};
        return true;
    }
};

// The mappings of a drawing.
using Gnomonic = GnomonicWith<>;
using Stereographic = StereographicWith<>;

// f.template operator()<Mapping>() with the drawing's mapping of `projection`: the one switch
// over the projections that a scan needs.
template <class F>
decltype(auto) withMapping(Projection projection, F&& f) {
    switch (projection) {
        case Projection::gnomonic:
            return f.template operator()<Gnomonic>();
        case Projection::stereographic:
            return f.template operator()<Stereographic>();
        case Projection::orthographic:
            break;
    }
    return f.template operator()<Orthographic>();
}

}  // namespace detail

// A position in the window's picture: pixel (c, r) covers [c - 0.5, c + 0.5) x [r - 0.5,
// r + 0.5).
struct PicturePosition {
    double col = 0.0;
    double row = 0.0;
    [[nodiscard]] int pixelColumn() const noexcept {
        return static_cast<int>(std::floor(col + 0.5));
    }
    [[nodiscard]] int pixelRow() const noexcept { return static_cast<int>(std::floor(row + 0.5)); }
};

// The way back: where the picture of `size` window pixels at scale R in `projection` puts the
// unit vector `p`, in window coordinates, on its raster or beyond it; nothing for a point the
// projection does not show: on the hemisphere z <= 0 in the gnomonic projection, z < 0 in the
// orthographic one, at (0, 0, -1) in the stereographic one, or anything for R = 0.
[[nodiscard]] inline std::optional<PicturePosition> planePosition(const Vec3& p, double R,
                                                                  Projection projection,
                                                                  PictureSize size = {}) noexcept {
    if (R == 0.0) {
        return std::nullopt;
    }
    // The offset from the picture centre in window pixels, x to the right and y up.
    double dx = 0.0;
    double dy = 0.0;
    switch (projection) {
        case Projection::gnomonic:
            if (!(p.z > 0.0)) {
                return std::nullopt;
            }
            dx = R * (p.x / p.z);
            dy = R * (p.y / p.z);
            break;
        case Projection::stereographic: {
            if (!(p.z > -1.0)) {
                return std::nullopt;
            }
            const double k = 2.0 * R / (1.0 + p.z);
            dx = k * p.x;
            dy = k * p.y;
            break;
        }
        case Projection::orthographic:
            if (p.z < 0.0) {
                return std::nullopt;
            }
            dx = 2.0 * R * p.x;
            dy = 2.0 * R * p.y;
            break;
    }
    return PicturePosition{columnCentreOf(size.width) + dx, rowCentreOf(size.height) - dy};
}

// The same on the raster alone: nothing also for a point the picture puts beyond its pixels.
[[nodiscard]] inline std::optional<PicturePosition> picturePosition(
    const Vec3& p, double R, Projection projection, PictureSize size = {}) noexcept {
    const std::optional<PicturePosition> at = planePosition(p, R, projection, size);
    if (!at || !(at->col >= -0.5 && at->col < size.width - 0.5 && at->row >= -0.5 &&
                 at->row < size.height - 0.5)) {
        return std::nullopt;
    }
    return at;
}

}  // namespace vantu
