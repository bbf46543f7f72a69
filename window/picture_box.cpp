#include "window/picture_box.h"

#include <algorithm>

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace vantu {

namespace {

// How long the screen may lag behind the rows drawn: one frame of a 60 Hz display.
constexpr qint64 frameInterval = 16;

// The drawing area must hold at least the whole raster, whatever the frame leaves of it.
QSize imageSizeFor(QSize area) {
    return area.expandedTo(QSize(pictureWidth, pictureHeight));
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel inside the frame comes from the image, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_background = palette().color(QPalette::Window);
    m_image = QImage(imageSizeFor(contentsRect().size()), QImage::Format_RGB32);
    m_image.fill(m_background);
}

void PictureBox::drawRun(int row, int first, int end, PackedColour colour) {
    if (row < 0 || row >= m_image.height()) {
        return;
    }
    const int from = std::max(first, 0);
    const int to = std::min(end, m_image.width());
    if (from >= to) {
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(row));
    std::fill(line + from, line + to, qRgb(redOf(colour), greenOf(colour), blueOf(colour)));
    m_unpainted |= QRect(from, row, to - from, 1);
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
        repaint(m_unpainted.translated(contentsRect().topLeft()));
        m_unpainted = QRect();
    }
}

void PictureBox::setPixelScale() {
    m_scaleMode = pixelScaleMode;
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QRect target = event->rect() & area;
    if (!target.isEmpty()) {
        painter.drawImage(target, m_image, target.translated(-area.topLeft()));
    }
    if (!area.contains(event->rect())) {
        drawFrame(&painter);
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QSize wanted = imageSizeFor(contentsRect().size());
    if (wanted.width() > m_image.width() || wanted.height() > m_image.height()) {
        QImage grown(wanted.expandedTo(m_image.size()), QImage::Format_RGB32);
        grown.fill(m_background);
        QPainter(&grown).drawImage(0, 0, m_image);
        m_image = std::move(grown);
    }
}

}  // namespace vantu
