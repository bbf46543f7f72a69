// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/draw_procedure.h"

#include "render/render_picture.h"

namespace vantu {

void runDrawing(const DrawRequest& request, RunSink& sink) {
    const DrawSetup setup = prepareDrawing(request);
    sink.setPixelScale();
    renderPicture(request.scale, setup.pi, request.projection, setup.normals, sink);
}

void runDrawing(const DrawRequest& request, PixelRatio ratio, DeviceRowSink& sink) {
    (void)checkedRatio(ratio);
    const DrawSetup setup = prepareDrawing(request);
    sink.setPixelScale();
    renderPicture(request.scale, setup.pi, request.projection, setup.normals, ratio, sink);
}

}  // namespace vantu
