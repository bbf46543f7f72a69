// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/line_rasteriser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace vantu {
namespace {

constexpr int chunkPixels = 4096;  // pixels of a row painted at once

// Clips the segment to the rectangle [left, right] x [top, bottom] (Liang and Barsky); false
// when nothing of it lies inside.
bool clip(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
          double bottom) noexcept {
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const std::array<std::array<double, 2>, 4> edges = {{
        {-dx, x0 - left},
        {dx, right - x0},
        {-dy, y0 - top},
        {dy, bottom - y0},
    }};
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q / p;
        if (p < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const double ax = x0;
    const double ay = y0;
    x0 = ax + t0 * dx;
    y0 = ay + t0 * dy;
    x1 = ax + t1 * dx;
    y1 = ay + t1 * dy;
    return true;
}

// The columns from xa to xb (xa <= xb) within `reach` of the part of segment `s` that lies within
// `reach` of row y; false when no part does.
template <class Segment>
bool columnsReached(const Segment& s, double y, double reach, double& xa, double& xb) noexcept {
    double t0 = 0.0;
    double t1 = 1.0;
    if (s.dy != 0.0) {
        const double ta = (y - reach - s.y0) * s.inverseDy;
        const double tb = (y + reach - s.y0) * s.inverseDy;
        t0 = std::max(0.0, std::min(ta, tb));
        t1 = std::min(1.0, std::max(ta, tb));
    } else if (std::abs(s.y0 - y) > reach) {
        return false;
    }
    if (t0 > t1) {
        return false;
    }
    const double a = s.x0 + t0 * s.dx;
    const double b = s.x0 + t1 * s.dx;
    xa = std::min(a, b) - reach;
    xb = std::max(a, b) + reach;
    return true;
}

// The channel of a line at `a` over a pixel's, rounded to nearest (halves up): both are 0 to 255.
int blendChannel(int line, int pixel, double a) noexcept {
    return static_cast<int>(a * line + (1.0 - a) * pixel + 0.5);
}

PackedColour blend(PackedColour line, PackedColour pixel, double a) noexcept {
    return packColour(blendChannel(redOf(line), redOf(pixel), a),
                      blendChannel(greenOf(line), greenOf(pixel), a),
                      blendChannel(blueOf(line), blueOf(pixel), a));
}

}  // namespace

LineRasteriser::LineRasteriser(int width, int height)
    : m_width(width), m_height(height), m_rows(static_cast<std::size_t>(std::max(0, height))) {}

int LineRasteriser::addLayer(const Pen& look) {
    m_pens.push_back({look.colour, std::clamp(look.opacity, 0.0, 1.0), look.halfWidth});
    return static_cast<int>(m_pens.size()) - 1;
}

void LineRasteriser::addSegment(OutputPoint a, OutputPoint b, int layer) {
    const double reach = pen(layer).halfWidth + 1.0;
    Segment s{a.x, a.y, b.x, b.y, 0.0, 0.0, 0.0, 0.0, layer, 0, 0};
    if (!clip(s.x0, s.y0, s.x1, s.y1, -reach, -reach, m_width - 1 + reach, m_height - 1 + reach)) {
        return;
    }
    s.dx = s.x1 - s.x0;
    s.dy = s.y1 - s.y0;
    s.inverseDy = s.dy != 0.0 ? 1.0 / s.dy : 0.0;
    const double lengthSquared = s.dx * s.dx + s.dy * s.dy;
    s.inverseLengthSquared = lengthSquared > 0.0 ? 1.0 / lengthSquared : 0.0;
    s.firstColumn = static_cast<int>(std::floor(std::min(s.x0, s.x1) - reach));
    s.lastColumn = static_cast<int>(std::ceil(std::max(s.x0, s.x1) + reach));
    const double top = std::max(0.0, std::floor(std::min(s.y0, s.y1) - reach));
    const double bottom = std::min(m_height - 1.0, std::ceil(std::max(s.y0, s.y1) + reach));
    if (top > bottom) {
        return;
    }
    // Listed in each row within the pen's reach and half a pixel more, so that no rounding in
    // columnsReached reaches a row it is not listed in.
    const auto index = static_cast<std::uint32_t>(m_segments.size());
    m_segments.push_back(s);
    for (int row = static_cast<int>(top); row <= static_cast<int>(bottom); ++row) {
        m_rows[static_cast<std::size_t>(row)].push_back(index);
    }
}

void LineRasteriser::paintRow(int row, std::span<PackedColour> colours) const {
    if (row < 0 || row >= m_height || colours.size() < static_cast<std::size_t>(m_width)) {
        throw std::out_of_range("no output row " + std::to_string(row) + " of " +
                                std::to_string(m_width) + " pixels in a picture of " +
                                std::to_string(m_height) + " rows");
    }
    const std::vector<std::uint32_t>& segments = m_rows[static_cast<std::size_t>(row)];
    if (segments.empty()) {
        return;
    }
    const double y = row;
    // The columns any segment may reach in this row; the coverage is cleared there alone.
    int reached = m_width;
    int reachedLast = -1;
    for (const std::uint32_t index : segments) {
        const Segment& s = m_segments[index];
        reached = std::min(reached, s.firstColumn);
        reachedLast = std::max(reachedLast, s.lastColumn);
    }
    reached = std::max(reached, 0);
    reachedLast = std::min(reachedLast, m_width - 1);
    std::array<float, chunkPixels> cover;  // cleared below, where it is used
    for (int first = reached / chunkPixels * chunkPixels; first <= reachedLast;
         first += chunkPixels) {
        const int last = std::min(reachedLast, first + chunkPixels - 1);
        std::fill(cover.begin() + std::max(reached, first) - first,
                  cover.begin() + last - first + 1, 0.0F);
        for (std::size_t i = 0; i < segments.size();) {
            const int layer = m_segments[segments[i]].layer;
            const Pen& look = pen(layer);
            const double reach = look.halfWidth + 0.5;
            // The stretches of columns the layer's segments reach, merged where they meet; past
            // the last place, the last stretch grows to hold the rest.
            std::array<std::array<int, 2>, 16> stretches{};
            std::size_t stretchCount = 0;
            for (; i < segments.size() && m_segments[segments[i]].layer == layer; ++i) {
                const Segment& s = m_segments[segments[i]];
                double xa = 0.0;
                double xb = 0.0;
                if (!columnsReached(s, y, reach, xa, xb)) {
                    continue;
                }
                const int from = std::max(first, static_cast<int>(std::floor(xa)));
                const int to = std::min(last, static_cast<int>(std::ceil(xb)));
                const double py = y - s.y0;
                for (int x = from; x <= to; ++x) {
                    // The distance from the pixel's centre to the nearest point of the segment.
                    const double px = x - s.x0;
                    const double t =
                        std::clamp((px * s.dx + py * s.dy) * s.inverseLengthSquared, 0.0, 1.0);
                    const double ex = px - t * s.dx;
                    const double ey = py - t * s.dy;
                    // Without a branch: a pixel beyond reach has c <= 0, which leaves its
                    // coverage as it is.
                    const double c = reach - std::sqrt(ex * ex + ey * ey);
                    float& slot = cover[static_cast<std::size_t>(x - first)];
                    slot = std::max(slot, static_cast<float>(std::clamp(c, 0.0, 1.0)));
                }
                if (from > to) {
                    continue;
                }
                auto& latest = stretches[stretchCount == 0 ? 0 : stretchCount - 1];
                if (stretchCount > 0 && (stretchCount == stretches.size() ||
                                         (from <= latest[1] + 1 && to >= latest[0] - 1))) {
                    latest = {std::min(latest[0], from), std::max(latest[1], to)};
                } else {
                    stretches[stretchCount++] = {from, to};
                }
            }
            // Each column once: its coverage is cleared as it is blended.
            for (std::size_t k = 0; k < stretchCount; ++k) {
                for (int x = stretches[k][0]; x <= stretches[k][1]; ++x) {
                    float& slot = cover[static_cast<std::size_t>(x - first)];
                    if (slot > 0.0F) {
                        const double a = static_cast<double>(slot) * look.opacity;
                        PackedColour& pixel = colours[static_cast<std::size_t>(x)];
                        pixel = a >= 1.0 ? look.colour : blend(look.colour, pixel, a);
                        slot = 0.0F;
                    }
                }
            }
        }
    }
}

void LineRasteriser::paint(std::span<PackedColour> pixels) const {
    const auto rowLength = static_cast<std::size_t>(m_width);
    if (pixels.size() < rowLength * static_cast<std::size_t>(m_height)) {
        throw std::out_of_range("a picture of " + std::to_string(m_width) + " x " +
                                std::to_string(m_height) + " pixels does not fit in " +
                                std::to_string(pixels.size()));
    }
    for (int row = 0; row < m_height; ++row) {
        paintRow(row, pixels.subspan(static_cast<std::size_t>(row) * rowLength, rowLength));
    }
}

}  // namespace vantu
