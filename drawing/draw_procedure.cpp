// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/draw_procedure.h"

#include <stdexcept>

#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "render/render_picture.h"

namespace vantu {

std::string pictureFileName(const PictureDescription& description, std::string_view extension) {
    const View& view = description.view;
    return pictureNameStem(description.request) + "-view" + formatNumber(view.lon) + "," +
           formatNumber(view.lat) + "," + formatNumber(view.roll) + "-R" +
           formatNumber(description.request.scale) + std::string(extension);
}

namespace {

// The one refusal of the planes, which the scan and the marks cannot draw yet: a set-up of the
// Euclidean or the hyperbolic plane stops a picture here, before anything is drawn.
void requireDrawableGeometry(const DrawSetup& setup) {
    if (setup.geometry != Geometry::spherical) {
        throw DrawError(FaultKind::invalidOperation, FaultStage::triangle, "drawing the triangle",
                        "a triangle of the " + std::string(geometryName(setup.geometry)) +
                            " plane cannot be drawn yet, only its facts listed");
    }
}

}  // namespace

DrawSetup turnedSetup(const DrawSetup& plain, const View& view) {
    requireDrawableGeometry(plain);
    DrawSetup setup = plain;
    setup.normals = turned(plain.normals, view, plain.pi);
    return setup;
}

DrawSetup prepareView(const PictureDescription& description) {
    return turnedSetup(prepareDrawing(description.request), description.view);
}

FinePicture finePictureOf(const PictureDescription& description, const DrawSetup& setup) {
    const DrawRequest& r = description.request;
    return {r.scale, setup.pi, r.projection, setup.normals, description.sampling, description.size};
}

std::vector<SnubPoint> snubPointsOf(const DrawSetup& setup) {
    return findSnubPoints(setup.normals, setup.pi);
}

std::vector<SnubPoint> snubPointsOf(const PictureDescription& description) {
    return snubPointsOf(prepareView(description));
}

void runDrawing(const DrawRequest& request, RunSink& sink) {
    runDrawing(PictureDescription{request, {}, {}, {}}, sink);
}

void runDrawing(const PictureDescription& description, RunSink& sink) {
    if (description.sampling != Sampling{}) {
        throw std::invalid_argument("runs take one sample per window pixel");
    }
    (void)checkedSize(description.size);
    const DrawSetup setup = prepareView(description);
    sink.setPixelScale();
    const DrawRequest& r = description.request;
    renderPicture(r.scale, setup.pi, r.projection, setup.normals, sink, description.size);
}

void runDrawing(const PictureDescription& description, DeviceRowSink& sink) {
    (void)checkedSampling(description.sampling);
    (void)checkedSize(description.size);
    const DrawSetup setup = prepareView(description);
    sink.setPixelScale();
    const DrawRequest& r = description.request;
    renderPicture(r.scale, setup.pi, r.projection, setup.normals, description.sampling, sink,
                  description.size);
}

}  // namespace vantu
