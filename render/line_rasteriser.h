// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Antialiased lines in a picture's own pixels: straight segments, each painted with the pen of
// its layer, blended into the rows of a finished picture. Knows nothing of the sphere or of
// projections: render/overlay.h turns curves into its segments.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/raster.h"

namespace vantu {

// A place in output pixels: output pixel (i, j) is centred on (i, j).
struct OutputPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const OutputPoint&, const OutputPoint&) = default;
};

// How the lines of one layer look, in output pixels.
struct Pen {
    PackedColour colour = 0;  // packed as the picture's colours
    double opacity = 1.0;     // 0 (not seen) to 1 (covers what lies beneath)
    double halfWidth = 0.5;   // half the line's width
};

// The segments over one picture of width x height output pixels, in layers painted in the order
// they are added (the last on top). A pixel whose centre lies within halfWidth + 0.5 of a layer's
// segment is covered by the layer by a share c = min(1, halfWidth + 0.5 - distance), the largest
// over the layer's segments, and gets round(a * pen + (1 - a) * pixel) in each channel,
// a = c * opacity; a pixel no segment reaches keeps its colour exactly. Painting is const: any
// number of threads may paint different rows at once.
class LineRasteriser {
public:
    // Both sizes at least 1.
    LineRasteriser(int width, int height);

    [[nodiscard]] int width() const noexcept { return m_width; }
    [[nodiscard]] int height() const noexcept { return m_height; }
    // Whether no segment reaches the picture.
    [[nodiscard]] bool empty() const noexcept { return m_segments.empty(); }

    // A new layer on top of the others, painted with `look` (its opacity clamped to 0 to 1);
    // returns its number.
    int addLayer(const Pen& look);
    // The pen of layer `layer`, as it paints.
    [[nodiscard]] const Pen& pen(int layer) const {
        return m_pens[static_cast<std::size_t>(layer)];
    }
    // The segment from a to b in layer `layer`, clipped to the picture and the reach of its pen;
    // nothing where none of it is within reach.
    void addSegment(OutputPoint a, OutputPoint b, int layer);

    // Paints output row `row` (0 to height() - 1), whose pixels colours[0] to colours[width() - 1]
    // hold the picture. Throws std::out_of_range for a row outside the picture or a span shorter
    // than a row. Allocates nothing.
    void paintRow(int row, std::span<PackedColour> colours) const;

    // Paints the whole picture, height() rows of width() pixels one after another. Throws
    // std::out_of_range for a span shorter than that.
    void paint(std::span<PackedColour> pixels) const;

private:
    struct Segment {
        double x0, y0, x1, y1;        // in output pixels, clipped to the picture and a margin
        double dx, dy;                // x1 - x0, y1 - y0
        double inverseDy;             // 1 / dy, or 0 for a level segment
        double inverseLengthSquared;  // 1 / (dx^2 + dy^2), or 0 for a point
        int layer;
        int firstColumn, lastColumn;  // no column outside these is within reach of its pen
    };

    int m_width;
    int m_height;
    std::vector<Pen> m_pens;
    std::vector<Segment> m_segments;
    // For each output row, the segments (their places in m_segments) that may reach it, in the
    // order they were added: a row looks at no other.
    std::vector<std::vector<std::uint32_t>> m_rows;
};

}  // namespace vantu
