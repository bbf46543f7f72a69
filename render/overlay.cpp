// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/overlay.h"

#include <algorithm>
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

Overlay::Overlay(const OverlayFrame& frame)
    : m_frame(frame),
      m_grid(frame.size, Sampling{frame.ratio}),
      m_lines(m_grid.width(), m_grid.height()) {}

std::optional<OutputPoint> Overlay::planePoint(const Vec3& p) const noexcept {
    const std::optional<PicturePosition> at =
        planePosition(p, m_frame.scale, m_frame.projection, m_frame.size);
    if (!at || !std::isfinite(at->col) || !std::isfinite(at->row)) {
        return std::nullopt;
    }
    return OutputPoint{m_grid.outputCoordinate(at->col), m_grid.outputCoordinate(at->row)};
}

std::optional<OutputPoint> Overlay::outputPoint(const Vec3& p) const noexcept {
    if (!picturePosition(p, m_frame.scale, m_frame.projection, m_frame.size)) {
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
        const double strays =
            std::hypot(pm->x - 0.5 * (pa->x + pb->x), pm->y - 0.5 * (pa->y + pb->y));
        const double chord = std::hypot(pb->x - pa->x, pb->y - pa->y);
        if ((strays <= straying && chord <= longestChord) || depth >= deepest) {
            m_lines.addSegment(*pa, *pb, layer);
            return;
        }
    } else if (depth >= deepest) {
        return;  // the edge of what the projection shows, found closely enough
    }
    refine(u, w, ta, pa, tm, pm, depth + 1, layer);
    refine(u, w, tm, pm, tb, pb, depth + 1, layer);
}

void Overlay::addCurve(const Vec3& u, const Vec3& w, double end, const Stroke& stroke) {
    const int layer = addLayer(stroke);
    const int steps =
        std::max(4, static_cast<int>(std::ceil(end / (2.0 * std::numbers::pi) * initialSteps)));
    const auto pointAt = [&](int i) { return i * end / steps; };
    std::optional<OutputPoint> previous = planePoint(u);
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
    addCurve(u, cross(n, u), 2.0 * std::numbers::pi, stroke);
}

void Overlay::addArc(const Vec3& from, const Vec3& to, const Stroke& stroke) {
    const Vec3 u = unit(from);
    const Vec3 v = unit(to);
    const Vec3 normal = cross(u, v);
    const double sine = length(normal);
    if (!(sine > 0.0)) {
        return;
    }
    addCurve(u, unit(cross(normal, u)), std::atan2(sine, dot(u, v)), stroke);
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
