// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What the tests of pictures share: the request for a drawing written in one expression, and
// two pictures compared pixel for pixel.

#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <utility>

#include "geometry/projection.h"
#include "setup/draw_request.h"
#include "setup/triangle_notation.h"

namespace vantu::testing_support {

// A DrawRequest in one expression: drawRequest() is the start-up picture's, and each call below
// returns a copy with one input changed, which converts to the DrawRequest, as in
//   drawRequest("411 3/1:4/3:4/1").rotation(2).reverse().projection(Projection::gnomonic)
class RequestBuilder {
public:
    explicit RequestBuilder(DrawRequest request = {}) : m_request(std::move(request)) {}

    [[nodiscard]] RequestBuilder rotation(int rotation) const {
        return changed([&](DrawRequest& r) { r.rotation = rotation; });
    }
    [[nodiscard]] RequestBuilder reverse(bool reverse = true) const {
        return changed([&](DrawRequest& r) { r.reverse = reverse; });
    }
    [[nodiscard]] RequestBuilder scale(double scale) const {
        return changed([&](DrawRequest& r) { r.scale = scale; });
    }
    [[nodiscard]] RequestBuilder projection(Projection projection) const {
        return changed([&](DrawRequest& r) { r.projection = projection; });
    }

    // Implicit, so that a builder stands wherever a request is taken.
    operator DrawRequest() const { return m_request; }

private:
    template <class Change>
    [[nodiscard]] RequestBuilder changed(Change change) const {
        RequestBuilder copy = *this;
        change(copy.m_request);
        return copy;
    }

    DrawRequest m_request;
};

// The start-up picture's request.
[[nodiscard]] inline RequestBuilder drawRequest() {
    return RequestBuilder{};
}

// The start-up picture's request with the triangle `text` in `notation`.
[[nodiscard]] inline RequestBuilder drawRequest(
    std::string text, TriangleNotation notation = TriangleNotation::code) {
    DrawRequest request;
    request.triangleCode = std::move(text);
    request.notation = notation;
    return RequestBuilder{std::move(request)};
}

// The start-up picture's request with the triangle `text` in the usual notation: "5/2 3 3".
[[nodiscard]] inline RequestBuilder schwarzRequest(std::string text) {
    return drawRequest(std::move(text), TriangleNotation::schwarz);
}

// Where two pictures are compared: `width` x `height` pixels from (left, top).
struct PixelArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Whether two pictures agree in every pixel of `area`, read as 32-bit values through
// `actual(x, y)` and `expected(x, y)`. The failure says how many pixels differ and which is the
// first, row by row, with both its values in hexadecimal.
template <class Actual, class Expected>
[[nodiscard]] ::testing::AssertionResult samePixels(const Actual& actual, const Expected& expected,
                                                    const PixelArea& area) {
    int differing = 0;
    std::ostringstream first;
    for (int y = area.top; y < area.top + area.height; ++y) {
        for (int x = area.left; x < area.left + area.width; ++x) {
            const auto a = static_cast<std::uint32_t>(actual(x, y));
            const auto e = static_cast<std::uint32_t>(expected(x, y));
            if (a != e) {
                if (differing == 0) {
                    first << "(" << x << ", " << y << ") is #" << std::hex << std::setfill('0')
                          << std::setw(8) << a << ", not #" << std::setw(8) << e;
                }
                ++differing;
            }
        }
    }
    if (differing == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << differing << " pixels differ; the first, " << first.str();
}

}  // namespace vantu::testing_support
