#include "cli/snub_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "render/projections.h"

namespace vantu::cli {
namespace detail {

std::string coordinateText(double value) {
    if (std::abs(value) < 1e-14) {
        return "0";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

namespace {

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string pixelText(const PicturePosition& at) {
    return "(" + std::to_string(at.pixelColumn()) + ", " + std::to_string(at.pixelRow()) + ")";
}

char signText(int sign) {
    return sign > 0 ? '+' : (sign < 0 ? '-' : '0');
}

}  // namespace
}  // namespace detail

std::string snubReport(const DrawRequest& request, const std::vector<SnubPoint>& points) {
    char scale[40];
    std::snprintf(scale, sizeof scale, "%.15g", request.scale);
    std::string out =
        "Points where the six hues meet (D1 = D2 = D3) for \"" + request.triangleCode +
        "\", rotation " + std::to_string(request.rotation) + ", reverse " +
        (request.reverse ? "on" : "off") + ": " + std::to_string(points.size()) + ".\n" +
        "Each stands for itself and its antipode -P, which has the same D; pixels "
        "are those of the " +
        std::string(projectionName(request.projection)) + " picture at R = " + scale + ".\n";
    out += detail::padded("  #", 5) + detail::padded("x", 20) + detail::padded("y", 20) +
           detail::padded("z", 20) + "k  signs  " + detail::padded("D", 20) + "pixel\n";
    int number = 0;
    for (const SnubPoint& s : points) {
        const Vec3& p = s.point;
        char d[40];
        std::snprintf(d, sizeof d, "%.15g", s.distance);
        std::string pixel;
        if (const auto at = picturePosition(p, request.scale, request.projection)) {
            pixel = detail::pixelText(*at);
        } else if (const auto opposite = picturePosition(-p, request.scale, request.projection)) {
            pixel = "not shown (-P at " + detail::pixelText(*opposite) + ")";
        } else {
            pixel = "not shown";
        }
        const std::string label = std::to_string(++number);
        out += std::string(3 - std::min<std::size_t>(3, label.size()), ' ') + label + "  " +
               detail::padded(detail::coordinateText(p.x), 20) +
               detail::padded(detail::coordinateText(p.y), 20) +
               detail::padded(detail::coordinateText(p.z), 20) + std::to_string(s.sideCount) +
               "  " + detail::signText(s.signs[0]) + detail::signText(s.signs[1]) +
               detail::signText(s.signs[2]) + "    " + detail::padded(d, 20) + pixel + "\n";
    }
    return out;
}

void markSnubPoints(QImage& image, const std::vector<SnubPoint>& points, double R,
                    Projection projection, int zoom) {
    const double k = zoom;
    const double radius = 7.0 * k;  // the middle of the black band
    const double black = 1.0 * k;   // half its width
    const double white = 2.0 * k;   // half the width of black and border together
    const QRgb ink = qRgb(0, 0, 0);
    const QRgb border = qRgb(255, 255, 255);
    for (const SnubPoint& s : points) {
        for (const Vec3& p : {s.point, -s.point}) {
            const std::optional<PicturePosition> at = picturePosition(p, R, projection);
            if (!at) {
                continue;
            }
            // Window coordinate c is output coordinate (c + 0.5) * zoom - 0.5; pixel i is
            // centred on output coordinate i.
            const double cx = (at->col + 0.5) * k - 0.5;
            const double cy = (at->row + 0.5) * k - 0.5;
            const double reach = radius + white;
            const int left = std::max(0, static_cast<int>(std::floor(cx - reach)));
            const int right = std::min(image.width() - 1, static_cast<int>(std::ceil(cx + reach)));
            const int top = std::max(0, static_cast<int>(std::floor(cy - reach)));
            const int bottom =
                std::min(image.height() - 1, static_cast<int>(std::ceil(cy + reach)));
            for (int y = top; y <= bottom; ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = left; x <= right; ++x) {
                    const double off = std::abs(std::hypot(x - cx, y - cy) - radius);
                    if (off <= black) {
                        line[x] = ink;
                    } else if (off <= white) {
                        line[x] = border;
                    }
                }
            }
        }
    }
}

}  // namespace vantu::cli
