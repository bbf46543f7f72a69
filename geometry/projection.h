// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The projections by which a picture shows the sphere: the one home of each. A projection is one
// class below with everything the program knows of it: its names and the words that describe it,
// its way from a sample to the sphere (the scan's mapping), its way back from the sphere to the
// picture (where overlays put their lines), and the closed form from which a search seeds its
// points. The scan, the fast kernels (by the projection's enumerator), the overlays, the snub
// search's seeds, the options and both windows take a projection from here.
//
// Adding a projection: its enumerator, its class, and its place in AllProjections, all in this
// file. It draws at once, every sample through the exact computation; a fast path is a kernel
// in render/kernel_body.h and its row in that file's table.

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/correctly_rounded.h"
#include "geometry/geometry.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"

namespace vantu {

// How a pixel's offset from the picture centre maps to a point of the unit sphere: one
// enumerator for each class below, numbered from 0 without gaps.
enum class Projection {
    gnomonic,       // "gnome": distance R * tan(theta)
    stereographic,  // "stereo": distance 2R * tan(theta / 2)
    orthographic,   // "ortho": distance 2R * sin(theta), grey outside the disc
    halfplane,      // "halfplane": the hyperbolic plane's upper half-plane, nothing on the sphere
};

// What a projection is called and how it is described.
struct ProjectionWords {
    std::string_view name;         // the option's value and the button's caption: "stereo"
    std::string_view title;        // what a screen reader calls the button: "Stereographic"
    std::string_view description;  // what the picture shows, for tooltips
};

// The offset of a point of the picture from the picture's centre in window pixels, x to the
// right and y up.
struct PictureOffset {
    double dx = 0.0;
    double dy = 0.0;
};

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

// The plane of the stereographic and orthographic pictures: half the offset, then divided by R.
struct HalvedPlane {
    template <class Check>
    static double ordinate(double row, const Plane& plane, Check& check) {
        return check.quotient(check.value((plane.rowCentre - row) * 0.5), plane.scale);
    }
    template <class Check>
    static double abscissa(double col, const Plane& plane, Check& check) {
        return check.quotient(check.value((col - plane.columnCentre) * 0.5), plane.scale);
    }
};

// --- The models of the planes ------------------------------------------------------------------
//
// In the Euclidean and the hyperbolic plane each option of the projection means its analogue, a
// class below with the members of a projection (see the list further down) and its geometry.
// Their toSphere gives the point of the plane as a homogeneous point P, any positive multiple of
// the point itself (the hyperboloid's <P, P> = -1 or the Euclidean (x, y, 1)): the colouring's
// signs and comparisons do not change when P is scaled, so no model divides by the factor that
// grows without bound at its edge. pointOf gives the same P in closed form, and offsetOf takes
// any such P back to the picture.

// The plane of the gnomonic picture and of the Euclidean plane: the offset divided by R.
struct WholePlane {
    template <class Check>
    static double ordinate(double row, const Plane& plane, Check& check) {
        return check.quotient(plane.rowCentre - row, plane.scale);
    }
    template <class Check>
    static double abscissa(double col, const Plane& plane, Check& check) {
        return check.quotient(col - plane.columnCentre, plane.scale);
    }
};

// sqrt(-<P, P>) of a homogeneous point of the hyperbolic plane, the factor by which it exceeds
// the point of the sheet; NaN or 0 for a point that is not inside the light cone.
inline double hyperbolicScale(const Vec3& p) noexcept {
    return std::sqrt(p.z * p.z - (p.y * p.y + p.x * p.x));
}

// Whether a homogeneous point lies inside the light cone, with z > 0: a point of the plane.
inline bool onSheet(const Vec3& p) noexcept {
    return p.z > 0.0 && hyperbolicScale(p) > 0.0;
}

// The Euclidean plane, R pixels to a unit of length (side c of the triangle), in every option:
// P = (X, Y, 1).
template <Projection option>
struct EuclideanPlane : WholePlane {
    static constexpr Projection id = option;
    static constexpr Geometry geometry = Geometry::euclidean;
    static constexpr ProjectionWords words = {
        "", "Euclidean plane", "the plane itself, R pixels to the triangle's side c"};
    static constexpr bool definedOnVerticalAxis = true;
    static constexpr bool geodesicsAreCircles = true;

