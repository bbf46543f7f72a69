// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/draw_procedure.h"

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "geometry/text.h"
#include "render/render_picture.h"

namespace vantu {
namespace {

// prepareView, refusing first a projection that cannot show the triangle's geometry, so that
// the refusal comes before anything reaches the sink.
DrawSetup shownSetup(const PictureDescription& description) {
    DrawSetup setup = prepareView(description);
    if (const std::optional<std::string> refusal =
            projectionRefusal(description.request.projection, setup.geometry)) {
        throw std::invalid_argument(*refusal);
    }
    return setup;
}

}  // namespace

std::string pictureFileName(const PictureDescription& description, std::string_view extension) {
    const View& view = description.view;
    return pictureNameStem(description.request) + "-view" + formatNumber(view.lon) + "," +
           formatNumber(view.lat) + "," + formatNumber(view.roll) + "-R" +
           formatNumber(description.request.scale) + std::string(extension);
}

void requireSphere(const DrawSetup& setup, std::string_view what) {
    if (setup.geometry != Geometry::spherical) {
        throw std::invalid_argument(std::string(what) +
                                    " are the sphere's alone for now, and the triangle is " +
                                    std::string(geometryName(setup.geometry)));
    }
}

DrawSetup turnedSetup(const DrawSetup& plain, const View& view) {
    DrawSetup setup = plain;
    setup.normals = moved(plain.normals, view, plain.pi, plain.geometry);
    for (const Vec3& n : setup.normals) {
        if (!std::isfinite(n.x) || !std::isfinite(n.y) || !std::isfinite(n.z)) {
            throw DrawError(FaultKind::overflow, FaultStage::triangle, "the view",
                            "the view " + formatNumber(view.lon) + "," + formatNumber(view.lat) +
                                "," + formatNumber(view.roll) + " moves the " +
                                std::string(geometryName(plain.geometry)) +
                                " plane too far: overflow in the view");
        }
    }
    return setup;
}

DrawSetup prepareView(const PictureDescription& description) {
    return turnedSetup(prepareDrawing(description.request), description.view);
}

FinePicture finePictureOf(const PictureDescription& description, const DrawSetup& setup) {
    const DrawRequest& r = description.request;
    return {r.scale,          setup.pi,      r.projection, setup.normals, description.sampling,
            description.size, setup.geometry};
}

std::vector<SnubPoint> snubPointsOf(const DrawSetup& setup) {
    if (setup.geometry != Geometry::spherical) {
        return findPlaneSnubPoints(setup.normals, setup.geometry);
    }
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
    const DrawSetup setup = shownSetup(description);
    sink.setPixelScale();
    const DrawRequest& r = description.request;
    renderPicture(r.scale, setup.pi, r.projection, setup.normals, sink, description.size,
                  setup.geometry);
}

void runDrawing(const PictureDescription& description, DeviceRowSink& sink) {
    (void)checkedSampling(description.sampling);
    (void)checkedSize(description.size);
    const DrawSetup setup = shownSetup(description);
    sink.setPixelScale();
    const DrawRequest& r = description.request;
    renderPicture(r.scale, setup.pi, r.projection, setup.normals, description.sampling, sink,
                  description.size, setup.geometry);
}

}  // namespace vantu
