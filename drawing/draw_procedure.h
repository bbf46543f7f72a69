// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// drawing/: the draw procedure, one whole drawing from a request to the last row of its
// picture; the one place where the set-up and the renderer meet.

#include "render/device_row_sink.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"
#include "setup/draw_request.h"

namespace vantu {

// One whole drawing after the controls have been read: prepareDrawing, then
// sink.setPixelScale(), then renderPicture with the request's scale and projection, returning
// after row 480. Throws DrawError at the first fault; a fault in the set-up happens before
// setPixelScale and before any run.
void runDrawing(const DrawRequest& request, RunSink& sink);

// The same drawing sampled at device pixel ratio `ratio`, for a screen that shows it finer:
// prepareDrawing, then sink.setPixelScale(), then renderPicture at that ratio, returning after
// the endRow of window row 480. Throws std::invalid_argument for a ratio that isSupported
// rejects, before the set-up; otherwise as runDrawing above, with faults named by window pixel.
void runDrawing(const DrawRequest& request, PixelRatio ratio, DeviceRowSink& sink);

}  // namespace vantu
