// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// drawing/: the draw procedure, one whole drawing from a request to the last row of its
// picture; the one place where the set-up and the renderer meet.

#include <string>
#include <string_view>
#include <vector>

#include "geometry/view.h"
#include "render/device_row_sink.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"
#include "setup/draw_request.h"
#include "snub/snub_points.h"

namespace vantu {

// Everything that decides a picture's pixels: the drawing's five inputs, the view of the
// sphere, the size in window pixels and the sampling. The default is the window's start-up
// picture.
struct PictureDescription {
    DrawRequest request;
    View view;
    PictureSize size;
    Sampling sampling;
};

// The file name a described picture goes by: pictureNameStem, then "-view" and the view's three
// angles joined by commas, "-R" and the scale, each as formatNumber writes it, then
// `extension`, as in "300-r0-stereo-view30,-15,0-R120.png". Names the picture's look, not its
// size or sampling.
[[nodiscard]] std::string pictureFileName(const PictureDescription& description,
                                          std::string_view extension);

// The set-up of a described picture: prepareDrawing, then the normals turned by the view.
// Throws DrawError as prepareDrawing does.
[[nodiscard]] DrawSetup prepareView(const PictureDescription& description);

// `plain`, prepareDrawing's set-up, with its normals turned by `view`: the second half of
// prepareView, for a set-up solved already. In the planes the view moves them (moved); a move
// so long that a normal overflows throws DrawError (overflow, stage triangle) naming the view.
[[nodiscard]] DrawSetup turnedSetup(const DrawSetup& plain, const View& view);

// What the planes do not have yet (the polyhedra): throws std::invalid_argument,
// "`what` are the sphere's alone for now, and the triangle is
// hyperbolic", for a set-up that is not spherical. The one place of that refusal.
void requireSphere(const DrawSetup& setup, std::string_view what);

// The FinePicture of `description` drawn with `setup` (prepareView's for it). Throws
// std::invalid_argument for a sampling or a size out of range.
[[nodiscard]] FinePicture finePictureOf(const PictureDescription& description,
                                        const DrawSetup& setup);

// findSnubPoints for `setup` (prepareView's for a description), with its pi; in the planes
// findPlaneSnubPoints.
[[nodiscard]] std::vector<SnubPoint> snubPointsOf(const DrawSetup& setup);

// The points of the sphere where the six hues meet, as the described picture shows them:
// prepareView, then findSnubPoints for the normals as the view turned them, with the drawing's
// pi. Throws DrawError as prepareView does.
[[nodiscard]] std::vector<SnubPoint> snubPointsOf(const PictureDescription& description);

// One whole drawing after the controls have been read: prepareDrawing, then
// sink.setPixelScale(), then renderPicture with the request's scale and projection, returning
// after row 480. Throws DrawError at the first fault; a fault in the set-up happens before
// setPixelScale and before any run. A projection that cannot show the triangle's geometry
// (projectionRefusal) is refused there too, with std::invalid_argument in its words.
void runDrawing(const DrawRequest& request, RunSink& sink);

// The same for a described picture at one sample per window pixel, which must be its sampling
// (std::invalid_argument otherwise, as for a size out of range, before the set-up): the view
// turns the normals and the rows have the description's width.
void runDrawing(const PictureDescription& description, RunSink& sink);

// The described picture at its sampling, for a screen that shows it finer: prepareView, then
// sink.setPixelScale(), then renderPicture at that sampling, returning after the endRow of the
// last window row. Throws std::invalid_argument for a sampling or a size out of range, before
// the set-up; otherwise as runDrawing above, with faults named by window pixel.
void runDrawing(const PictureDescription& description, DeviceRowSink& sink);

}  // namespace vantu
