// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_code.h"

#include <array>
#include <cstddef>
#include <numbers>
#include <string>

#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "setup/numeric_prefix.h"

namespace vantu {

CodeAngles parseTriangleCode(std::string_view text, double pi) {
    CodeAngles angles{};
    for (int fraction = 0; fraction < 3; ++fraction) {
        const int divisorPosition = 5 + 4 * fraction;
        const std::string_view divisorPiece = detail::characterAt(text, divisorPosition);
        const double p = numericPrefix(divisorPiece);
        const double q = numericPrefix(detail::characterAt(text, divisorPosition + 2));
        if (const detail::Fault fault = detail::divisionFault(pi, p)) {
            const std::string where = " at position " + std::to_string(divisorPosition) +
                                      " (fraction " + std::to_string(fraction + 1) + ")";
            const std::string what = divisorPiece == "0"
                                         ? "the triangle code has the divisor 0" + where
                                         : "the triangle code has no divisor digit" + where;
            throw DrawError(fault.kind, FaultStage::code,
                            "fraction " + std::to_string(fraction + 1), what + ": " + fault.text);
        }
        angles[static_cast<std::size_t>(fraction)] = (pi / p) * q;
    }
    return angles;
}

std::optional<std::string> triangleDefect(std::string_view text) {
    const double pi = std::numbers::pi;
    const CodeAngles angles = parseTriangleCode(text, pi);
    // Angle i is q_i / p_i half turns; with the half turn as `whole`, each is a whole number.
    std::array<long, 3> p{};
    std::array<long, 3> q{};
    for (std::size_t i = 0; i < 3; ++i) {
        const int position = 5 + 4 * static_cast<int>(i);
        p[i] = static_cast<long>(numericPrefix(detail::characterAt(text, position)));
        q[i] = static_cast<long>(numericPrefix(detail::characterAt(text, position + 2)));
    }
    const long whole = p[0] * p[1] * p[2];
    std::array<long, 3> n{};
    for (std::size_t i = 0; i < 3; ++i) {
        n[i] = q[i] * (whole / p[i]);
    }
    const auto degrees = [&](std::size_t i) { return formatDegrees(angles[i]) + "\u00b0"; };
    const std::string named = "the angles " + degrees(0) + ", " + degrees(1) + ", " + degrees(2) +
                              " bound no proper spherical triangle: ";
    for (std::size_t i = 0; i < 3; ++i) {
        if (n[i] <= 0 || n[i] >= whole) {
            return named + degrees(i) + " is not strictly between 0\u00b0 and 180\u00b0";
        }
    }
    if (n[0] + n[1] + n[2] <= whole) {
        return named + "their sum is not more than 180\u00b0";
    }
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t j = (i + 1) % 3;
        const std::size_t k = (i + 2) % 3;
        if (n[j] + n[k] - n[i] >= whole) {
            return named + degrees(j) + " + " + degrees(k) + " is not less than " + degrees(i) +
                   " + 180\u00b0";
        }
    }
    return std::nullopt;
}

namespace detail {

std::string_view characterAt(std::string_view text, int position) noexcept {
    const auto isContinuation = [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
    };
    std::size_t i = 0;
    for (int current = 1; i < text.size(); ++current) {
        std::size_t end = i + 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xC0U) {
            while (end < text.size() && isContinuation(text[end]) && end - i < 4) {
                ++end;
            }
        }
        if (current == position) {
            return text.substr(i, end - i);
        }
        i = end;
    }
    return {};
}

}  // namespace detail
}  // namespace vantu
