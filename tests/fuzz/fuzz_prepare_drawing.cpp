// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// parseTriangle and prepareDrawing on arbitrary codes and texts in the usual notation, rotations
// and reverse flags: each call returns angles and unit normals in the triangle's geometry, or
// throws DrawError; nothing else. A text in the usual notation throws exactly when
// schwarzNotationFault finds a fault, and the exact triangle check gives an answer for any text
// that reads.
//
// Input: one byte of flags (rotation = byte % 4, so 3 stands for an out-of-range value;
// reverse = bit 2; the usual notation = bit 3), then the text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "geometry/draw_error.h"
#include "geometry/geometry.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"
#include "setup/triangle_notation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    vantu::DrawRequest request;
    request.rotation = data[0] % 4;
    request.reverse = (data[0] & 4U) != 0;
    request.triangleCode.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool schwarz = (data[0] & 8U) != 0;
    request.notation = schwarz ? vantu::TriangleNotation::schwarz : vantu::TriangleNotation::code;
    const double pi = std::atan(1.0) * 4.0;
    try {
        for (const double angle :
             vantu::parseTriangle(request.triangleCode, request.notation, pi)) {
            // Digits 1-9 over digits 0-9 of a half turn; any positive angle in the usual notation.
            if (!(angle >= 0.0 && (schwarz || angle <= 9.0 * pi))) {
                std::abort();
            }
        }
        if (schwarz && vantu::schwarzNotationFault(request.triangleCode)) {
            std::abort();
        }
        (void)vantu::triangleDefect(request.triangleCode, request.notation);
    } catch (const vantu::DrawError& e) {
        if (e.stage() != vantu::FaultStage::code) {
            std::abort();
        }
    }
    try {
        const vantu::DrawSetup setup = vantu::prepareDrawing(request);
        for (const vantu::Vec3& n : setup.normals) {
            // A unit normal in its own geometry's terms: on the sphere the dot product, in the
            // hyperbolic plane the form, in the Euclidean plane the line's x and y part alone.
            // The form of a mirror far from the centre is a difference of large squares, so it
            // is 1 only to rounding relative to their sum.
            const double planar = n.y * n.y + n.x * n.x;
            const double squares = planar + n.z * n.z;
            double length = squares;
            double scale = 1.0;
            if (setup.geometry == vantu::Geometry::hyperbolic) {
                length = planar - n.z * n.z;
                scale = squares;
            } else if (setup.geometry == vantu::Geometry::euclidean) {
                length = planar;
            }
            if (!(std::fabs(length - 1.0) < 1e-12 * scale)) {
                std::abort();
            }
        }
    } catch (const vantu::DrawError& e) {
        if (std::string(e.what()).empty()) {
            std::abort();
        }
    }
    return 0;
}
