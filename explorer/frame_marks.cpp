// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/frame_marks.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>

#include "desktop/qt_values.h"
#include "geometry/text.h"
#include "render/colour_legend.h"
#include "setup/triangle_facts.h"

namespace vantu::explorer {
namespace {

// Around a label's text, in window pixels.
constexpr double padding = 3.0;
// Between a vertex and its label, in window pixels.
constexpr double vertexGap = 5.0;

// `font` at `ratio` output pixels a window pixel.
QFont scaledFont(const QFont& font, double ratio) {
    QFont scaled = font;
    scaled.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * ratio))));
    return scaled;
}

// Lays out labels of one picture: each box fitted to its text and kept within the frame.
class Layout {
public:
    Layout(const SampleGrid& grid, const QFont& font)
        : m_ratio(grid.ratio()),
          m_metrics(scaledFont(font, m_ratio)),
          m_width(grid.width()),
          m_height(grid.height()) {}

    // The box of `text` in whole output pixels, its centre as near `centre` as the frame allows
    // and, where it would cover a box of `placed`, moved up or down by whole heights of it, the
    // nearest place first, until it covers none, if that comes within a few heights.
    [[nodiscard]] QRectF boxAt(const QString& text, OutputPoint centre,
                               const std::vector<FrameLabel>& placed) const {
        const QSizeF size = boxSize(text);
        const double w = std::ceil(size.width());
        const double h = std::ceil(size.height());
        const double left =
            std::clamp(std::round(centre.x - w / 2.0), 0.0, std::max(0.0, m_width - w));
        const auto at = [&](int shift) {
            const double top = std::clamp(std::round(centre.y - h / 2.0) + shift * (h + 1.0), 0.0,
                                          std::max(0.0, m_height - h));
            return QRectF(left, top, w, h);
        };
        for (const int shift : {0, 1, -1, 2, -2, 3, -3}) {
            const QRectF box = at(shift);
            if (std::none_of(placed.begin(), placed.end(), [&box](const FrameLabel& other) {
                    return other.box.intersects(box);
                })) {
                return box;
            }
        }
        return at(0);
    }

    // The size of the box of `text`, in output pixels.
    [[nodiscard]] QSizeF boxSize(const QString& text) const {
        const double pad = padding * m_ratio;
        return {m_metrics.horizontalAdvance(text) + 2.0 * pad, m_metrics.height() + pad};
    }

    [[nodiscard]] double ratio() const noexcept { return m_ratio; }

private:
    double m_ratio;
    QFontMetricsF m_metrics;
    double m_width;
    double m_height;
};

// Where a vertex's label goes: beyond the vertex on the line from the triangle's middle, far
// enough for the box to clear the vertex; straight above it where the middle is not shown.
OutputPoint vertexLabelCentre(const Layout& layout, OutputPoint vertex,
                              std::optional<OutputPoint> middle, QSizeF box) {
    double dx = 0.0;
    double dy = -1.0;
    if (middle) {
        const double length = std::hypot(vertex.x - middle->x, vertex.y - middle->y);
        if (length > 0.5) {
            dx = (vertex.x - middle->x) / length;
            dy = (vertex.y - middle->y) / length;
        }
    }
    // Far enough along (dx, dy) that the box's nearest corner stays the gap away.
    const double reach = 0.5 * (std::abs(dx) * box.width() + std::abs(dy) * box.height()) +
                         vertexGap * layout.ratio();
    return {vertex.x + dx * reach, vertex.y + dy * reach};
}

}  // namespace

