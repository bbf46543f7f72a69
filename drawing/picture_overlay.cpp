// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/picture_overlay.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "drawing/plane_mirrors.h"
#include "geometry/view.h"
#include "setup/triangle_facts.h"
#include "setup/triangle_notation.h"

namespace vantu {
namespace {

// `points` turned by `view` as the normals are, three at a time.
void turnPoints(std::span<Vec3> points, const View& view, double pi) {
    for (std::size_t first = 0; first < points.size(); first += 3) {
        Mirrors three{};
        const std::size_t count = std::min<std::size_t>(3, points.size() - first);
        for (std::size_t k = 0; k < count; ++k) {
            three[k] = points[first + k];
        }
        three = turned(three, view, pi);
        for (std::size_t k = 0; k < count; ++k) {
            points[first + k] = three[k];
        }
    }
}

}  // namespace

OverlayFrame overlayFrame(const PictureDescription& description, Geometry geometry) noexcept {
    return {description.request.scale, description.request.projection, description.size,
            description.sampling.ratio, geometry};
}

bool samePoint(const GeneratingPoint& a, const GeneratingPoint& b) noexcept {
    if (a.kind != b.kind) {
        return false;
    }
    switch (a.kind) {
        case PointKind::incentre:
            return true;
        case PointKind::given:
            return a.direction == b.direction;
        case PointKind::vertex:
        case PointKind::side:
        case PointKind::snub:
            break;
    }
    return a.index == b.index;
}

void addSnubRings(Overlay& overlay, std::span<const SnubPoint> points, const RingStyle& style) {
    // A plane has no antipodes.
    const bool sphere = overlay.frame().geometry == Geometry::spherical;
    for (const Stroke& stroke : {style.border, style.ink}) {
        for (const SnubPoint& s : points) {
            overlay.addRing(s.point, style.radius, stroke);
            if (sphere) {
                overlay.addRing(-s.point, style.radius, stroke);
            }
        }
    }
}

TriangleMarks triangleMarks(const DrawRequest& request, const DrawSetup& plain,
                            const OverlayOptions& options) {
    TriangleMarks marks;
    if (options.polyhedron) {
        const WythoffTriangle triangle = wythoffTriangle(request);
        marks.polyhedron = buildPolyhedron(triangle, options.generatingPoint);
    }
    // A plane's triangle is drawn only from the usual notation, and proper as drawn.
    const bool sphere = plain.geometry == Geometry::spherical;
    if ((!options.groupMirrors && !options.snubPoints) ||
        (sphere ? sphericalDefect(request.triangleCode, request.notation)
                : triangleDefect(request.triangleCode, request.notation))) {
        return marks;
    }
    if (options.groupMirrors) {
        marks.group = triangleGroup(exactFractions(request.triangleCode, request.notation));
    }
    if (options.snubPoints) {
        marks.snubPoints = snubPointsOf(plain);
    }
    return marks;
}

PictureOverlay pictureOverlay(const PictureDescription& description, const DrawSetup& setup,
                              const OverlayOptions& options, const TriangleMarks& marks,
                              const OverlayStyle& style) {
    PictureOverlay result{Overlay(overlayFrame(description, setup.geometry)), {}, {}, -1, {}, {}};
    const Mirrors& n = setup.normals;
    Overlay& overlay = result.overlay;

    const std::array<Vec3, 3> vertices = triangleVertices(n, setup.geometry);
    for (std::size_t i = 0; i < 3; ++i) {
        result.anchors.vertices[i] = overlay.outputPoint(vertices[i]);
        // The point of the mirror nearest (0, 0, 1), the centre of the view.
        if (const std::optional<Vec3> nearest = nearestMirrorPoint(n[i], setup.geometry)) {
            result.anchors.mirrors[i] = overlay.outputPoint(*nearest);
        }
    }

    // A group decided none has no lines, and no search for them.
    if (options.groupMirrors && marks.group.kind != GroupKind::none) {
        if (setup.geometry == Geometry::spherical) {
            result.group = withMirrors(marks.group, n);
            for (const Vec3& mirror : result.group.mirrors) {
                overlay.addGreatCircle(mirror, style.groupMirror);
            }
        } else if (marks.group.kind != GroupKind::undecided) {
            // Infinitely many: the parts of them the picture shows, not listed.
            result.group = marks.group;
            overlay.addCurveParts(
                planeGroupMirrors(n, setup.geometry, marks.group.cover == 2, overlay),
                style.groupMirror);
        }
    }
    if (options.triangle) {
        for (std::size_t i = 0; i < 3; ++i) {
            overlay.addSegment(vertices[(i + 1) % 3], vertices[(i + 2) % 3], style.triangle);
        }
    }
    if (options.mirrors) {
        for (std::size_t i = 0; i < 3; ++i) {
            overlay.addMirror(n[i], style.mirrorCasing);
            overlay.addMirror(n[i], style.mirrors[i]);
        }
    }
    if (options.polyhedron) {
        std::vector<Vec3>& corners = result.polyhedronVertices;
        corners = marks.polyhedron.vertices;
        turnPoints(corners, description.view, setup.pi);
        for (const Stroke* stroke : {&style.edgeCasing, &style.edge}) {
            for (const auto& [a, b] : marks.polyhedron.edges) {
                overlay.addArc(corners[static_cast<std::size_t>(a)],
                               corners[static_cast<std::size_t>(b)], *stroke);
            }
        }
    }
    if (options.snubPoints) {
        // Found as --snub finds them, before the view, so that they keep its numbers, then
        // turned where the view puts them, three at a time as the normals are turned.
        result.snubPoints = marks.snubPoints;
        std::vector<SnubPoint> shown = result.snubPoints;
        for (std::size_t first = 0; setup.geometry == Geometry::spherical && first < shown.size();
             first += 3) {
            Mirrors three{};
            for (std::size_t k = first; k < first + 3 && k < shown.size(); ++k) {
                three[k - first] = shown[k].point;
            }
            three = turned(three, description.view, setup.pi);
            for (std::size_t k = first; k < first + 3 && k < shown.size(); ++k) {
                shown[k].point = three[k - first];
            }
        }
        // In a plane, where the view moves each point: the motion keeps its products with the
        // normals.
        for (SnubPoint& s : shown) {
            if (setup.geometry != Geometry::spherical) {
                s.point = pointOfMeasures(n, s.dots, setup.geometry);
            }
        }
        addSnubRings(overlay, shown, style.ring);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const SnubPoint& s = shown[i];
            const std::optional<OutputPoint> at = overlay.outputPoint(s.point);
            result.anchors.snubPoints.push_back(
                at || setup.geometry != Geometry::spherical ? at : overlay.outputPoint(-s.point));
            if (result.generatingPoint < 0 && s.dots[0] > 0.0 && s.dots[1] > 0.0 &&
                s.dots[2] > 0.0) {
                result.generatingPoint = static_cast<int>(i);
            }
        }
    }
    return result;
}

}  // namespace vantu