    template <class Check>
    static bool toSphere(double x, double y, double /*ySquared*/, double /*pi*/, Check& /*check*/,
                         Vec3& p) {
        p = {x, y, 1.0};
        return true;
    }
    static std::optional<Vec3> pointOf(double x, double y) noexcept { return Vec3{x, y, 1.0}; }
    // R (x, y) / z; nothing for a point at infinity.
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (!(p.z != 0.0)) {
            return std::nullopt;
        }
        return PictureOffset{R * (p.x / p.z), R * (p.y / p.z)};
    }
};

// The Poincare disk, of radius 2R: P = (2X, 2Y, 1 + rho^2) inside rho^2 = X^2 + Y^2 < 1, which
// is the sheet's point times 1 - rho^2.
struct PoincareDisk : HalvedPlane {
    static constexpr Projection id = Projection::stereographic;
    static constexpr Geometry geometry = Geometry::hyperbolic;
    static constexpr ProjectionWords words = {"stereo", "Poincaré disk",
                                              "the whole hyperbolic plane in a disc, true angles"};
    static constexpr bool definedOnVerticalAxis = true;
    static constexpr bool geodesicsAreCircles = true;

    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double /*pi*/, Check& check,
                         Vec3& p) {
        const double rhoSquared = check.value(check.value(x * x) + ySquared);
        if (!(rhoSquared < 1.0)) {
            return false;
        }
        p = {x + x, y + y, 1.0 + rhoSquared};
        return true;
    }
    static std::optional<Vec3> pointOf(double x, double y) noexcept {
        const double rhoSquared = x * x + y * y;
        if (!(rhoSquared < 1.0)) {
            return std::nullopt;
        }
        return Vec3{2.0 * x, 2.0 * y, 1.0 + rhoSquared};
    }
    // 2R (x, y) / (z + sqrt(-<P, P>)).
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (!onSheet(p)) {
            return std::nullopt;
        }
        const double k = 2.0 * R / (p.z + hyperbolicScale(p));
        return PictureOffset{k * p.x, k * p.y};
    }
};

// The Beltrami-Klein disk, of radius R: P = (X, Y, 1) inside X^2 + Y^2 < 1, the sheet's point
// times sqrt(1 - rho^2); the geodesics are straight lines.
struct KleinDisk : WholePlane {
    static constexpr Projection id = Projection::gnomonic;
    static constexpr Geometry geometry = Geometry::hyperbolic;
    static constexpr ProjectionWords words = {
        "gnome", "Beltrami–Klein disk", "the whole hyperbolic plane in a disc, its lines straight"};
    static constexpr bool definedOnVerticalAxis = true;
    static constexpr bool geodesicsAreCircles = true;

    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double /*pi*/, Check& check,
                         Vec3& p) {
        if (!(check.value(check.value(x * x) + ySquared) < 1.0)) {
            return false;
        }
        p = {x, y, 1.0};
        return true;
    }
    static std::optional<Vec3> pointOf(double x, double y) noexcept {
        if (!(x * x + y * y < 1.0)) {
            return std::nullopt;
        }
        return Vec3{x, y, 1.0};
    }
    // R (x, y) / z.
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (!onSheet(p)) {
            return std::nullopt;
        }
        return PictureOffset{R * (p.x / p.z), R * (p.y / p.z)};
    }
};

// The Gans model, the sheet seen from above: P = (X, Y, sqrt(1 + rho^2)), on the sheet itself,
// 2R pixels to a unit of x and y; no edge.
struct GansModel : HalvedPlane {
    static constexpr Projection id = Projection::orthographic;
    static constexpr Geometry geometry = Geometry::hyperbolic;
    static constexpr ProjectionWords words = {
        "ortho", "Gans model", "the hyperboloid seen from above, the whole plane without an edge"};
    static constexpr bool definedOnVerticalAxis = true;
    static constexpr bool geodesicsAreCircles = false;

    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double /*pi*/, Check& check,
                         Vec3& p) {
        const double rhoSquared = check.value(check.value(x * x) + ySquared);
        p = {x, y, check.root(check.value(1.0 + rhoSquared))};
        return true;
    }
    static std::optional<Vec3> pointOf(double x, double y) noexcept {
        return Vec3{x, y, std::sqrt(1.0 + (x * x + y * y))};
    }
    // 2R (x, y) / sqrt(-<P, P>).
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (!onSheet(p)) {
            return std::nullopt;
        }
        const double k = 2.0 * R / hyperbolicScale(p);
        return PictureOffset{k * p.x, k * p.y};
    }
};

