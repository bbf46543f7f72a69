// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// render/: turns a scale, a projection and mirror normals into a picture, row by row, for a
// RunSink or an array of colours; it knows nothing of triangle codes or requests.

#include "geometry/projection.h"
#include "geometry/vec3.h"
#include "render/device_row_sink.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"

namespace vantu {

// Scans the picture of `size` window pixels (640 x 481 by default, the window's) from the top
// row down and each row from the left, colours every pixel with pixelColour and hands each row
// to `sink` as runs of one colour followed by endRow. `R` is the scale in pixels (negative turns
// the picture a half turn), `pi` the drawing's pi. Throws DrawError at the first invalid
// operation, division by zero or overflow (a scale of 0 or one too small), after handing over
// the runs of that row before the faulting pixel; the row gets no endRow. Exceptions from the
// sink pass through. Allocates nothing up to the window's width; std::invalid_argument for a size
// out of range, or for a projection that cannot show the geometry (projectionRefusal). In the
// planes the normals are the geometry's own and every pixel takes the exact computation.
void renderPicture(double R, double pi, Projection projection, const Mirrors& normals,
                   RunSink& sink, PictureSize size = {}, Geometry geometry = Geometry::spherical);

// The same picture at `sampling` (FinePicture with it), handed to `sink` in output rows, with
// endRow after the output rows of each window row, so that the sink hears from the drawing once
// per window row at any ratio. Throws std::invalid_argument for a sampling or a size out of
// range before anything is drawn, and DrawError at the first fault, named by its window row and
// column; the output row the fault cut short is then handed over with the output pixels of the
// window columns before the fault's, and the fault's window row gets no endRow. Exceptions from
// the sink pass through. Allocates one row of colours.
void renderPicture(double R, double pi, Projection projection, const Mirrors& normals,
                   Sampling sampling, DeviceRowSink& sink, PictureSize size = {},
                   Geometry geometry = Geometry::spherical);

}  // namespace vantu
