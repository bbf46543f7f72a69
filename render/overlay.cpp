// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/overlay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "geometry/projection.h"

namespace vantu {
namespace {

constexpr double straying = 0.1;       // how far a chord may stray from its curve, in output pixels
constexpr double longestChord = 64.0;  // output pixels
constexpr int initialSteps = 256;      // chords of a whole circle before refinement
constexpr int deepest = 40;            // halvings of a first chord, at most

// A unit vector perpendicular to the unit vector `n`.
Vec3 perpendicular(const Vec3& n) noexcept {
    const Vec3 axis = std::abs(n.x) < 0.6 ? Vec3{1.0, 0.0, 0.0} : Vec3{0.0, 1.0, 0.0};
    return unit(cross(n, axis));
}

}  // namespace

GeodesicCurve geodesicOf(const Vec3& normal, Geometry geometry) noexcept {
    switch (geometry) {
        case Geometry::hyperbolic: {
            // u = (0, 0, 1) + (Nz / <N, N>) N is orthogonal to N under the form, and inside the
            // light cone: <u, u> = -(1 + Nz^2 / <N, N>).
            const Vec3 u =
                Vec3{0.0, 0.0, 1.0} + (normal.z / hyperbolicForm(normal, normal)) * normal;
            const Vec3 c = cross(normal, u);
            const Vec3 w{c.x, c.y, -c.z};
            return {(1.0 / std::sqrt(-hyperbolicForm(u, u))) * u,
                    (1.0 / std::sqrt(hyperbolicForm(w, w))) * w, -0.25 * std::numbers::pi,
                    0.25 * std::numbers::pi};
        }
        case Geometry::euclidean: {
            const double k = 1.0 / std::hypot(normal.x, normal.y);
            const double a = k * normal.x;
            const double b = k * normal.y;
            const double c = k * normal.z;
            return {{-c * a, -c * b, 1.0},
                    {-b, a, 0.0},
                    -0.5 * std::numbers::pi,
                    0.5 * std::numbers::pi};
        }
        case Geometry::spherical:
            break;
    }
    const Vec3 n = unit(normal);
    const Vec3 u = perpendicular(n);
    return {u, cross(n, u), 0.0, 2.0 * std::numbers::pi};
}

double geodesicTangent(const GeodesicCurve& curve, const Vec3& p, Geometry geometry) noexcept {
    if (geometry == Geometry::hyperbolic) {
        return hyperbolicForm(p, curve.w) / -hyperbolicForm(p, curve.u);
    }
    const Vec3 along = p - p.z * curve.u;
    return (along.x * curve.w.x + along.y * curve.w.y) / p.z;
}

std::optional<Vec3> nearestMirrorPoint(const Vec3& normal, Geometry geometry) noexcept {
    if (geometry == Geometry::spherical) {
        // The centre's own point less its part along the normal.
        const Vec3 nearest = Vec3{0.0, 0.0, 1.0} - normal.z * normal;
        if (!(length(nearest) > 0.0)) {
            return std::nullopt;
        }
        return unit(nearest);
    }
    return geodesicOf(normal, geometry).u;
}

Overlay::Overlay(const OverlayFrame& frame)
    : m_frame(frame),
      m_grid(frame.size, Sampling{frame.ratio}),
      m_lines(m_grid.width(), m_grid.height()) {}

std::optional<OutputPoint> Overlay::planePoint(const Vec3& p) const noexcept {
    const std::optional<PicturePosition> at =
        planePosition(p, m_frame.scale, m_frame.projection, m_frame.size, m_frame.geometry);
    if (!at || !std::isfinite(at->col) || !std::isfinite(at->row)) {
        return std::nullopt;
    }
    return OutputPoint{m_grid.outputCoordinate(at->col), m_grid.outputCoordinate(at->row)};
}

std::optional<OutputPoint> Overlay::outputPoint(const Vec3& p) const noexcept {
    if (!picturePosition(p, m_frame.scale, m_frame.projection, m_frame.size, m_frame.geometry)) {
        return std::nullopt;
    }
    return planePoint(p);
}

int Overlay::addLayer(const Stroke& stroke) {
    return m_lines.addLayer({stroke.colour, stroke.opacity, 0.5 * stroke.width * m_frame.ratio});
}

void Overlay::refine(const Vec3& u, const Vec3& w, double ta, std::optional<OutputPoint> pa,
                     double tb, std::optional<OutputPoint> pb, int depth, int layer) {
    if (!pa && !pb) {
        return;  // the whole chord on the side the projection hides
    }
    const double tm = 0.5 * (ta + tb);
    const std::optional<OutputPoint> pm = planePoint(std::cos(tm) * u + std::sin(tm) * w);
    if (pa && pb && pm) {
        // Beyond one edge of the picture, all three points: nothing of it is seen.
        const double margin = m_lines.pen(layer).halfWidth + 2.0;
        const auto beyond = [&](auto side) { return side(*pa) && side(*pm) && side(*pb); };
        if (beyond([&](OutputPoint p) { return p.x < -margin; }) ||
            beyond([&](OutputPoint p) { return p.x > width() - 1 + margin; }) ||
            beyond([&](OutputPoint p) { return p.y < -margin; }) ||
            beyond([&](OutputPoint p) { return p.y > height() - 1 + margin; })) {
            return;
        }
        // Squared lengths, in plain IEEE operations that every platform rounds alike, as the C
        // library's hypot need not; and this is the hottest test of a walk over many mirrors.
        const double sx = pm->x - 0.5 * (pa->x + pb->x);
        const double sy = pm->y - 0.5 * (pa->y + pb->y);
        const double cx = pb->x - pa->x;
        const double cy = pb->y - pa->y;
        if ((sx * sx + sy * sy <= straying * straying &&
             cx * cx + cy * cy <= longestChord * longestChord) ||
            depth >= deepest) {
            m_lines.addSegment(*pa, *pb, layer);
            return;
        }
    } else if (depth >= deepest) {
        return;  // the edge of what the projection shows, found closely enough
    }
    refine(u, w, ta, pa, tm, pm, depth + 1, layer);
    refine(u, w, tm, pm, tb, pb, depth + 1, layer);
}

void Overlay::addCurve(const Vec3& u, const Vec3& w, double begin, double end, int layer,
                       int fewestSteps) {
    const double span = end - begin;
    const int steps =
        fewestSteps > 0
            ? fewestSteps
            : std::max(4,
                       static_cast<int>(std::ceil(span / (2.0 * std::numbers::pi) * initialSteps)));
    const auto pointAt = [&](int i) {
        return begin == 0.0 ? i * end / steps : begin + i * span / steps;
    };
    std::optional<OutputPoint> previous =
        planePoint(begin == 0.0 ? u : std::cos(begin) * u + std::sin(begin) * w);
    for (int i = 1; i <= steps; ++i) {
        const double t = pointAt(i);
        const std::optional<OutputPoint> next = planePoint(std::cos(t) * u + std::sin(t) * w);
        refine(u, w, pointAt(i - 1), previous, t, next, 0, layer);
        previous = next;
    }
}

void Overlay::addGreatCircle(const Vec3& normal, const Stroke& stroke) {
    const Vec3 n = unit(normal);
    const Vec3 u = perpendicular(n);
    addCurve(u, cross(n, u), 0.0, 2.0 * std::numbers::pi, addLayer(stroke));
}

void Overlay::addMirror(const Vec3& normal, const Stroke& stroke) {
    if (m_frame.geometry == Geometry::spherical) {
        addGreatCircle(normal, stroke);
        return;
    }
    const GeodesicCurve curve = geodesicOf(normal, m_frame.geometry);
    addCurve(curve.u, curve.w, curve.begin, curve.end, addLayer(stroke));
}

void Overlay::addCurveParts(std::span<const CurvePart> parts, const Stroke& stroke) {
    const int layer = addLayer(stroke);
    const bool circles = geodesicsAreCircles(m_frame.projection, m_frame.geometry);
    for (const CurvePart& part : parts) {
        // A part of a geodesic bends through less than a half turn in every model, so that the
        // middle of any piece of it strays farthest from its chord: one chord to start with,
        // refined where it strays, however long its stretch of t. Where the picture's geodesics
        // are circles, three points of the part give its arc, and the arc its chords, without
        // refining; a line, or an arc addCircleArc does not take, is refined from its ends.
        const GeodesicCurve& c = part.curve;
        if (circles) {
            const double middle = 0.5 * (part.begin + part.end);
            const std::optional<OutputPoint> a =
                planePoint(std::cos(part.begin) * c.u + std::sin(part.begin) * c.w);
            const std::optional<OutputPoint> m =
                planePoint(std::cos(middle) * c.u + std::sin(middle) * c.w);
            const std::optional<OutputPoint> b =
                planePoint(std::cos(part.end) * c.u + std::sin(part.end) * c.w);
            if (!(a && m && b && addCircleArc(*a, *m, *b, layer))) {
                refine(c.u, c.w, part.begin, a, part.end, b, 0, layer);
            }
            continue;
        }
        addCurve(c.u, c.w, part.begin, part.end, layer, 1);
    }
}

bool Overlay::addCircleArc(OutputPoint a, OutputPoint m, OutputPoint b, int layer) {
    // The centre: a + (ux, uy), equally far from the three points.
    const double px = m.x - a.x;
    const double py = m.y - a.y;
    const double qx = b.x - a.x;
    const double qy = b.y - a.y;
    const double d = 2.0 * (px * qy - py * qx);
    const double p2 = px * px + py * py;
    const double q2 = qx * qx + qy * qy;
    if (!(d != 0.0)) {
        return false;
    }
    const double ux = (qy * p2 - py * q2) / d;
    const double uy = (px * q2 - qx * p2) / d;
    const double r2 = ux * ux + uy * uy;
    const double r = std::sqrt(r2);
    // Beyond this radius the centre is found too loosely for the chords to keep to the arc:
    // nearly straight, the curve is refined as any other.
    constexpr double largestRadius = 1e6;  // output pixels
    if (!(r > 0.0 && r < largestRadius)) {
        return false;
    }
    const OutputPoint centre{a.x + ux, a.y + uy};

    // Each half of the arc as pieces turning through equal angles, halved until each chord strays
    // less than `straying` and is no longer than longestChord: the cosine and sine of a piece's
    // angle by the half-angle formulas, in plain IEEE operations.
    struct Half {
        OutputPoint from;
        OutputPoint to;
        double cosine;
        double sine;
        int pieces;
    };
    std::array<Half, 2> halves{{{a, m, 0.0, 0.0, 1}, {m, b, 0.0, 0.0, 1}}};
    constexpr int mostPieces = 256;
    for (Half& h : halves) {
        const double fx = h.from.x - centre.x;
        const double fy = h.from.y - centre.y;
        const double tx = h.to.x - centre.x;
        const double ty = h.to.y - centre.y;
        h.cosine = (fx * tx + fy * ty) / r2;
        h.sine = (fx * ty - fy * tx) / r2;
        if (!(h.cosine > -0.5)) {
            return false;
        }
        for (;;) {
            // The piece's half angle: its chord is 2 r sin, its straying r (1 - cos).
            const double halfCosine = std::sqrt(0.5 * (1.0 + h.cosine));
            const double halfSine = 0.5 * h.sine / halfCosine;
            const double strays = r * (halfSine * halfSine) / (1.0 + halfCosine);
            const double chord = 2.0 * r * std::abs(halfSine);
            if (strays <= straying && chord <= longestChord) {
                break;
            }
            if (h.pieces >= mostPieces) {
                return false;
            }
            h.cosine = halfCosine;
            h.sine = halfSine;
            h.pieces *= 2;
        }
    }
    for (const Half& h : halves) {
        OutputPoint previous = h.from;
        double vx = h.from.x - centre.x;
        double vy = h.from.y - centre.y;
        for (int i = 1; i < h.pieces; ++i) {
            const double x = h.cosine * vx - h.sine * vy;
            vy = h.sine * vx + h.cosine * vy;
            vx = x;
            const OutputPoint next{centre.x + vx, centre.y + vy};
            m_lines.addSegment(previous, next, layer);
            previous = next;
        }
        m_lines.addSegment(previous, h.to, layer);
    }
    return true;
}

void Overlay::addSegment(const Vec3& from, const Vec3& to, const Stroke& stroke) {
    if (m_frame.geometry == Geometry::spherical) {
        addArc(from, to, stroke);
        return;
    }
    // Every point between two points of a plane is cos(t) from + sin(t) to for some t in
    // [0, pi/2], a positive multiple of it.
    addCurve(from, to, 0.0, 0.5 * std::numbers::pi, addLayer(stroke));
}

void Overlay::addArc(const Vec3& from, const Vec3& to, const Stroke& stroke) {
    const Vec3 u = unit(from);
    const Vec3 v = unit(to);
    const Vec3 normal = cross(u, v);
    const double sine = length(normal);
    if (!(sine > 0.0)) {
        return;
    }
    addCurve(u, unit(cross(normal, u)), 0.0, std::atan2(sine, dot(u, v)), addLayer(stroke));
}

void Overlay::addRing(const Vec3& point, double radius, const Stroke& stroke) {
    const std::optional<OutputPoint> centre = outputPoint(point);
    if (!centre) {
        return;
    }
    const int layer = addLayer(stroke);
    const double r = radius * m_frame.ratio;
    // Chords of about two output pixels stray r (1 - cos(1 / r)), about 1 / (2 r), from it.
    const int steps = std::max(16, static_cast<int>(std::ceil(std::numbers::pi * r)));
    const auto at = [&](int i) {
        const double t = 2.0 * std::numbers::pi * i / steps;
        return OutputPoint{centre->x + r * std::cos(t), centre->y + r * std::sin(t)};
    };
    for (int i = 0; i < steps; ++i) {
        m_lines.addSegment(at(i), at(i + 1), layer);
    }
}

}  // namespace vantu
