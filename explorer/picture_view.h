// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace vantu::explorer {

// The Explorer's picture: paints the frame it is handed and nothing else. The frame is shown
// one image pixel to one device pixel, centred, never scaled: until a frame of the widget's new
// size arrives, the last one stays whole in the middle, with the background around it.
class PictureView : public QWidget {
    Q_OBJECT

public:
    explicit PictureView(QWidget* parent = nullptr);

    // Shows `frame` (whose device pixel ratio is ignored: its pixels are the screen's).
    void setFrame(QImage frame);

    // The frame shown; null before the first.
    [[nodiscard]] const QImage& frame() const noexcept { return m_frame; }

    // The frame's pixel under `position` (in the widget's coordinates), or nothing off it.
    [[nodiscard]] std::optional<QPoint> framePixelAt(QPointF position) const;

    // The picture's size in window pixels, which a frame for the widget must have: its own.
    [[nodiscard]] QSize pictureSize() const { return size().expandedTo(QSize(1, 1)); }

    // The frame's top-left corner in device pixels from the widget's: centred, whole pixels.
    [[nodiscard]] QPoint frameOrigin() const;

    // What the frame was drawn into: the widget's device pixel ratio.
    [[nodiscard]] double ratio() const { return devicePixelRatioF(); }

Q_SIGNALS:
    // The widget's size or its device pixel ratio changed: a frame of the new one is wanted.
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    QImage m_frame;
    double m_ratio = 0.0;  // the device pixel ratio last seen
};

}  // namespace vantu::explorer
