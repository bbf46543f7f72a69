#pragma once

#include "render/run_sink.h"
#include "setup/mirrors.h"

namespace vantu {

// How a pixel's offset from the picture centre maps to a point of the unit sphere.
enum class Projection {
    gnomonic,       // "gnome": distance R * tan(theta)
    stereographic,  // "stereo": distance 2R * tan(theta / 2)
    orthographic,   // "ortho": distance 2R * sin(theta), grey outside the disc
};

// Scans the 640 x 481 picture from the top row down and each row from the left, colours every
// pixel with pixelColour and hands each row to `sink` as runs of one colour followed by
// endRow. `R` is the scale in pixels (negative turns the picture a half turn), `pi` the
// drawing's pi. Throws DrawError at the first invalid operation, division by zero or overflow
// (a scale of 0 or one too small), after handing over the runs of that row before the faulting
// pixel; the row gets no endRow. Exceptions from the sink pass through. Allocates nothing.
void renderPicture(double R, double pi, Projection projection, const Mirrors& normals,
                   RunSink& sink);

}  // namespace vantu
