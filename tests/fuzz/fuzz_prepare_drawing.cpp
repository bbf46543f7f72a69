// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// parseTriangleCode and prepareDrawing on arbitrary codes, rotations and reverse flags: each
// call returns angles and unit normals, or throws DrawError; nothing else.
//
// Input: one byte of flags (rotation = byte % 4, so 3 stands for an out-of-range value;
// reverse = bit 2), then the code.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "geometry/draw_error.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    vantu::DrawRequest request;
    request.rotation = data[0] % 4;
    request.reverse = (data[0] & 4U) != 0;
    request.triangleCode.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    const double pi = std::atan(1.0) * 4.0;
    try {
        for (const double angle : vantu::parseTriangleCode(request.triangleCode, pi)) {
            // Digits 1-9 over digits 0-9 of a half turn.
            if (!(angle >= 0.0 && angle <= 9.0 * pi)) {
                std::abort();
            }
        }
    } catch (const vantu::DrawError& e) {
        if (e.stage() != vantu::FaultStage::code) {
            std::abort();
        }
    }
    try {
        const vantu::DrawSetup setup = vantu::prepareDrawing(request);
        for (const vantu::Vec3& n : setup.normals) {
            const double length = (n.y * n.y + n.x * n.x) + n.z * n.z;
            if (!(std::fabs(length - 1.0) < 1e-12)) {
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
