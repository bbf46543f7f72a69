// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/picture_view.h"

#include <cmath>
#include <utility>

#include <QPaintEvent>
#include <QPainter>

namespace vantu::explorer {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(16, 16);
}

void PictureView::setFrame(QImage frame) {
    m_frame = std::move(frame);
    update();
}

QPoint PictureView::frameOrigin() const {
    const double d = devicePixelRatioF();
    return QPoint(static_cast<int>(std::floor((width() * d - m_frame.width()) / 2.0)),
                  static_cast<int>(std::floor((height() * d - m_frame.height()) / 2.0)));
}

std::optional<QPoint> PictureView::framePixelAt(QPointF position) const {
    const double d = devicePixelRatioF();
    const QPoint pixel = QPoint(static_cast<int>(std::floor(position.x() * d)),
                                static_cast<int>(std::floor(position.y() * d))) -
                         frameOrigin();
    if (m_frame.isNull() || !m_frame.rect().contains(pixel)) {
        return std::nullopt;
    }
    return pixel;
}

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const double d = devicePixelRatioF();
    const QPointF origin = QPointF(frameOrigin()) / d;
    const QRectF target(origin, QSizeF(m_frame.size()) / d);
    // Around the frame, the background; the frame itself one pixel to one device pixel, over
    // the edges of the background that a fractional ratio leaves in part to it.
    const QRect inside(QPoint(static_cast<int>(std::ceil(target.left())),
                              static_cast<int>(std::ceil(target.top()))),
                       QPoint(static_cast<int>(std::floor(target.right())) - 1,
                              static_cast<int>(std::floor(target.bottom())) - 1));
    const QRegion around = QRegion(event->rect()) - (m_frame.isNull() ? QRect() : inside);
    for (const QRect& part : around) {
        painter.fillRect(part, palette().color(QPalette::Window));
    }
    if (!m_frame.isNull()) {
        painter.drawImage(target, m_frame, QRectF(m_frame.rect()));
    }
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT pictureChanged();
}

bool PictureView::event(QEvent* event) {
    // A window moved to a screen of another device pixel ratio repaints; the picture follows.
    if (event->type() == QEvent::Paint || event->type() == QEvent::ScreenChangeInternal) {
        const double d = devicePixelRatioF();
        const double before = std::exchange(m_ratio, d);
        if (before != 0.0 && before != d) {
            Q_EMIT pictureChanged();
        }
    }
    return QWidget::event(event);
}

}  // namespace vantu::explorer
