// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What a pixel of a described picture shows: the point of the sphere, its cell and its hue.

#include <optional>
#include <string>

#include "drawing/draw_procedure.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"

namespace vantu {

// The point one output pixel shows, with what its colour says about it.
struct PicturePoint {
    Vec3 point;  // on the unit sphere, in the sphere's own frame (the view turned back); in the
                 // planes the point itself, on the hyperboloid's sheet or at z = 1
    PackedColour colour;  // the pixel's colour
    std::string cell;     // pointCellWords: "the triangle", "across mirror 2", ...
    std::string hue;      // pointHueWords: "nearest vertex A, farthest B", ...
};

// What the point `p` of the sphere shows in a picture drawn with `setup` (prepareView's for a
// description with `view`): its colour, cell and hue, and the point in the sphere's own frame.
// In the planes `p` is the model's homogeneous point and the view's move is undone (movedBack).
[[nodiscard]] PicturePoint picturePointOf(const Vec3& p, const DrawSetup& setup, const View& view);

// What output pixel (column, row) of the described picture (one sample per output pixel) shows:
// its sample mapped to the sphere as the scan maps it, so that its colour is the picture's.
// Nothing when the pixel lies outside the picture or shows no point of the sphere (the
// orthographic picture off its disc), or when the picture cannot be drawn (a set-up fault, a
// scale of 0 or a value out of range). Solves the triangle: a picture asked about again and
// again is asked through PreparedPicture::pointAt.
[[nodiscard]] std::optional<PicturePoint> pointAt(const PictureDescription& description, int column,
                                                  int row);

}  // namespace vantu
