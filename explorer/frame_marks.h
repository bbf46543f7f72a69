// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

#include "drawing/picture_overlay.h"
#include "explorer/frame_renderer.h"

namespace vantu::explorer {

// What a frame marks over the exact picture: the overlays, and the font of their labels.
struct FrameMarks {
    OverlayOptions overlays;  // all off: the frame is the plain picture
    QFont font;               // with its size in pixels (setPixelSize), in window pixels
};

// What a label names.
enum class LabelKind {
    mirror,           // one of the three mirrors: "1", "2", "3"
    vertex,           // a vertex and its angle: "A 90°"
    snubPoint,        // a snub point, by its number in --snub's list: "2"
    generatingPoint,  // the snub point inside the triangle, the snub polyhedron's generating point
};

// A label over a frame.
struct FrameLabel {
    LabelKind kind = LabelKind::mirror;
    int index = 0;  // the mirror or the vertex (0 to 2), or the snub point in --snub's order
    QString text;
    QRectF box;  // in output pixels, within the frame
};

// The labels of the overlays `picture` was prepared with, where its overlay puts them, each box
// fitted to its text in `font` at the picture's sampling and moved into the frame where it would
// stick out:
// - each of the three mirrors (options.mirrors) its number on its great circle, nearest the
//   centre of the view;
// - each vertex (options.triangle) its name and angle in degrees, "A 90°", beyond the vertex,
//   away from the triangle;
// - each snub point (options.snubPoints) its number in --snub's list beside its ring, the
//   generating point as such.
// Nothing for what the picture does not show, and nothing without an overlay.
[[nodiscard]] std::vector<FrameLabel> frameLabels(const PreparedPicture& picture,
                                                  const QFont& font);

// Paints `labels` (frameLabels' for the same font) into `image`, a frame: each text in its box,
// the box filled in the colour of what it names (a mirror's own, white for a vertex, black for a
// snub point, yellow for the generating point). Pixels outside the boxes stay as they are.
void paintLabels(QImage& image, const std::vector<FrameLabel>& labels, const QFont& font);

// A frame with the marks asked for over it.
struct MarkedFrame {
    QImage image;
    std::vector<FrameLabel> labels;  // painted into the image
};

// The prepared picture drawn by `renderer`, its overlay's lines painted into each row as it is
// drawn, then frameLabels' labels in `font`. Nothing when `cancelled` abandons the frame. Throws
// as FrameRenderer::render does.
[[nodiscard]] std::optional<MarkedFrame> renderMarked(FrameRenderer& renderer,
                                                      const PreparedPicture& picture,
                                                      const QFont& font,
                                                      const std::function<bool()>& cancelled = {});

}  // namespace vantu::explorer
