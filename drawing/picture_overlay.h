// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The overlays of a described picture: the triangle's three mirrors, every mirror of its group,
// its outline, rings around its snub points and the edges of a polyhedron it generates, drawn
// over the picture where its view puts them, and where their labels go.

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "drawing/draw_procedure.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/wythoff.h"
#include "render/overlay.h"
#include "setup/mirror_group.h"
#include "snub/snub_points.h"

namespace vantu {

// Which overlays a picture gets. All off, the picture stays exactly as drawn.
struct OverlayOptions {
    bool mirrors =
        false;  // the three mirrors, each a great circle or geodesic in a colour of its own
    // Every mirror of the group, when it is finite or a plane's discrete group (planeGroupMirrors).
    bool groupMirrors = false;
    bool triangle = false;    // the outline of the triangle
    bool snubPoints = false;  // a ring around each snub point and, on the sphere, its antipode
    // The edges of the polyhedron that `generatingPoint` generates (Wythoff's construction on
    // the triangle), each the great arc between the vertices it joins: the polyhedron seen from
    // the centre of the sphere.
    bool polyhedron = false;
    GeneratingPoint generatingPoint{};  // read only with `polyhedron`
    // Whether any overlay is on.
    [[nodiscard]] bool any() const noexcept {
        return mirrors || groupMirrors || triangle || snubPoints || polyhedron;
    }
};

// Whether two generating points name the same point of every triangle.
[[nodiscard]] bool samePoint(const GeneratingPoint& a, const GeneratingPoint& b) noexcept;

// A ring around a point, in window pixels: a band of ink over a wider border.
struct RingStyle {
    double radius = 7.0;
    Stroke border{0xFFFFFF, 4.0, 1.0};  // white, two window pixels either side of the radius
    Stroke ink{0x000000, 2.0, 1.0};     // black, one either side
};

// How the overlays look, painted in this order: the group's mirrors, the triangle's outline
// (beneath the three mirrors, whose lines lie along its sides), the three mirrors, each over a
// dark casing, the polyhedron's edges, all their casings before any of their ink, and the rings
// on top. Widths in window pixels.
struct OverlayStyle {
    Stroke groupMirror{0xFFFFFF, 1.0, 0.75};
    Stroke triangle{0xFFFFFF, 6.0, 1.0};
    Stroke mirrorCasing{0x000000, 4.0, 1.0};
    // Mirrors 1, 2 and 3: orange, pink and azure, none of them a colour of the picture.
    std::array<Stroke, 3> mirrors{{{packColour(255, 140, 0), 2.0, 1.0},
                                   {packColour(255, 90, 200), 2.0, 1.0},
                                   {packColour(0, 140, 255), 2.0, 1.0}}};
    Stroke edgeCasing{0x000000, 3.0, 1.0};
    Stroke edge{packColour(255, 255, 160), 1.5, 1.0};  // a pale yellow
    RingStyle ring;
};

// Adds a ring around each point of `points` and, on the sphere, its antipode, where the picture
// shows them.
void addSnubRings(Overlay& overlay, std::span<const SnubPoint> points, const RingStyle& style = {});

// Where an overlay's labels go, in output pixels; nothing for what the picture does not show.
struct OverlayAnchors {
    std::array<std::optional<OutputPoint>, 3> vertices;  // A, B and C
    // The point of each mirror's great circle nearest the centre of the view.
    std::array<std::optional<OutputPoint>, 3> mirrors;
    // Each snub point in the order of `snubPoints` below, or its antipode when only that is shown.
    std::vector<std::optional<OutputPoint>> snubPoints;
};

// The overlays of one picture.
struct PictureOverlay {
    Overlay overlay;         // painted over the picture's output rows
    OverlayAnchors anchors;  // where the labels go
    // findSnubPoints for the drawing's normals before the view, in the order and with the
    // numbers of --snub, when asked for; the rings and anchors are where the view turns them.
    std::vector<SnubPoint> snubPoints;
    int generatingPoint = -1;  // the snub point inside the triangle (all dots > 0)
    MirrorGroup group;         // of the turned normals, when its mirrors are asked for
    // The polyhedron's vertices where the view turns them, when its edges are asked for.
    std::vector<Vec3> polyhedronVertices;
};

// What the overlays of a triangle need whatever the view: found once for a triangle, it serves
// every view of it.
struct TriangleMarks {
    // The group the triangle's mirrors generate (triangleGroup, its mirrors not listed), when the
    // group's mirrors are asked for; none otherwise, and none when sphericalDefect (triangleDefect
    // in the planes) names a defect, since then the angles bound no triangle of the
    // classification.
    MirrorGroup group;
    // snubPointsOf before the view, in the order and with the numbers of --snub, when the snub
    // points are asked for; none otherwise, and none when sphericalDefect (triangleDefect in the
    // planes) names a defect.
    std::vector<SnubPoint> snubPoints;
    // The polyhedron that the options' generating point gives on the triangle (buildPolyhedron on
    // wythoffTriangle's triangle), before the view, when its edges are asked for; none otherwise.
    Polyhedron polyhedron;
};

// The marks of the triangle of `request` that `options` asks for, from `plain`, prepareDrawing's
// set-up of `request`.
[[nodiscard]] TriangleMarks triangleMarks(const DrawRequest& request, const DrawSetup& plain,
                                          const OverlayOptions& options);

// The overlays `options` asks for over the picture `description` describes, drawn over `setup`,
// prepareDrawing's set-up of its request with the normals turned by its view, looking as `style`
// says, every curve where the view turns it: the mirrors of `marks`' group found from the
// turned normals (groupMirrors; no lines when there are none), the triangle's vertices
// (triangleVertices), the snub points (findSnubPoints before the view, turned as the normals
// are) and the polyhedron's vertices (turned the same way). `marks` are triangleMarks' for the
// description's request and at least these options. Nothing is solved here; PreparedPicture makes
// the overlays of a picture it prepares.
[[nodiscard]] PictureOverlay pictureOverlay(const PictureDescription& description,
                                            const DrawSetup& setup, const OverlayOptions& options,
                                            const TriangleMarks& marks,
                                            const OverlayStyle& style = {});

// The frame of the overlay over `description`'s picture, a picture of `geometry`.
[[nodiscard]] OverlayFrame overlayFrame(const PictureDescription& description,
                                        Geometry geometry) noexcept;

}  // namespace vantu