// The upper half-plane, the picture's centre at i and the horizon R pixels below it, R pixels to
// a unit: the ordinate is Y' = 1 + Y, and P = (2X, s - 1, s + 1) with s = X^2 + Y'^2 where
// Y' > 0, the sheet's point times 2 Y'.
struct UpperHalfPlane {
    static constexpr Projection id = Projection::halfplane;
    static constexpr Geometry geometry = Geometry::hyperbolic;
    static constexpr ProjectionWords words = {"halfplane", "Upper half-plane",
                                              "the hyperbolic plane above a horizon, true angles"};
    static constexpr bool definedOnVerticalAxis = true;
    static constexpr bool geodesicsAreCircles = true;

    template <class Check>
    static double ordinate(double row, const Plane& plane, Check& check) {
        return check.value(1.0 + check.quotient(plane.rowCentre - row, plane.scale));
    }
    template <class Check>
    static double abscissa(double col, const Plane& plane, Check& check) {
        return check.quotient(col - plane.columnCentre, plane.scale);
    }
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double /*pi*/, Check& check,
                         Vec3& p) {
        if (!(y > 0.0)) {
            return false;
        }
        const double s = check.value(check.value(x * x) + ySquared);
        p = {x + x, s - 1.0, check.value(s + 1.0)};
        return true;
    }
    // (X, Y') as the ordinate gives it.
    static std::optional<Vec3> pointOf(double x, double y) noexcept {
        if (!(y > 0.0)) {
            return std::nullopt;
        }
        const double s = x * x + y * y;
        return Vec3{2.0 * x, s - 1.0, s + 1.0};
    }
    // X = x / (z - y) and Y' = sqrt(-<P, P>) / (z - y), R pixels each, Y' from the horizon.
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (!onSheet(p)) {
            return std::nullopt;
        }
        const double w = p.z - p.y;
        return PictureOffset{R * (p.x / w), R * (hyperbolicScale(p) / w - 1.0)};
    }
};

// What the option "halfplane" shows of the sphere: nothing, every sample grey. A drawing never
// gets here (projectionRefusal refuses it first); this keeps a slip from drawing a wrong picture.
struct HalfPlaneOfSphere : WholePlane {
    static constexpr Projection id = Projection::halfplane;
    static constexpr ProjectionWords words = UpperHalfPlane::words;
    static constexpr bool showsSphere = false;
    static constexpr bool definedOnVerticalAxis = true;
    static constexpr bool geodesicsAreCircles = false;
    using Hyperbolic = UpperHalfPlane;

    template <class Check>
    static bool toSphere(double, double, double, double, Check&, Vec3&) {
        return false;
    }
    static std::optional<Vec3> pointOf(double, double) noexcept { return std::nullopt; }
    static std::optional<PictureOffset> offsetOf(const Vec3&, double) noexcept {
        return std::nullopt;
    }
};

// --- The projections, one class each -----------------------------------------------------------
//
// Each has:
//   id, words                           its enumerator, names and description
//   ordinate(row, plane, check)         Y of a sample row at a window coordinate
//   abscissa(col, plane, check)         X of a sample column
//   toSphere(X, Y, Ysq, pi, check, P)   the point of the sphere at plane coordinates (X, Y),
//                                       Ysq = Y * Y, every stored value passed through `check`
//                                       (render/scan.h) in the drawing's order; false for a
//                                       sample off the sphere, which is grey
//   pointOf(X, Y)                       the same point in closed form, without the drawing's
//                                       order and functions: for the snub search's seeds
//   offsetOf(P, R)                      the way back: where the picture at scale R shows the
//                                       unit vector P; nothing for a point it does not show
//   definedOnVerticalAxis               whether a sample at X = 0 has a point: not where the
//                                       azimuth divides by X
//   showsSphere                         false for an option of the planes alone (its class on
//                                       the sphere draws nothing)
//   geodesicsAreCircles                 whether every geodesic of its geometry is a circle or a
//                                       straight line in the picture
//   Hyperbolic                          the option's model of the hyperbolic plane (above); the
//                                       Euclidean plane is EuclideanPlane<id> in every option