std::vector<FrameLabel> frameLabels(const PreparedPicture& picture, const QFont& font) {
    std::vector<FrameLabel> labels;
    if (picture.overlay() == nullptr) {
        return labels;
    }
    const PictureOverlay& overlay = *picture.overlay();
    const OverlayOptions& options = picture.overlays();
    const Layout layout(picture.grid(), font);
    const OverlayAnchors& anchors = overlay.anchors;
    if (options.mirrors) {
        for (std::size_t i = 0; i < 3; ++i) {
            if (const std::optional<OutputPoint> at = anchors.mirrors[i]) {
                const QString text = QString::number(i + 1);
                labels.push_back({LabelKind::mirror, static_cast<int>(i), text,
                                  layout.boxAt(text, *at, labels)});
            }
        }
    }
    if (options.triangle) {
        const DrawSetup& setup = picture.setup();
        const VertexAngles angles = vertexAngles(picture.description().request, setup.pi);
        const std::array<Vec3, 3> v = triangleVertices(setup.normals, setup.geometry);
        // In a plane the sum is a homogeneous point inside the triangle as it stands.
        const Vec3 sum = v[0] + v[1] + v[2];
        const std::optional<OutputPoint> middle =
            overlay.overlay.outputPoint(setup.geometry == Geometry::spherical ? unit(sum) : sum);
        for (std::size_t i = 0; i < 3; ++i) {
            if (const std::optional<OutputPoint> at = anchors.vertices[i]) {
                const QString text = QString::fromStdString(vertexName(static_cast<int>(i)) + " " +
                                                            formatDegrees(angles[i]) + "\u00b0");
                const OutputPoint centre =
                    vertexLabelCentre(layout, *at, middle, layout.boxSize(text));
                labels.push_back({LabelKind::vertex, static_cast<int>(i), text,
                                  layout.boxAt(text, centre, labels)});
            }
        }
    }
    if (options.snubPoints) {
        // Up and to the right of the ring, clear of it.
        const double clear = (RingStyle{}.radius + 0.5 * RingStyle{}.border.width) * layout.ratio();
        for (std::size_t i = 0; i < anchors.snubPoints.size(); ++i) {
            if (const std::optional<OutputPoint> at = anchors.snubPoints[i]) {
                const QString text = QString::number(i + 1);
                const QSizeF size = layout.boxSize(text);
                const OutputPoint centre{at->x + clear + size.width() / 2.0,
                                         at->y - clear / 2.0 - size.height() / 2.0};
                const bool generating = static_cast<int>(i) == overlay.generatingPoint;
                labels.push_back({generating ? LabelKind::generatingPoint : LabelKind::snubPoint,
                                  static_cast<int>(i), text, layout.boxAt(text, centre, labels)});
            }
        }
    }
    return labels;
}

void paintLabels(QImage& image, const std::vector<FrameLabel>& labels, const QFont& font) {
    if (labels.empty()) {
        return;
    }
    const double ratio = image.devicePixelRatio();
    // In output pixels, one to one.
    image.setDevicePixelRatio(1.0);
    {
        QPainter painter(&image);
        painter.setFont(scaledFont(font, ratio));
        const OverlayStyle style;
        for (const FrameLabel& label : labels) {
            QColor fill = Qt::black;
            QColor ink = Qt::white;
            switch (label.kind) {
                case LabelKind::mirror:
                    fill =
                        QColor(qRgbOf(style.mirrors[static_cast<std::size_t>(label.index)].colour));
                    ink = Qt::black;
                    break;
                case LabelKind::vertex:
                    fill = Qt::white;
                    ink = Qt::black;
                    break;
                case LabelKind::snubPoint:
                    break;
                case LabelKind::generatingPoint:
                    fill = QColor(255, 214, 0);
                    ink = Qt::black;
                    break;
            }
            const QRect box = label.box.toRect();
            painter.setClipRect(box);
            painter.fillRect(box, Qt::black);
            painter.fillRect(box.adjusted(1, 1, -1, -1), fill);
            painter.setPen(ink);
            painter.drawText(box, Qt::AlignCenter, label.text);
        }
    }
    image.setDevicePixelRatio(ratio);
}

std::optional<MarkedFrame> renderMarked(FrameRenderer& renderer, const PreparedPicture& picture,
                                        const QFont& font, const std::function<bool()>& cancelled) {
    std::optional<QImage> image = renderer.render(picture, cancelled);
    if (!image) {
        return std::nullopt;
    }
    MarkedFrame frame{std::move(*image), frameLabels(picture, font)};
    paintLabels(frame.image, frame.labels, font);
    return frame;
}

}  // namespace vantu::explorer
