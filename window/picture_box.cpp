// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "window/picture_box.h"

#include <algorithm>
#include <cmath>
#include <new>

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "desktop/qt_values.h"

namespace vantu {

namespace {

// How long the screen may lag behind the rows drawn: one frame of a 60 Hz display.
constexpr qint64 frameInterval = 16;

// The image for a drawing area of `area` window pixels at device pixel ratio `ratio`: the whole
// area, and at least the whole raster, whatever the frame leaves of it.
QSize imageSizeFor(QSize area, double ratio) {
    return QSize(static_cast<int>(std::ceil(area.width() * ratio)),
                 static_cast<int>(std::ceil(area.height() * ratio)))
        .expandedTo(QSize(devicePixels(pictureWidth, ratio), devicePixels(pictureHeight, ratio)));
}

}  // namespace

void PictureBox::DeviceDrawing::drawDeviceRow(int row, std::span<const PackedColour> colours) {
    m_box.paintDeviceRow(m_ratio, row, colours);
}

void PictureBox::DeviceDrawing::endRow(int windowRow) {
    m_box.endRow(windowRow);
}

void PictureBox::DeviceDrawing::setPixelScale() {
    m_box.startDrawing(m_ratio);
}

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel inside the frame comes from the image, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_background = palette().color(QPalette::Window);
    // Without memory the image stays null, and the first drawing tries again.
    m_image = newImage(imageSizeFor(contentsRect().size(), m_ratio), m_ratio);
}

QImage PictureBox::allocate(QSize size) {
    constexpr qsizetype pixelBytes = 4;
    if (qsizetype{size.width()} * size.height() * pixelBytes > s_imageByteLimit) {
        return {};
    }
    return {size, QImage::Format_RGB32};
}

bool PictureBox::roomForImage(QSize size) {
    return !allocate(size).isNull();
}

QImage PictureBox::newImage(QSize size, double ratio) const {
    QImage image = allocate(size);
    if (!image.isNull()) {
        image.setDevicePixelRatio(ratio);
        image.fill(m_background);
    }
    return image;
}

void PictureBox::drawRun(int row, int first, int end, PackedColour colour) {
    if (m_ratio != 1.0) {
        // A drawing in window pixels, resumed after a nested one switched to another ratio.
        const QRectF run(first, row, end - first, 1);
        QPainter(&m_image).fillRect(run, QColor(qRgbOf(colour)));
        markUnpainted(QRectF(run.topLeft() * m_ratio, run.size() * m_ratio).toAlignedRect());
        return;
    }
    if (row < 0 || row >= m_image.height()) {
        return;
    }
    const int from = std::max(first, 0);
    const int to = std::min(end, m_image.width());
    if (from >= to) {
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(row));
    std::fill(line + from, line + to, qRgbOf(colour));
    m_unpainted |= QRect(from, row, to - from, 1);
}

void PictureBox::paintDeviceRow(double ratio, int row, std::span<const PackedColour> colours) {
    const auto count = static_cast<int>(colours.size());
    if (ratio != m_ratio) {
        // Rows of a drawing resumed after a nested one switched to another ratio, scaled to it.
        QImage line(count, 1, QImage::Format_RGB32);
        if (line.isNull()) {
            throw std::bad_alloc();
        }
        std::transform(colours.begin(), colours.begin() + count,
                       reinterpret_cast<QRgb*>(line.scanLine(0)), qRgbOf);
        line.setDevicePixelRatio(ratio);
        const QRectF target(0.0, row / ratio, count / ratio, 1.0 / ratio);
        QPainter(&m_image).drawImage(target, line);
        markUnpainted(QRectF(target.topLeft() * m_ratio, target.size() * m_ratio).toAlignedRect());
        return;
    }
    if (row < 0 || row >= m_image.height()) {
        return;
    }
    const int width = std::min(count, m_image.width());
    std::transform(colours.begin(), colours.begin() + width,
                   reinterpret_cast<QRgb*>(m_image.scanLine(row)), qRgbOf);
    m_unpainted |= QRect(0, row, width, 1);
}

void PictureBox::markUnpainted(const QRect& area) {
    m_unpainted |= area & m_image.rect();
}

void PictureBox::endRow(int row) {
    if (row == pictureHeight - 1 || !m_lastPaint.isValid() ||
        m_lastPaint.elapsed() >= frameInterval) {
        paintNewRows();
    }
    emit rowFinished(row);
    QCoreApplication::processEvents();
    if (m_stopped) {
        throw DrawingStopped{};
    }
}

void PictureBox::paintNewRows() {
    m_lastPaint.start();
    if (!m_unpainted.isEmpty()) {
        const QRect area = m_ratio == 1.0 ? m_unpainted
                                          : QRectF(QPointF(m_unpainted.topLeft()) / m_ratio,
                                                   QSizeF(m_unpainted.size()) / m_ratio)
                                                .toAlignedRect();
        repaint(area.translated(contentsRect().topLeft()));
        m_unpainted = QRect();
    }
}

void PictureBox::setPixelScale() {
    startDrawing(1.0);
}

void PictureBox::startDrawing(double ratio) {
    if (ratio != m_ratio || m_image.isNull()) {
        QImage image = newImage(imageSizeFor(contentsRect().size(), ratio), ratio);
        if (image.isNull()) {
            throw std::bad_alloc();
        }
        if (!m_image.isNull()) {
            QPainter(&image).drawImage(QPointF(0.0, 0.0), m_image);
        }
        m_image = std::move(image);
        m_ratio = ratio;
        m_unpainted = m_image.rect();
    }
    m_scaleMode = pixelScaleMode;
    emit drawingStarted();
}

QImage PictureBox::picture() const {
    return m_image.copy(0, 0, devicePixels(pictureWidth, m_ratio),
                        devicePixels(pictureHeight, m_ratio));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QRect target = event->rect() & area;
    if (!target.isEmpty()) {
        const QRect source = target.translated(-area.topLeft());
        if (!QRectF(QPointF(0.0, 0.0), m_image.deviceIndependentSize()).contains(source)) {
            // An image that could not grow with the area, or none at all.
            painter.fillRect(target, m_background);
        }
        if (m_ratio == 1.0) {
            painter.drawImage(target, m_image, source);
        } else {
            // The image's pixels are the screen's at this ratio: Qt copies them one to one.
            painter.drawImage(
                QRectF(target), m_image,
                QRectF(QPointF(source.topLeft()) * m_ratio, QSizeF(source.size()) * m_ratio));
        }
    }
    if (!area.contains(event->rect())) {
        drawFrame(&painter);
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QSize wanted = imageSizeFor(contentsRect().size(), m_ratio);
    if (wanted.width() > m_image.width() || wanted.height() > m_image.height()) {
        QImage grown = newImage(wanted.expandedTo(m_image.size()), m_ratio);
        if (grown.isNull()) {
            // Without memory the image keeps its size, which holds the whole raster.
            return;
        }
        if (!m_image.isNull()) {
            QPainter(&grown).drawImage(QPointF(0.0, 0.0), m_image);
        }
        m_image = std::move(grown);
    }
}

}  // namespace vantu
