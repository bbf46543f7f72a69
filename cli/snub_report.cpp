// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/snub_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "geometry/projection.h"

namespace vantu::cli {
namespace detail {

std::string coordinateText(double value) {
    if (std::abs(value) < 5e-15) {
        return "0";
    }
    if (!std::isfinite(value)) {
        return std::to_string(value);
    }
    // The decimal exponent after rounding to 15 significant digits sets how many decimals keep
    // 15 of them, as %g does before it turns to exponent form.
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%.14e", value);
    const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    const int decimals = std::max(0, 14 - exponent);
    std::string text(static_cast<std::size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, value)),
                     '\0');
    std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, value);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text;
}

namespace {

// `text` and blanks to `width`, and always at least two, so that the next column stands apart
// even from a value as wide as its column.
std::string padded(std::string text, std::size_t width) {
    text.append(text.size() + 2 < width ? width - text.size() : 2, ' ');
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

std::string snubReport(const DrawRequest& request, const std::vector<SnubPoint>& points,
                       Geometry geometry) {
    char scale[40];
    std::snprintf(scale, sizeof scale, "%.15g", request.scale);
    const bool sphere = geometry == Geometry::spherical;
    std::string out =
        "Points where the six hues meet (D1 = D2 = D3) for \"" + request.triangleCode +
        "\", rotation " + std::to_string(request.rotation) + ", reverse " +
        (request.reverse ? "on" : "off") + ": " + std::to_string(points.size()) + ".\n" +
        (sphere ? std::string("Each stands for itself and its antipode -P, which has the same D")
         : geometry == Geometry::hyperbolic
             ? std::string("Points of the triangle on the hyperboloid <P, P> = -1, z > 0")
             : std::string("Points of the triangle at z = 1, in units of side c")) +
        "; pixels are those of the " + std::string(projectionName(request.projection)) +
        " picture at R = " + scale + ".\n";
    // The coordinate columns as wide as their widest value needs, at least 22 characters.
    std::vector<std::array<std::string, 3>> coordinates;
    std::size_t width = 22;
    for (const SnubPoint& s : points) {
        coordinates.push_back({detail::coordinateText(s.point.x), detail::coordinateText(s.point.y),
                               detail::coordinateText(s.point.z)});
        for (const std::string& c : coordinates.back()) {
            width = std::max(width, c.size() + 2);
        }
    }
    out += detail::padded("  #", 5) + detail::padded("x", width) + detail::padded("y", width) +
           detail::padded("z", width) + "k  signs  " + detail::padded("D", 22) + "pixel\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SnubPoint& s = points[i];
        const Vec3& p = s.point;
        char d[40];
        std::snprintf(d, sizeof d, "%.15g", s.distance);
        std::string pixel;
        if (const auto at = picturePosition(p, request.scale, request.projection, {}, geometry)) {
            pixel = detail::pixelText(*at);
        } else if (const auto opposite =
                       sphere ? picturePosition(-p, request.scale, request.projection)
                              : std::nullopt) {
            pixel = "not shown (-P at " + detail::pixelText(*opposite) + ")";
        } else {
            pixel = "not shown";
        }
        const std::string label = std::to_string(i + 1);
        out += std::string(3 - std::min<std::size_t>(3, label.size()), ' ') + label + "  " +
               detail::padded(coordinates[i][0], width) + detail::padded(coordinates[i][1], width) +
               detail::padded(coordinates[i][2], width) + std::to_string(s.sideCount) + "  " +
               detail::signText(s.signs[0]) + detail::signText(s.signs[1]) +
               detail::signText(s.signs[2]) + "    " + detail::padded(d, 22) + pixel + "\n";
    }
    return out;
}

}  // namespace vantu::cli