template <class Fn = CorrectlyRounded>
struct StereographicWith : HalvedPlane {
    static constexpr Projection id = Projection::stereographic;
    static constexpr bool showsSphere = true;
    using Hyperbolic = PoincareDisk;
    static constexpr ProjectionWords words = {"stereo", "Stereographic",
                                              "the whole sphere from its far pole, true angles"};
    static constexpr bool definedOnVerticalAxis = false;
    static constexpr bool geodesicsAreCircles = true;

    // theta = 2 atan(rho).
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double pi, Check& check, Vec3& p) {
        const double rho = check.root(check.value(x * x + ySquared));
        const double t = check.value(Fn::atan(rho));
        const double theta = check.value(t + t);
        polarPoint<Fn>(theta, azimuth<Fn>(x, y, pi, check), check, p);
        return true;
    }
    // (2X, 2Y, 1 - rho^2) / (1 + rho^2).
    static std::optional<Vec3> pointOf(double x, double y) noexcept {
        const double s = 1.0 + x * x + y * y;
        return Vec3{2.0 * x / s, 2.0 * y / s, (1.0 - x * x - y * y) / s};
    }
    // 2R / (1 + z) times (x, y); nothing at (0, 0, -1).
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (!(p.z > -1.0)) {
            return std::nullopt;
        }
        const double k = 2.0 * R / (1.0 + p.z);
        return PictureOffset{k * p.x, k * p.y};
    }
};

template <class Fn = CorrectlyRounded>
struct GnomonicWith {
    static constexpr Projection id = Projection::gnomonic;
    static constexpr bool showsSphere = true;
    using Hyperbolic = KleinDisk;
    static constexpr ProjectionWords words = {
        "gnome", "Gnomonic", "the near half from the centre, great circles as straight lines"};
    static constexpr bool definedOnVerticalAxis = false;
    static constexpr bool geodesicsAreCircles = true;

    template <class Check>
    static double ordinate(double row, const Plane& plane, Check& check) {
        return check.quotient(plane.rowCentre - row, plane.scale);
    }
    template <class Check>
    static double abscissa(double col, const Plane& plane, Check& check) {
        return check.quotient(col - plane.columnCentre, plane.scale);
    }
    // theta = atan(rho).
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double pi, Check& check, Vec3& p) {
        const double rho = check.root(check.value(x * x + ySquared));
        const double theta = check.value(Fn::atan(rho));
        polarPoint<Fn>(theta, azimuth<Fn>(x, y, pi, check), check, p);
        return true;
    }
    // (X, Y, 1) / sqrt(1 + rho^2).
    static std::optional<Vec3> pointOf(double x, double y) noexcept {
        const double s = std::sqrt(1.0 + x * x + y * y);
        return Vec3{x / s, y / s, 1.0 / s};
    }
    // R (x, y) / z; nothing on the hemisphere z <= 0.
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (!(p.z > 0.0)) {
            return std::nullopt;
        }
        return PictureOffset{R * (p.x / p.z), R * (p.y / p.z)};
    }
};

struct Orthographic : HalvedPlane {
    static constexpr Projection id = Projection::orthographic;
    static constexpr bool showsSphere = true;
    using Hyperbolic = GansModel;
    static constexpr ProjectionWords words = {"ortho", "Orthographic",
                                              "the near half as seen from far away"};
    static constexpr bool definedOnVerticalAxis = true;
    static constexpr bool geodesicsAreCircles = false;

