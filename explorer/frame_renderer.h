// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>

#include <QImage>

#include "drawing/prepared_picture.h"
#include "threads/thread_runner.h"

namespace vantu::explorer {

// How a FrameRenderer shares out its work.
struct FrameOptions {
    int threads = 0;              // at most this many, the calling one included; 0: one a core
    FewerThreads onFewerThreads;  // told once when fewer threads can be started; may be empty
    bool inBackground = false;    // each drawing thread gives way to the others (the interface's)
};

// Draws whole frames: a prepared picture in, an image out, on all cores. Each frame is the
// core's picture of its description pixel for pixel (PreparedPicture's rows, with its overlay's
// lines), so it is what vantu-render draws for the same options.
class FrameRenderer {
public:
    explicit FrameRenderer(FrameOptions options = {});

    // The prepared picture as an image of its output pixels (Format_RGB32) carrying the
    // sampling's ratio as its device pixel ratio, each row with the overlay's lines (when it has
    // one) painted as it is drawn, before it becomes Qt's pixels. `cancelled` (may be empty) is
    // asked before each few rows, on one thread at a time; once it answers true the frame is
    // abandoned, each thread after the rows it is drawing, and render returns nothing. Throws
    // DrawError for the fault of the lowest row that has one, std::bad_alloc without memory for
    // the image. Call from one thread at a time.
    [[nodiscard]] std::optional<QImage> render(const PreparedPicture& picture,
                                               const std::function<bool()>& cancelled = {});

    // The same for the picture of `description`, prepared for it: throws std::invalid_argument
    // for a size or sampling out of range and DrawError from the set-up as well.
    [[nodiscard]] std::optional<QImage> render(const PictureDescription& description,
                                               const std::function<bool()>& cancelled = {}) {
        return render(PreparedPicture(description), cancelled);
    }

    // Hands back a frame's image once nothing else holds it, for the next frame of its size to be
    // drawn into: a large image is costly to map and fault in afresh for every frame. An image
    // that is still shared, or of another size, is let go instead.
    void recycle(QImage image) noexcept { m_spare = std::move(image); }

    // How many threads the next frame is drawn on: fewer than asked once some could not start.
    [[nodiscard]] int threads() const noexcept { return m_threads; }

private:
    int m_threads;
    FewerThreads m_onFewerThreads;
    bool m_inBackground;
    bool m_toldFewer = false;
    QImage m_spare;  // recycled, for the next frame of its size
};

}  // namespace vantu::explorer
