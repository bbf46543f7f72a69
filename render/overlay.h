// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Lines and marks over a finished picture: arcs of great circles projected through the picture's
// own projection, and rings around points, turned into straight segments in the picture's output
// pixels and painted by the antialiased line rasteriser (render/line_rasteriser.h). A pixel that
// no line reaches keeps its colour exactly.

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
// pixels and output pixels per window pixel (the sampling's ratio).
struct OverlayFrame {
    double scale = 120.0;
    Projection projection = Projection::stereographic;
    PictureSize size;
    double ratio = 1.0;
};

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

    // Where the picture shows the unit vector `p`, in output pixels; nothing where
    // picturePosition gives nothing.
    [[nodiscard]] std::optional<OutputPoint> outputPoint(const Vec3& p) const noexcept;

    // The great circle of the plane through the centre with the normal `normal`.
    void addGreatCircle(const Vec3& normal, const Stroke& stroke);
    // The shorter arc of the great circle from the unit vector `from` to `to`; nothing for two
    // points equal or opposite.
    void addArc(const Vec3& from, const Vec3& to, const Stroke& stroke);
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
    void addCurve(const Vec3& u, const Vec3& w, double end, const Stroke& stroke);
    int addLayer(const Stroke& stroke);
    [[nodiscard]] std::optional<OutputPoint> planePoint(const Vec3& p) const noexcept;
    void refine(const Vec3& u, const Vec3& w, double ta, std::optional<OutputPoint> pa, double tb,
                std::optional<OutputPoint> pb, int depth, int layer);

    OverlayFrame m_frame;
    SampleGrid m_grid;
    LineRasteriser m_lines;
};

}  // namespace vantu
