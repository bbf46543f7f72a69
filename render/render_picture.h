#pragma once

// render/: turns a scale, a projection and mirror normals into a picture, row by row, for a
// RunSink or an array of colours; it knows nothing of triangle codes or requests.

#include "geometry/projection.h"
#include "geometry/vec3.h"
#include "render/run_sink.h"

namespace vantu {

// Scans the 640 x 481 picture from the top row down and each row from the left, colours every
// pixel with pixelColour and hands each row to `sink` as runs of one colour followed by
// endRow. `R` is the scale in pixels (negative turns the picture a half turn), `pi` the
// drawing's pi. Throws DrawError at the first invalid operation, division by zero or overflow
// (a scale of 0 or one too small), after handing over the runs of that row before the faulting
// pixel; the row gets no endRow. Exceptions from the sink pass through. Allocates nothing.
void renderPicture(double R, double pi, Projection projection, const Mirrors& normals,
                   RunSink& sink);

}  // namespace vantu
