// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// A described picture made ready once: its triangle solved, its normals turned by the view, its
// sampling grid and, when asked for, the overlays over it. Everything a picture is asked for
// afterwards (its rows with the marks, the point a pixel shows, the snub points, the facts of
// its triangle, where the labels go) is answered from here, without solving the triangle again.

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "drawing/draw_procedure.h"
#include "drawing/picture_overlay.h"
#include "drawing/picture_point.h"
#include "render/fine_picture.h"
#include "setup/triangle_facts.h"

namespace vantu {

class PreparedPicture {
public:
    // Prepares `description` with the overlays `overlays` asks for (none by default): checks the
    // sampling and the size (std::invalid_argument, before anything is solved), solves the
    // triangle (prepareDrawing; DrawError at its first fault), turns its normals by the view
    // (prepareView's normals, bit for bit), makes the FinePicture and, when any overlay is on,
    // finds the triangle's marks (triangleMarks) and draws pictureOverlay's curves.
    explicit PreparedPicture(const PictureDescription& description,
                             const OverlayOptions& overlays = {});

    // The same for a set-up solved already, `solved` standing for prepareDrawing's of the
    // description's request, in any geometry. In the planes the polyhedron's edges are refused
    // (requireSphere: std::invalid_argument).
    PreparedPicture(const DrawSetup& solved, const PictureDescription& description,
                    const OverlayOptions& overlays = {});

    // The picture of `description` with `overlays`, prepared from this one: when it draws the
    // same triangle (sameTriangle; the view, the size, the sampling, R and the projection may
    // differ) the solved set-up is reused and only turned by the new view, which is exactly what
    // solving it again would give, and so are the triangle's marks when this picture found those
    // asked for; otherwise it is prepared afresh. Throws as the constructor does.
    [[nodiscard]] PreparedPicture redescribed(const PictureDescription& description,
                                              const OverlayOptions& overlays = {}) const;

    [[nodiscard]] const PictureDescription& description() const noexcept { return m_description; }
    [[nodiscard]] const OverlayOptions& overlays() const noexcept { return m_overlays; }
    // prepareDrawing's set-up of the triangle, before the view; one for every picture
    // redescribed from this one with the same triangle.
    [[nodiscard]] const DrawSetup& solved() const noexcept { return m_solved->plain; }
    // The set-up with the normals turned by the view: prepareView's.
    [[nodiscard]] const DrawSetup& setup() const noexcept { return m_setup; }
    [[nodiscard]] const FinePicture& picture() const noexcept { return m_picture; }
    [[nodiscard]] const SampleGrid& grid() const noexcept { return m_picture.grid(); }
    [[nodiscard]] int width() const noexcept { return m_picture.width(); }
    [[nodiscard]] int height() const noexcept { return m_picture.height(); }
    // The overlays over the picture; null when none is on.
    [[nodiscard]] const PictureOverlay* overlay() const noexcept {
        return m_overlay ? &*m_overlay : nullptr;
    }
    // Renders with the given variant of the fast kernels: FinePicture::useKernels.
    void useKernels(KernelVariant variant) { m_picture.useKernels(variant); }
    // The triangle's marks the overlays asked for (triangleMarks).
    [[nodiscard]] const TriangleMarks& marks() const noexcept { return m_marks; }

    // Output row `row` as FinePicture::renderRow colours it, then with the overlay's lines
    // painted over it, when there is one. Throws as FinePicture::renderRow does. Any number of
    // threads may render different rows at once.
    int renderRow(int row, std::span<PackedColour> out) const;

    // Paints the overlay's lines, when there is one, over output row `row` of the finished
    // picture, as renderRow does after colouring it.
    void paintMarks(int row, std::span<PackedColour> out) const;

    // What output pixel (column, row) shows (one sample per output pixel), as pointAt says.
    [[nodiscard]] std::optional<PicturePoint> pointAt(int column, int row) const;

    // The snub points as the picture shows them: snubPointsOf's.
    [[nodiscard]] std::vector<SnubPoint> snubPoints() const;

    // The facts of the triangle: triangleFacts', from the solved set-up. Throws DrawError as
    // triangleFacts does for a triangle that is not proper.
    [[nodiscard]] TriangleFacts facts() const;

private:
    struct Solved {
        DrawRequest request;
        DrawSetup plain;
    };

    // `known` (may be null): a picture of the same triangle whose marks may serve.
    PreparedPicture(std::shared_ptr<const Solved> solved, const PictureDescription& description,
                    const OverlayOptions& overlays, const PreparedPicture* known);

    std::shared_ptr<const Solved> m_solved;
    PictureDescription m_description;
    OverlayOptions m_overlays;
    TriangleMarks m_marks;
    OverlayOptions m_marksAsked;  // what m_marks were found for
    DrawSetup m_setup;
    FinePicture m_picture;
    std::optional<PictureOverlay> m_overlay;
};

// The window's own drawing of `picture` as runs, its triangle solved already: sink.setPixelScale(),
// then renderPicture, returning after the last row; runDrawing's for its description. Throws
// std::invalid_argument, before any run, unless the picture has one sample per window pixel, and
// DrawError at the first fault.
void runDrawing(const PreparedPicture& picture, RunSink& sink);

}  // namespace vantu
