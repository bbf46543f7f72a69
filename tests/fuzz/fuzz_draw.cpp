// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The whole drawing on arbitrary requests, into a sink that checks every call: the picture is
// drawn, or the drawing stops with DrawError and nothing after it, or the half-plane refuses a
// spherical triangle before the drawing starts.
//
// Input: one byte of flags (rotation = byte % 4; reverse = bit 2; projection = ((byte >> 3) & 15)
// % 4, the half-plane included; the usual notation = bit 7, which reaches the Euclidean and the
// hyperbolic plane), then the code, a newline, and the scale text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "geometry/geometry.h"
#include "geometry/projection.h"
#include "setup/draw_request.h"
#include "tests/checking_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t newline = rest.find('\n');
    vantu::DrawRequest request;
    request.rotation = data[0] % 4;
    request.reverse = (data[0] & 4U) != 0;
    request.projection = static_cast<vantu::Projection>(((data[0] >> 3) & 15U) % 4);
    request.notation =
        (data[0] & 128U) != 0 ? vantu::TriangleNotation::schwarz : vantu::TriangleNotation::code;
    request.triangleCode = std::string(rest.substr(0, newline));
    const std::string_view scaleText =
        newline == std::string_view::npos ? std::string_view("120") : rest.substr(newline + 1);

    vantu::testing_support::CheckingSink sink;
    bool fault = false;
    try {
        request.scale = vantu::readScale(scaleText);
        vantu::runDrawing(request, sink);
    } catch (const vantu::DrawError& e) {
        fault = true;
        if (std::string(e.what()).empty()) {
            std::abort();
        }
    } catch (const std::invalid_argument& e) {
        // Only the half-plane refuses, a spherical triangle, in its own words, and before the
        // sink hears of the drawing.
        const std::optional<std::string> refusal =
            vantu::projectionRefusal(request.projection, vantu::Geometry::spherical);
        if (!refusal || e.what() != *refusal || sink.pixelScaleSet) {
            std::abort();
        }
        fault = true;
    }
    sink.finish(fault);
    if (!sink.problem.empty()) {
        std::fprintf(stderr, "bad drawing: %s\n", sink.problem.c_str());
        std::abort();
    }
    return 0;
}
