// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/draw_request.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "geometry/correctly_rounded.h"
#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "setup/numeric_prefix.h"
#include "setup/triangle_code.h"
#include "setup/triangle_solver.h"

namespace vantu {

VertexAngles permuteAngles(double codeAngle1, double codeAngle2, double codeAngle3, int rotation,
                           bool reverse) noexcept {
    VertexAngles angles{codeAngle1, codeAngle2, codeAngle3};
    if (rotation == 1) {
        angles = {codeAngle2, codeAngle3, codeAngle1};
    } else if (rotation == 2) {
        angles = {codeAngle3, codeAngle1, codeAngle2};
    }
    if (reverse) {
        std::swap(angles[0], angles[1]);
    }
    return angles;
}

DrawSetup prepareDrawing(const DrawRequest& request) {
    DrawSetup setup;
    setup.pi = cr::atan(1.0) * 4.0;
    const CodeAngles code = parseTriangleCode(request.triangleCode, setup.pi);
    const VertexAngles v =
        permuteAngles(code[0], code[1], code[2], request.rotation, request.reverse);
    setup.normals = solveMirrors(v[0], v[1], v[2]);
    return setup;
}

double readScale(std::string_view text) {
    const double scale = numericPrefix(text);
    if (const detail::Fault fault = detail::valueFault(scale)) {
        // Quote at most 40 bytes, cut at a character boundary, with the characters that would
        // garble the message escaped.
        std::size_t shown = std::min<std::size_t>(text.size(), 40);
        while (shown > 0 && shown < text.size() &&
               (static_cast<unsigned char>(text[shown]) & 0xC0U) == 0x80U) {
            --shown;
        }
        throw DrawError(fault.kind, FaultStage::scale, "reading the scale",
                        "the scale R \"" + escapeText(text.substr(0, shown)) +
                            (shown < text.size() ? "..." : "") +
                            "\" is beyond the range of numbers: " + fault.text);
    }
    return scale;
}

std::string pictureFileName(const DrawRequest& request) {
    return pictureNameStem(request) + ".png";
}

std::string pictureNameStem(const DrawRequest& request) {
    constexpr std::size_t maxLabel = 32;
    const std::string_view code = request.triangleCode;
    const std::size_t start = std::min(code.find_first_not_of(' '), code.size());
    const std::string_view word = code.substr(start, code.find(' ', start) - start);
    std::string label;
    for (const char c : word.substr(0, maxLabel)) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_';
        label += kept ? c : '_';
    }
    if (label.empty()) {
        label = "picture";
    }
    return label + "-r" + std::to_string(request.rotation) + (request.reverse ? "-rev" : "") + "-" +
           std::string(projectionName(request.projection));
}

}  // namespace vantu
