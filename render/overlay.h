// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Lines and marks over a finished picture: arcs of great circles, or in the planes geodesics,
// projected through the picture's own projection or model, and rings around points, turned into
// straight segments in the picture's output pixels and painted by the antialiased line rasteriser
// (render/line_rasteriser.h). A pixel that no line reaches keeps its colour exactly.

#include <optional>
#include <span>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"
#include "render/line_rasteriser.h"
#include "render/sample_grid.h"

namespace vantu {

// How one line of an overlay looks.
struct Stroke {
    PackedColour colour = 0;  // packed as the picture's colours
    double width = 1.0;       // in window pixels
    double opacity = 1.0;     // 0 (not seen) to 1 (covers what lies beneath)
};

// The picture an overlay lies over: its scale R in window pixels, projection, size in window
// pixels, output pixels per window pixel (the sampling's ratio) and the geometry it shows, whose
// points and mirrors the overlay takes in the geometry's own terms (geometry/geometry.h).
struct OverlayFrame {
    double scale = 120.0;
    Projection projection = Projection::stereographic;
    PictureSize size;
    double ratio = 1.0;
    Geometry geometry = Geometry::spherical;
};

// A geodesic of a geometry as a curve of homogeneous points cos(t) u + sin(t) w for t from
// `begin` to `end`: a great circle on the sphere (0 to 2 pi); in the hyperbolic plane, with u
// the point of the mirror nearest the centre of the view (<u, u> = -1) and w along it
// (<w, w> = 1), -pi/4 to pi/4, whose ends lie on the edge of the plane; in the Euclidean plane,
// with u the nearest point at z = 1 and w the line's unit direction at z = 0, -pi/2 to pi/2.
struct GeodesicCurve {
    Vec3 u;
    Vec3 w;
    double begin = 0.0;
    double end = 0.0;
};

// The mirror of `normal` in `geometry` as such a curve.
[[nodiscard]] GeodesicCurve geodesicOf(const Vec3& normal, Geometry geometry) noexcept;

// The part of a curve from t = `begin` to `end`.
struct CurvePart {
    GeodesicCurve curve;
    double begin = 0.0;
    double end = 0.0;
};

// Where the curve of geodesicOf passes through the homogeneous point `p` of its plane, a point
// of the mirror: tan(t), which grows with t. The planes only.
[[nodiscard]] double geodesicTangent(const GeodesicCurve& curve, const Vec3& p,
                                     Geometry geometry) noexcept;

// The point of the mirror of `normal` nearest the centre of the view, (0, 0, 1): a unit vector
// on the sphere, on the sheet in the hyperbolic plane, at z = 1 in the Euclidean one; nothing on
// the sphere for a mirror through the centre's axis, where every point is as near.
[[nodiscard]] std::optional<Vec3> nearestMirrorPoint(const Vec3& normal,
                                                     Geometry geometry) noexcept;

// The lines and marks over one picture, added in the order they are painted (the last on top).
// Each curve is projected point by point through planePosition, finely enough that its chords
// stray less than a tenth of an output pixel from it, and its chords clipped to the picture
// become the rasteriser's segments. Painting is const: any number of threads may paint
// different rows at once.
class Overlay {
public:
    // Throws std::invalid_argument for a size or a ratio out of range.
    explicit Overlay(const OverlayFrame& frame);

    [[nodiscard]] const OverlayFrame& frame() const noexcept { return m_frame; }
    // The picture's size in output pixels.
    [[nodiscard]] int width() const noexcept { return m_lines.width(); }
    [[nodiscard]] int height() const noexcept { return m_lines.height(); }
    // Whether nothing has been added that reaches the picture.
    [[nodiscard]] bool empty() const noexcept { return m_lines.empty(); }

    // Where the picture shows the unit vector `p` (a homogeneous point in the planes), in output
    // pixels; nothing where picturePosition gives nothing.
    [[nodiscard]] std::optional<OutputPoint> outputPoint(const Vec3& p) const noexcept;
    // The same on the picture's plane, on the raster or beyond it: nothing only where
    // planePosition gives nothing or a coordinate is not finite.
    [[nodiscard]] std::optional<OutputPoint> planePoint(const Vec3& p) const noexcept;

    // The great circle of the plane through the centre with the normal `normal`.
    void addGreatCircle(const Vec3& normal, const Stroke& stroke);
    // The shorter arc of the great circle from the unit vector `from` to `to`; nothing for two
    // points equal or opposite.
    void addArc(const Vec3& from, const Vec3& to, const Stroke& stroke);
    // The mirror of `normal` in the frame's geometry: addGreatCircle on the sphere, the whole
    // geodesic in the hyperbolic plane (out to the disk's edge, the horizon or off the picture),
    // the whole line in the Euclidean plane.
    void addMirror(const Vec3& normal, const Stroke& stroke);
    // The geodesic segment from `from` to `to`, points of the frame's geometry: addArc on the
    // sphere.
    void addSegment(const Vec3& from, const Vec3& to, const Stroke& stroke);
    // The parts of curves, each from t = `begin` to `end` of its curve, all in one stroke.
    void addCurveParts(std::span<const CurvePart> parts, const Stroke& stroke);
    // A ring of `radius` window pixels around where the picture shows `point`; nothing when the
    // picture does not show it (outputPoint).
    void addRing(const Vec3& point, double radius, const Stroke& stroke);

    // Paints output row `row` (0 to height() - 1), whose pixels colours[0] to colours[width() - 1]
    // hold the picture, and leaves every pixel no line reaches as it is. A pixel a line covers by
    // a share c gets round(a * line + (1 - a) * pixel) in each channel, a = c * opacity. Throws
    // std::out_of_range for a row outside the picture or a span shorter than a row. Allocates
    // nothing.
    void paintRow(int row, std::span<PackedColour> colours) const {
        m_lines.paintRow(row, colours);
    }

    // Paints the whole picture, height() rows of width() pixels one after another. Throws
    // std::out_of_range for a span shorter than that.
    void paint(std::span<PackedColour> pixels) const { m_lines.paint(pixels); }

private:
    // `fewestSteps` chords before refinement, or, for 0, as many as a whole circle's share.
    void addCurve(const Vec3& u, const Vec3& w, double begin, double end, int layer,
                  int fewestSteps = 0);
    int addLayer(const Stroke& stroke);
    // The arc of the circle through a, m and b in output pixels, from a through m to b, as chords
    // that stray and reach as refine allows; false, with nothing added, where the three points
    // lie too near a line for their circle to be found closely, or either half of the arc turns
    // through more than a third of a turn.
    bool addCircleArc(OutputPoint a, OutputPoint m, OutputPoint b, int layer);
    void refine(const Vec3& u, const Vec3& w, double ta, std::optional<OutputPoint> pa, double tb,
                std::optional<OutputPoint> pb, int depth, int layer);

    OverlayFrame m_frame;
    SampleGrid m_grid;
    LineRasteriser m_lines;
};

}  // namespace vantu
