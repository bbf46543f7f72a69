// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/draw_request.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/correctly_rounded.h"
#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "setup/numeric_prefix.h"
#include "setup/triangle_code.h"
#include "setup/triangle_solver.h"

namespace vantu {
namespace detail {
namespace {

// pi as every drawing computes it.
double drawingPi() {
    return cr::atan(1.0) * 4.0;
}

}  // namespace
}  // namespace detail

VertexAngles permuteAngles(double codeAngle1, double codeAngle2, double codeAngle3, int rotation,
                           bool reverse) noexcept {
    return permuted(VertexAngles{codeAngle1, codeAngle2, codeAngle3}, rotation, reverse);
}

CodeAngles codeAngles(std::string_view code) {
    return parseTriangleCode(code, detail::drawingPi());
}

bool sameTriangle(const DrawRequest& a, const DrawRequest& b) noexcept {
    return a.triangleCode == b.triangleCode && a.notation == b.notation &&
           a.rotation == b.rotation && a.reverse == b.reverse;
}

VertexAngles vertexAngles(const DrawRequest& request, double pi) {
    const CodeAngles code = parseTriangle(request.triangleCode, request.notation, pi);
    return permuteAngles(code[0], code[1], code[2], request.rotation, request.reverse);
}

DrawSetup prepareDrawing(const DrawRequest& request) {
    DrawSetup setup;
    setup.pi = detail::drawingPi();
    const VertexAngles v = vertexAngles(request, setup.pi);
    if (request.notation == TriangleNotation::code) {
        try {
            setup.normals = solveMirrors(v[0], v[1], v[2]);
        } catch (const DrawError& e) {
            // A code is always solved on the sphere; one of a plane's triangles faults as it
            // always has, with a hint of the notation that draws it.
            const std::optional<std::string> hint = planeNotationHint(request.triangleCode);
            if (!hint) {
                throw;
            }
            throw DrawError(e.kind(), e.stage(), "solving the triangle",
                            std::string(e.what()) + "; " + *hint);
        }
        return setup;
    }
    requireProperTriangle(request.triangleCode, request.notation);
    setup.geometry = triangleGeometry(exactFractions(request.triangleCode, request.notation));
    try {
        setup.normals = solveMirrors(v[0], v[1], v[2], setup.geometry);
    } catch (const DrawError& e) {
        // A proper triangle, exactly, whose angles as doubles lie too near a degenerate one. The
        // angles in the order of the text: the same words for every rotation and reverse.
        const CodeAngles a = parseTriangle(request.triangleCode, request.notation, setup.pi);
        throw DrawError(
            e.kind(), FaultStage::triangle, "solving the triangle",
            "the triangle " + quotedText(request.triangleCode) +
                " is too thin to draw: its angles " + formatDegrees(a[0]) + "\u00b0, " +
                formatDegrees(a[1]) + "\u00b0, " + formatDegrees(a[2]) +
                "\u00b0 lie too near those of no triangle for its mirrors to be solved");
    }
    return setup;
}

double readScale(std::string_view text) {
    const double scale = numericPrefix(text);
    if (const detail::Fault fault = detail::valueFault(scale)) {
        throw DrawError(
            fault.kind, FaultStage::scale, "reading the scale",
            "the scale R " + quotedText(text) + " is beyond the range of numbers: " + fault.text);
    }
    return scale;
}

std::string pictureFileName(const DrawRequest& request) {
    return pictureNameStem(request) + ".png";
}

std::string pictureNameStem(const DrawRequest& request) {
    constexpr std::size_t maxLabel = 32;
    const std::string_view code = request.triangleCode;
    std::string word;
    if (request.notation == TriangleNotation::schwarz) {
        for (std::size_t i = 0; i < code.size(); ++i) {
            if (code[i] == ' ' || code[i] == '\t') {
                continue;
            }
            if (!word.empty() && (code[i - 1] == ' ' || code[i - 1] == '\t')) {
                word += '-';
            }
            word += code[i];
        }
    } else {
        const std::size_t start = std::min(code.find_first_not_of(' '), code.size());
        word = code.substr(start, code.find(' ', start) - start);
    }
    std::string label;
    for (const char c : std::string_view(word).substr(0, maxLabel)) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_';
        label += kept ? c : '_';
    }
    if (label.empty()) {
        label = "picture";
    } else if (label.front() == '-') {
        label.front() = '_';
    }
    return label + "-r" + std::to_string(request.rotation) + (request.reverse ? "-rev" : "") + "-" +
           std::string(projectionName(request.projection));
}

}  // namespace vantu
