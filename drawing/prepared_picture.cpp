// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/prepared_picture.h"

#include <stdexcept>
#include <utility>

#include "render/render_picture.h"

namespace vantu {
namespace {

// Whether marks found for `asked` hold everything `wanted` needs.
bool covers(const OverlayOptions& asked, const OverlayOptions& wanted) noexcept {
    return (asked.groupMirrors || !wanted.groupMirrors) &&
           (asked.snubPoints || !wanted.snubPoints) &&
           (!wanted.polyhedron ||
            (asked.polyhedron && samePoint(asked.generatingPoint, wanted.generatingPoint)));
}

}  // namespace

PreparedPicture::PreparedPicture(const PictureDescription& description,
                                 const OverlayOptions& overlays)
    : PreparedPicture(
          [&description] {
              // The sampling and the size before the set-up, so that a picture out of range
              // solves nothing.
              (void)SampleGrid(description.size, description.sampling);
              return std::make_shared<const Solved>(
                  Solved{description.request, prepareDrawing(description.request)});
          }(),
          description, overlays, nullptr) {}

PreparedPicture::PreparedPicture(const DrawSetup& solved, const PictureDescription& description,
                                 const OverlayOptions& overlays)
    : PreparedPicture(
          [&] {
              (void)SampleGrid(description.size, description.sampling);
              return std::make_shared<const Solved>(Solved{description.request, solved});
          }(),
          description, overlays, nullptr) {}

PreparedPicture::PreparedPicture(std::shared_ptr<const Solved> solved,
                                 const PictureDescription& description,
                                 const OverlayOptions& overlays, const PreparedPicture* known)
    : m_solved(std::move(solved)),
      m_description(description),
      m_overlays(overlays),
      m_setup(turnedSetup(m_solved->plain, description.view)),
      m_picture(finePictureOf(description, m_setup)) {
    if (!overlays.any()) {
        return;
    }
    if (overlays.polyhedron) {
        requireSphere(m_setup, "the polyhedra");
    }
    if (known != nullptr && covers(known->m_marksAsked, overlays)) {
        m_marks = known->m_marks;
        m_marksAsked = known->m_marksAsked;
    } else {
        m_marks = triangleMarks(description.request, m_solved->plain, overlays);
        m_marksAsked = overlays;
    }
    m_overlay = pictureOverlay(description, m_setup, overlays, m_marks);
}

PreparedPicture PreparedPicture::redescribed(const PictureDescription& description,
                                             const OverlayOptions& overlays) const {
    if (!sameTriangle(m_solved->request, description.request)) {
        return PreparedPicture(description, overlays);
    }
    (void)SampleGrid(description.size, description.sampling);
    return {m_solved, description, overlays, this};
}

int PreparedPicture::renderRow(int row, std::span<PackedColour> out) const {
    const int exact = m_picture.renderRow(row, out);
    paintMarks(row, out);
    return exact;
}

void PreparedPicture::paintMarks(int row, std::span<PackedColour> out) const {
    if (m_overlay) {
        m_overlay->overlay.paintRow(row, out);
    }
}

std::optional<PicturePoint> PreparedPicture::pointAt(int column, int row) const {
    const std::optional<Vec3> p = m_picture.pointOf(column, row);
    if (!p) {
        return std::nullopt;
    }
    return picturePointOf(*p, m_setup, m_description.view);
}

std::vector<SnubPoint> PreparedPicture::snubPoints() const {
    return snubPointsOf(m_setup);
}

TriangleFacts PreparedPicture::facts() const {
    return triangleFacts(m_solved->request, m_solved->plain);
}

void runDrawing(const PreparedPicture& picture, RunSink& sink) {
    const PictureDescription& description = picture.description();
    if (description.sampling != Sampling{}) {
        throw std::invalid_argument("runs take one sample per window pixel");
    }
    const DrawSetup& setup = picture.setup();
    sink.setPixelScale();
    const DrawRequest& r = description.request;
    renderPicture(r.scale, setup.pi, r.projection, setup.normals, sink, description.size,
                  setup.geometry);
}

}  // namespace vantu
