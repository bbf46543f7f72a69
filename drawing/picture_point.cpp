// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/picture_point.h"

#include "drawing/prepared_picture.h"
#include "geometry/draw_error.h"
#include "render/colour_legend.h"
#include "render/pixel_colour.h"

namespace vantu {

PicturePoint picturePointOf(const Vec3& p, const DrawSetup& setup, const View& view) {
    const auto [a1, a2, a3, d1, d2, d3] = detail::measureMirrors(p, setup.normals);
    const PackedColour colour = pixelColour(p, setup.normals);
    return PicturePoint{turnedBack(p, view, setup.pi), colour, pointCellWords(a1, a2, a3),
                        pointHueWords(colour)};
}

std::optional<PicturePoint> pointAt(const PictureDescription& description, int column, int row) {
    if (!isSupported(description.sampling) || !isSupported(description.size) ||
        !SampleGrid(description.size, description.sampling).contains(column, row)) {
        return std::nullopt;
    }
    try {
        return PreparedPicture(description).pointAt(column, row);
    } catch (const DrawError&) {
        return std::nullopt;
    }
}

}  // namespace vantu
