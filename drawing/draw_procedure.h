#pragma once

// drawing/: the draw procedure, one whole drawing from a request to the last row of its
// picture; the one place where the set-up and the renderer meet.

#include "render/run_sink.h"
#include "setup/draw_request.h"

namespace vantu {

// One whole drawing after the controls have been read: prepareDrawing, then
// sink.setPixelScale(), then renderPicture with the request's scale and projection, returning
// after row 480. Throws DrawError at the first fault; a fault in the set-up happens before
// setPixelScale and before any run.
void runDrawing(const DrawRequest& request, RunSink& sink);

}  // namespace vantu
