#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>

#include "render/run_sink.h"

namespace vantu {

// Thrown by PictureBox::endRow once the drawings have been stopped, to unwind every drawing in
// progress up to its handler. Deliberately not a std::exception: nothing but the handler that
// started the drawing may catch it.
struct DrawingStopped {};

// The picture box: a sunken frame around a drawing area that keeps an image of what the
// drawings painted into it. A drawing's 640 x 481 raster sits at the top-left of the drawing
// area; the rest of the area keeps the background. It receives drawings as their run sink.
class PictureBox : public QFrame, public RunSink {
    Q_OBJECT

public:
    // The scale modes the picture knows: twips at first, pixels once a drawing has set them.
    static constexpr int twipScaleMode = 1;
    static constexpr int pixelScaleMode = 3;

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

    // Switches the picture to pixel units (scale mode 3).
    void setPixelScale() override;

    // 1 (twips) until the first drawing has passed its set-up, 3 (pixels) from then on.
    [[nodiscard]] int scaleMode() const noexcept { return m_scaleMode; }

    // The drawing area as painted so far: pixel (x, y) is column x of row y of the raster.
    [[nodiscard]] const QImage& image() const noexcept { return m_image; }

    // The colour of the drawing area where no drawing has painted.
    [[nodiscard]] QColor background() const noexcept { return m_background; }

    // Makes every drawing in progress, and any started later, stop at its next yield.
    void stopDrawings() noexcept { m_stopped = true; }

    // Whether stopDrawings has been called.
    [[nodiscard]] bool drawingsStopped() const noexcept { return m_stopped; }

signals:
    // A drawing has painted `row` and is about to yield to the pending window events.
    void rowFinished(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Repaints what the drawings painted since the last repaint.
    void paintNewRows();

    QColor m_background;
    QImage m_image;
    int m_scaleMode = twipScaleMode;
    bool m_stopped = false;
    QRect m_unpainted;          // in image coordinates: painted into the image, not on the screen
    QElapsedTimer m_lastPaint;  // since the last repaint
};

}  // namespace vantu
