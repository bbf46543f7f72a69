// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <limits>
#include <span>

#include <QColor>
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>

#include "render/device_row_sink.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"

namespace vantu {

// Thrown by PictureBox::endRow once the drawings have been stopped, to unwind every drawing in
// progress up to its handler. Deliberately not a std::exception: nothing but the handler that
// started the drawing may catch it.
struct DrawingStopped {};

// The picture box: a sunken frame around a drawing area that keeps an image of what the
// drawings painted into it. A drawing's 640 x 481 raster sits at the top-left of the drawing
// area; the rest of the area keeps the background. It receives drawings as their run sink, in
// window pixels, or through a DeviceDrawing in the device pixels of a finer screen.
//
// The image holds the drawing area at a device pixel ratio: 1 at first, and from then on the
// ratio of the last drawing that passed its set-up, so that on a screen of that ratio every
// device pixel shows a sample of its own.
class PictureBox : public QFrame, public RunSink {
    Q_OBJECT

public:
    // The scale modes the picture knows: twips at first, pixels once a drawing has set them.
    static constexpr int twipScaleMode = 1;
    static constexpr int pixelScaleMode = 3;

    // One drawing at device pixel ratio `ratio`, as the run sink of runDrawing at that ratio. The
    // ratio is the drawing's own: when a drawing nested in it has meanwhile switched the picture
    // box to another ratio, its remaining rows are scaled to that one.
    class DeviceDrawing final : public DeviceRowSink {
    public:
        // A drawing into `box`, which must outlive it.
        DeviceDrawing(PictureBox& box, double ratio) noexcept : m_box(box), m_ratio(ratio) {}

        // Paints the device row into the image, clipped to the drawing area.
        void drawDeviceRow(int row, std::span<const PackedColour> colours) override;
        // PictureBox::endRow: the repaint, the yield, and DrawingStopped once stopped.
        void endRow(int windowRow) override;
        // Switches the picture to pixel units and the image to this drawing's ratio.
        void setPixelScale() override;

    private:
        PictureBox& m_box;
        double m_ratio;
    };

    // An empty picture box, showing only its background, in scale mode twips.
    explicit PictureBox(QWidget* parent = nullptr);

    // Paints columns first to end - 1 of `row` into the image, clipped to the drawing area.
    // The screen follows at a row's end.
    void drawRun(int row, int first, int end, PackedColour colour) override;

    // Repaints the rows drawn since the last repaint, when a display frame (16 ms) has passed
    // since then and always after the picture's last row, so that the screen is never more
    // than a frame behind; emits rowFinished; then handles every pending window event, which
    // may start, and finish, another drawing. Throws DrawingStopped after the yield when
    // stopDrawings has been called.
    void endRow(int row) override;

    // Switches the picture to pixel units (scale mode 3) and the image to a ratio of 1.
    void setPixelScale() override;

    // 1 (twips) until the first drawing has passed its set-up, 3 (pixels) from then on.
    [[nodiscard]] int scaleMode() const noexcept { return m_scaleMode; }

    // The drawing area as painted so far, at the device pixel ratio the image carries (1 until a
    // drawing at another ratio has passed its set-up): the device pixels of window pixel (x, y)
    // are those of column x and row y of the raster at that ratio.
    [[nodiscard]] const QImage& image() const noexcept { return m_image; }

    // The picture as shown: the raster's part of the image, 640 x 481 window pixels at the
    // image's device pixel ratio, which the copy carries. Null when there is no memory for it.
    [[nodiscard]] QImage picture() const;

    // The colour of the drawing area where no drawing has painted.
    [[nodiscard]] QColor background() const noexcept { return m_background; }

    // Makes every drawing in progress, and any started later, stop at its next yield.
    void stopDrawings() noexcept { m_stopped = true; }

    // Whether stopDrawings has been called.
    [[nodiscard]] bool drawingsStopped() const noexcept { return m_stopped; }

    // Whether an image of `size` device pixels can be allocated now; it is given back at once.
    [[nodiscard]] static bool roomForImage(QSize size);

    // For tests: every image that picture boxes make from now on, or roomForImage tries, and
    // that takes more than `bytes` fails as an allocation that finds no memory does.
    // noImageByteLimit lifts it.
    static void setImageByteLimit(qsizetype bytes) noexcept { s_imageByteLimit = bytes; }
    static constexpr qsizetype noImageByteLimit = std::numeric_limits<qsizetype>::max();

signals:
    // A drawing has passed its set-up and is about to paint its first row.
    void drawingStarted();

    // A drawing has painted `row` and is about to yield to the pending window events.
    void rowFinished(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Repaints what the drawings painted since the last repaint.
    void paintNewRows();

    // Scale mode pixels, the image at `ratio` (what it showed scaled to it), drawingStarted.
    // Throws std::bad_alloc, changing nothing, when there is no memory for the image.
    void startDrawing(double ratio);

    // An image of `size` device pixels, not yet filled; null when it cannot be allocated.
    [[nodiscard]] static QImage allocate(QSize size);

    // An image of `size` device pixels at `ratio`, filled with the background; null when it
    // cannot be allocated.
    [[nodiscard]] QImage newImage(QSize size, double ratio) const;

    // Paints device row `row` of a drawing at `ratio` into the image.
    void paintDeviceRow(double ratio, int row, std::span<const PackedColour> colours);

    // Marks the device pixels `area` of the image as not yet on the screen.
    void markUnpainted(const QRect& area);

    static inline qsizetype s_imageByteLimit = noImageByteLimit;

    QColor m_background;
    QImage m_image;        // null only when even the first could not be allocated
    double m_ratio = 1.0;  // the image's device pixel ratio
    int m_scaleMode = twipScaleMode;
    bool m_stopped = false;
    QRect m_unpainted;          // in image pixels: painted into the image, not on the screen
    QElapsedTimer m_lastPaint;  // since the last repaint
};

}  // namespace vantu
