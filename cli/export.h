#pragma once

#include <QImage>
#include <optional>

#include "cli/progress.h"
#include "geometry/draw_error.h"
#include "render/fine_picture.h"

namespace vantu::cli {

// A picture rendered into an image, and the fault that stopped it, if one did.
struct RenderedImage {
    QImage image;                    // ARGB32, the picture's size
    std::optional<DrawError> fault;  // the first fault in picture order
};

// Renders `picture` on `jobs` threads (one per core when 0), each taking the next row not yet
// taken, so the image does not depend on the thread count. Advances `progress` (may be null) by
// one per row. After a fault the rows above the faulting one, and its pixels left of the
// faulting one, are kept and the rest is transparent, as in the window's picture.
[[nodiscard]] RenderedImage renderImage(const FinePicture& picture, int jobs,
                                        ProgressBar* progress);

// The image pixel of a packed colour, opaque.
[[nodiscard]] QRgb toRgb(PackedColour colour) noexcept;

}  // namespace vantu::cli