    // (X, Y, sqrt(1 - X^2 - Y^2)) on the disc rho < 1.
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
    static std::optional<Vec3> pointOf(double x, double y) noexcept {
        if (!(x * x + y * y < 1.0)) {
            return std::nullopt;
        }
        return Vec3{x, y, std::sqrt((1.0 - x * x) - y * y)};
    }
    // 2R (x, y); nothing on the hemisphere z < 0.
    static std::optional<PictureOffset> offsetOf(const Vec3& p, double R) noexcept {
        if (p.z < 0.0) {
            return std::nullopt;
        }
        return PictureOffset{2.0 * R * p.x, 2.0 * R * p.y};
    }
};

// The projections of a drawing.
using Stereographic = StereographicWith<>;
using Gnomonic = GnomonicWith<>;

// A list of projection classes.
template <class... P>
struct ProjectionList {
    static constexpr std::size_t size = sizeof...(P);
};

// Every projection, in the order the windows' buttons and the options show them.
using AllProjections = ProjectionList<Stereographic, Gnomonic, Orthographic, HalfPlaneOfSphere>;

template <class F, class First, class... Rest>
constexpr decltype(auto) withMappingOf(Projection projection, F& f,
                                       ProjectionList<First, Rest...> /*list*/) {
    if constexpr (sizeof...(Rest) == 0) {
        return f.template operator()<First>();
    } else {
        if (projection == First::id) {
            return f.template operator()<First>();
        }
        return withMappingOf(projection, f, ProjectionList<Rest...>{});
    }
}

// f.template operator()<P>() with the class P of `projection` (the last of AllProjections for a
// value that is none): the one place that turns a projection into its class.
template <class F>
constexpr decltype(auto) withMapping(Projection projection, F&& f) {
    return withMappingOf(projection, f, AllProjections{});
}

// f.template operator()<M>() with the class M of `projection` in `geometry`: the projection's
// own on the sphere, its Hyperbolic model in the hyperbolic plane, and EuclideanPlane in the
// Euclidean one.
template <class F>
constexpr decltype(auto) withMapping(Projection projection, Geometry geometry, F&& f) {
    return withMapping(projection, [&]<class P>() -> decltype(auto) {
        if (geometry == Geometry::hyperbolic) {
            return f.template operator()<typename P::Hyperbolic>();
        }
        if (geometry == Geometry::euclidean) {
            return f.template operator()<EuclideanPlane<P::id>>();
        }
        return f.template operator()<P>();
    });
}

// The geometry a mapping class draws in: its own, or the sphere's for a class that names none
// (the projections, and the tests' own mappings).
template <class Mapping>
constexpr Geometry geometryOf() noexcept {
    if constexpr (requires { Mapping::geometry; }) {
        return Mapping::geometry;
    } else {
        return Geometry::spherical;
    }
}

template <class... P>
constexpr bool numbersEveryEnumeratorOnce(ProjectionList<P...> /*list*/) {
    const std::array<std::size_t, sizeof...(P)> ids = {static_cast<std::size_t>(P::id)...};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] >= ids.size()) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (ids[i] == ids[j]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(numbersEveryEnumeratorOnce(AllProjections{}),
              "each enumerator of Projection has one class in AllProjections");

}  // namespace detail

// How many projections there are; the enumerators run from 0 to projectionCount - 1.
inline constexpr std::size_t projectionCount = detail::AllProjections::size;

// A projection with the name of its option button.
struct ProjectionName {
    Projection projection;
    std::string_view name;
};

namespace detail {
template <class... P>
constexpr std::array<ProjectionName, sizeof...(P)> namesOf(ProjectionList<P...> /*list*/) {
    return {{{P::id, P::words.name}...}};
}
}  // namespace detail

// Every projection, in the order the options list them.
inline constexpr std::array<ProjectionName, projectionCount> projectionNames =
    detail::namesOf(detail::AllProjections{});

// The projections of the sphere, in the order the windows' option buttons show them: all but
// those of the planes alone, which come last.
inline constexpr std::size_t sphereProjectionCount = 3;
inline constexpr std::array<ProjectionName, sphereProjectionCount> sphereProjectionNames = {
    projectionNames[0], projectionNames[1], projectionNames[2]};
