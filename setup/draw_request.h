// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// setup/: turns what the user chose (a DrawRequest) into the mirror normals of a drawing;
// it knows nothing of pictures.

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "geometry/geometry.h"
#include "geometry/projection.h"
#include "geometry/vec3.h"
#include "setup/triangle_code.h"
#include "setup/triangle_notation.h"

namespace vantu {

// The five inputs of one drawing, as the window's controls give them, and the notation of the
// triangle's text: a code for the window, or the usual notation.
struct DrawRequest {
    std::string triangleCode{catalogue.front()};  // the text of the code field, in `notation`
    int rotation = 0;                             // 0, 1 or 2
    bool reverse = false;                         // exchange the first two angles
    double scale = 120.0;                         // R in pixels, not validated
    Projection projection = Projection::stereographic;
    TriangleNotation notation = TriangleNotation::code;
};

// Whether two requests draw the same triangle: the same text in the same notation, turned by the
// same rotation and reverse (R and the projection aside).
[[nodiscard]] bool sameTriangle(const DrawRequest& a, const DrawRequest& b) noexcept;

// Everything the renderer needs apart from R and the projection.
struct DrawSetup {
    double pi = 0.0;  // atan(1) * 4, computed once per drawing
    Mirrors normals;  // N1, N2, N3, in the geometry's own terms (geometry/geometry.h)
    Geometry geometry = Geometry::spherical;
};

// The vertex angles A, B, C.
using VertexAngles = std::array<double, 3>;

// Three values of the code's order (angles, fractions) in the order of the vertices A, B, C: the
// rotation first (1 gives values 2, 3, 1; 2 gives 3, 1, 2; anything else none), then the
// exchange of A and B when `reverse` is set.
template <class T>
[[nodiscard]] constexpr std::array<T, 3> permuted(const std::array<T, 3>& values, int rotation,
                                                  bool reverse) noexcept {
    std::array<T, 3> p = values;
    if (rotation == 1) {
        p = {values[1], values[2], values[0]};
    } else if (rotation == 2) {
        p = {values[2], values[0], values[1]};
    }
    if (reverse) {
        std::swap(p[0], p[1]);
    }
    return p;
}

// Turns the three code angles into A, B, C: permuted.
[[nodiscard]] VertexAngles permuteAngles(double codeAngle1, double codeAngle2, double codeAngle3,
                                         int rotation, bool reverse) noexcept;

// The three angles of `code` in radians as a drawing reads them: parseTriangleCode with the
// drawing's pi. Throws DrawError as parseTriangleCode does.
[[nodiscard]] CodeAngles codeAngles(std::string_view code);

// The angles at A, B and C of the request's triangle as a drawing computes them with `pi`: its
// text read in its notation (parseTriangle), then permuteAngles. Throws DrawError as
// parseTriangle does.
[[nodiscard]] VertexAngles vertexAngles(const DrawRequest& request, double pi);

// Computes pi, parses the triangle's text in its notation (parseTriangle), permutes the angles
// and solves the mirrors. Throws DrawError at the first fault, with nothing computed after it.
// A text in the usual notation must also name a proper triangle (requireProperTriangle, after
// the parse), which is solved in its geometry (triangleGeometry, set in the set-up); when its
// angles as doubles lie too near a degenerate triangle for the mirrors to be solved, the fault
// (stage triangle) says that the triangle, quoted, is too thin to draw, with its angles in the
// order of the text, the same words for every rotation and reverse. A code is solved on the
// sphere as it reads, whatever its angles, and its faults are the solver's; those of a code of a
// plane's triangle end with planeNotationHint's words.
[[nodiscard]] DrawSetup prepareDrawing(const DrawRequest& request);

// Reads the scale box's text: its numericPrefix, checked as a stored value. Throws DrawError
// (overflow) for a number beyond the range of doubles, such as "1e999"; its message quotes the
// text's first 40 bytes through escapeText.
[[nodiscard]] double readScale(std::string_view text);

// The file name a picture of `request` goes by: the code's label, "-r" and the rotation, "-rev"
// when reversed, "-" and the projection's name, and ".png", as in "300-r0-stereo.png" and
// "412-r2-rev-gnome.png". The label is the code's text up to its first blank, leading blanks
// skipped; in the usual notation it is the numbers joined by '-', as in "5_2-3-3-r0-stereo.png".
// At most 32 characters, with every character but ASCII letters, digits, '-' and '_' written as
// '_', and a '-' at its start too, so that no name reads as an option; "picture" when that leaves
// nothing.
[[nodiscard]] std::string pictureFileName(const DrawRequest& request);

// pictureFileName without its ".png": "300-r0-stereo".
[[nodiscard]] std::string pictureNameStem(const DrawRequest& request);

}  // namespace vantu
