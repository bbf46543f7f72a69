// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/navigation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace vantu::explorer {
namespace {

// The nearest hundredth: the double nearest k / 100, whose shortest text is that decimal; 0
// rather than -0, which would write the view as "-0".
double hundredths(double degrees) noexcept {
    return std::round(degrees * 100.0) / 100.0 + 0.0;
}

// `degrees` at the nearest hundredth, held within the boxes of `geometry`'s plane; 0 for an
// angle that is not finite.
double heldMove(double degrees, Geometry geometry) noexcept {
    if (!std::isfinite(degrees)) {
        return 0.0;
    }
    const double limit = planeMoveLimit(geometry);
    return std::clamp(hundredths(degrees), -limit, limit);
}

}  // namespace

double planeMoveLimit(Geometry geometry) noexcept {
    switch (geometry) {
        case Geometry::hyperbolic:
            return hyperbolicMoveLimit;
        case Geometry::euclidean:
            return euclideanMoveLimit;
        case Geometry::spherical:
            break;
    }
    return 180.0;
}

double wrappedAngle(double degrees) noexcept {
    if (!std::isfinite(degrees)) {
        return 0.0;
    }
    double angle = hundredths(std::fmod(degrees, 360.0));
    if (angle > 180.0) {
        angle = hundredths(angle - 360.0);
    } else if (angle <= -180.0) {
        angle = hundredths(angle + 360.0);
    }
    return angle;
}

double clampedLatitude(double degrees) noexcept {
    if (!std::isfinite(degrees)) {
        return 0.0;
    }
    return std::clamp(hundredths(degrees), -90.0, 90.0);
}

View boxedView(const View& view) noexcept {
    // Both steps are exact: fmod is, and so is adding or taking 360 from a remainder beyond 180.
    const auto withinHalfTurn = [](double degrees) {
        if (!std::isfinite(degrees)) {
            return 0.0;
        }
        const double r = reducedDegrees(degrees);
        return r > 180.0 ? r - 360.0 : r < -180.0 ? r + 360.0 : r;
    };
    View boxed{withinHalfTurn(view.lon), withinHalfTurn(view.lat), withinHalfTurn(view.roll)};
    if (std::abs(boxed.lat) > 90.0) {
        boxed.lat = std::copysign(180.0, boxed.lat) - boxed.lat;
        boxed.lon = withinHalfTurn(boxed.lon + 180.0);
        boxed.roll = withinHalfTurn(boxed.roll + 180.0);
    }
    return boxed;
}

View heldView(const View& view, Geometry geometry) noexcept {
    if (geometry == Geometry::spherical) {
        return boxedView(view);
    }
    const double limit = planeMoveLimit(geometry);
    const auto held = [limit](double degrees) {
        return std::isfinite(degrees) ? std::clamp(degrees, -limit, limit) : 0.0;
    };
    return {held(view.lon), held(view.lat), boxedView(View{0.0, 0.0, view.roll}).roll};
}

View turnedBy(const View& view, double lon, double lat, double roll) noexcept {
    return {wrappedAngle(view.lon + lon), clampedLatitude(view.lat + lat),
            wrappedAngle(view.roll + roll)};
}

View dragged(const View& start, double dx, double dy, double height) noexcept {
    const double perPixel = dragDegreesPerHeight / std::max(height, 1.0);
    return turnedBy(start, dx * perPixel, dy * perPixel, 0.0);
}

std::optional<View> grabbedView(const View& start, const Vec3& grabbed, const Vec3& shown,
                                double pi, Geometry geometry) noexcept {
    // Where `shown` lies before the roll: only the moves are solved for.
    const Vec3 q = movedBack(shown, View{0.0, 0.0, start.roll}, pi, geometry);
    double t1 = 0.0;
    double t2 = 0.0;
    if (geometry == Geometry::hyperbolic) {
        // `grabbed` as it is, on the sheet already: far from the centre the form of its large
        // coordinates is lost to rounding. `shown`, near the centre, is brought onto it.
        const double form = (q.z * q.z) - ((q.y * q.y) + (q.x * q.x));
        // A point of the sheet lies inside the light cone, z > sqrt(x^2 + y^2), to rounding.
        const double across = std::hypot(grabbed.x, grabbed.y);
        if (!(form > 0.0) || !std::isfinite(form) || !std::isfinite(grabbed.z) ||
            !std::isfinite(across) || !(grabbed.z * (1.0 + 1e-9) > across)) {
            return std::nullopt;
        }
        const double k = std::copysign(1.0 / std::sqrt(form), q.z);
        const Vec3 s{q.x * k, q.y * k, q.z * k};
        const Vec3& g = grabbed;
        // The move along the horizontal line keeps y: x = (ch1 gx) + (sh1 gz) = rho sinh(t1 + phi)
        // with rho = sqrt(1 + gy^2) and sinh phi = gx / rho; it takes x to sx.
        const double rho = std::sqrt(1.0 + (g.y * g.y));
        t1 = std::asinh(s.x / rho) - std::asinh(g.x / rho);
        // Then (y, z) = r (sinh a, cosh a) with r = sqrt(1 + sx^2), and the vertical move
        // lowers a by t2.
        const double r = std::sqrt(1.0 + (s.x * s.x));
        t2 = std::asinh(g.y / r) - std::asinh(s.y / r);
    } else if (geometry == Geometry::euclidean) {
        if (grabbed.z == 0.0 || q.z == 0.0) {
            return std::nullopt;
        }
        // The moves take x to x + t1, then y to y - t2.
        t1 = (q.x / q.z) - (grabbed.x / grabbed.z);
        t2 = (grabbed.y / grabbed.z) - (q.y / q.z);
    } else {
        return std::nullopt;
    }
    const double lon = t1 * 180.0 / pi;
    const double lat = t2 * 180.0 / pi;
    if (!std::isfinite(lon) || !std::isfinite(lat)) {
        return std::nullopt;
    }
    return View{heldMove(lon, geometry), heldMove(lat, geometry), start.roll};
}

View movedBy(const View& view, double lon, double lat, double roll, Geometry geometry) noexcept {
    if (geometry == Geometry::spherical) {
        return turnedBy(view, lon, lat, roll);
    }
    return {heldMove(view.lon + lon, geometry), heldMove(view.lat + lat, geometry),
            wrappedAngle(view.roll + roll)};
}

double sweptAngle(double fromX, double fromY, double toX, double toY) noexcept {
    if ((fromX == 0.0 && fromY == 0.0) || (toX == 0.0 && toY == 0.0)) {
        return 0.0;
    }
    // y up, so that counter-clockwise is positive.
    const double radians = std::atan2(-toY, toX) - std::atan2(-fromY, fromX);
    return wrappedAngle(radians * 180.0 / std::numbers::pi);
}

double zoomed(double scale, double factor) noexcept {
    if (scale == 0.0 || !std::isfinite(scale)) {
        return scale;
    }
    const double product = scale * factor;
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, product, std::chars_format::general, 6);
    double rounded = product;
    std::from_chars(text, written.ptr, rounded);
    // The bounds widen to take in an R typed beyond them, which zooming then leaves as it is.
    const double size = std::abs(scale);
    const double held = std::clamp(std::abs(rounded), std::min(size, smallestZoomedScale),
                                   std::max(size, largestZoomedScale));
    return std::copysign(held, scale);
}

}  // namespace vantu::explorer