static_assert(
    [] {
        for (std::size_t i = 0; i < projectionCount; ++i) {
            const bool shows = detail::withMapping(projectionNames[i].projection,
                                                   []<class P>() { return P::showsSphere; });
            if (shows != (i < sphereProjectionCount)) {
                return false;
            }
        }
        return true;
    }(),
    "the projections of the sphere come first");

// The words of `projection`.
[[nodiscard]] constexpr const ProjectionWords& projectionWords(Projection projection) noexcept {
    return detail::withMapping(projection,
                               []<class P>() -> const ProjectionWords& { return P::words; });
}

// "stereo", "gnome", "ortho" or "halfplane".
[[nodiscard]] constexpr std::string_view projectionName(Projection projection) noexcept {
    return projectionWords(projection).name;
}

// The words of `projection` in `geometry`: the name is the option's in every geometry, the
// title and description those of the model it means there ("Poincaré disk").
[[nodiscard]] constexpr ProjectionWords projectionWords(Projection projection,
                                                        Geometry geometry) noexcept {
    return {projectionWords(projection).name,
            detail::withMapping(projection, geometry,
                                []<class P>() -> std::string_view { return P::words.title; }),
            detail::withMapping(projection, geometry, []<class P>() -> std::string_view {
                return P::words.description;
            })};
}

// Why `projection` cannot show `geometry`, or nothing when it can: "halfplane" has nothing of
// the sphere to show.
[[nodiscard]] inline std::optional<std::string> projectionRefusal(Projection projection,
                                                                  Geometry geometry) {
    const bool shows = detail::withMapping(projection, []<class P>() { return P::showsSphere; });
    if (geometry != Geometry::spherical || shows) {
        return std::nullopt;
    }
    return "the projection \"" + std::string(projectionName(projection)) +
           "\" shows the hyperbolic plane alone, and the triangle is " +
           std::string(geometryName(geometry));
}

// The tooltip of the projection's button: "Stereographic: the whole sphere from its far pole,
// true angles".
[[nodiscard]] inline std::string projectionToolTip(Projection projection) {
    const ProjectionWords& words = projectionWords(projection);
    return std::string(words.title) + ": " + std::string(words.description);
}

// Whether the picture has a point at every sample on the vertical axis through its centre.
[[nodiscard]] constexpr bool definedOnVerticalAxis(Projection projection) noexcept {
    return detail::withMapping(projection, []<class P>() { return P::definedOnVerticalAxis; });
}

// Whether every geodesic of `geometry` is a circle or a straight line in the picture of
// `projection`: all but the orthographic sphere's ellipses and the hyperboloid's hyperbolas.
[[nodiscard]] constexpr bool geodesicsAreCircles(Projection projection,
                                                 Geometry geometry) noexcept {
    return detail::withMapping(projection, geometry,
                               []<class P>() { return P::geodesicsAreCircles; });
}

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
// projection does not show (its offsetOf), or anything for R = 0.
// In the planes `p` is a homogeneous point of the geometry's plane.
[[nodiscard]] inline std::optional<PicturePosition> planePosition(
    const Vec3& p, double R, Projection projection, PictureSize size = {},
    Geometry geometry = Geometry::spherical) noexcept {
    if (R == 0.0) {
        return std::nullopt;
    }
    const std::optional<PictureOffset> offset =
        detail::withMapping(projection, geometry, [&]<class P>() { return P::offsetOf(p, R); });
    if (!offset) {
        return std::nullopt;
    }
    return PicturePosition{columnCentreOf(size.width) + offset->dx,
                           rowCentreOf(size.height) - offset->dy};
}

// The same on the raster alone: nothing also for a point the picture puts beyond its pixels.
[[nodiscard]] inline std::optional<PicturePosition> picturePosition(
    const Vec3& p, double R, Projection projection, PictureSize size = {},
    Geometry geometry = Geometry::spherical) noexcept {
    const std::optional<PicturePosition> at = planePosition(p, R, projection, size, geometry);
    if (!at || !(at->col >= -0.5 && at->col < size.width - 0.5 && at->row >= -0.5 &&
                 at->row < size.height - 0.5)) {
        return std::nullopt;
    }
    return at;
}

}  // namespace vantu
