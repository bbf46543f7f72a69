// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_code.h"

#include <mpfr.h>

#include <array>
#include <cstddef>
#include <numbers>
#include <string>

#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "setup/numeric_prefix.h"

namespace vantu {

TriangleFractions codeFractions(std::string_view text) noexcept {
    TriangleFractions fractions{};
    for (std::size_t i = 0; i < 3; ++i) {
        const int divisorPosition = 5 + 4 * static_cast<int>(i);
        fractions[i] = {numericPrefix(detail::characterAt(text, divisorPosition)),
                        numericPrefix(detail::characterAt(text, divisorPosition + 2))};
    }
    return fractions;
}

CodeAngles parseTriangleCode(std::string_view text, double pi) {
    const TriangleFractions fractions = codeFractions(text);
    CodeAngles angles{};
    for (int fraction = 0; fraction < 3; ++fraction) {
        const int divisorPosition = 5 + 4 * fraction;
        const auto [p, q] = fractions[static_cast<std::size_t>(fraction)];
        if (const detail::Fault fault = detail::divisionFault(pi, p)) {
            const std::string where = " at position " + std::to_string(divisorPosition) +
                                      " (fraction " + std::to_string(fraction + 1) + ")";
            const std::string what = detail::characterAt(text, divisorPosition) == "0"
                                         ? "the triangle code has the divisor 0" + where
                                         : "the triangle code has no divisor digit" + where;
            throw DrawError(fault.kind, FaultStage::code,
                            "fraction " + std::to_string(fraction + 1),
                            what + ": " + fault.text + " " + std::string(codeForm));
        }
        angles[static_cast<std::size_t>(fraction)] = (pi / p) * q;
    }
    return angles;
}

namespace {

// A whole number as large as a double holds, and products of three of them, exactly.
class Exact {
public:
    explicit Exact(double value) {
        mpfr_init2(m_value, precision);
        mpfr_set_d(m_value, value, MPFR_RNDN);
    }
    Exact(const Exact&) = delete;
    Exact& operator=(const Exact&) = delete;
    ~Exact() { mpfr_clear(m_value); }

    Exact& operator*=(const Exact& other) {
        mpfr_mul(m_value, m_value, other.m_value, MPFR_RNDN);
        return *this;
    }
    // Adds `sign` (+1 or -1) times `other`.
    void add(int sign, const Exact& other) {
        (sign > 0 ? mpfr_add : mpfr_sub)(m_value, m_value, other.m_value, MPFR_RNDN);
    }
    [[nodiscard]] int compare(const Exact& other) const { return mpfr_cmp(m_value, other.m_value); }

private:
    // Enough bits for the sum of three products of three whole doubles (each below 2^1024).
    static constexpr mpfr_prec_t precision = 3 * 1024 + 64;
    mpfr_t m_value;
};

}  // namespace

std::optional<std::string> triangleDefect(const TriangleFractions& fractions) {
    const double pi = std::numbers::pi;
    const auto degrees = [&](std::size_t i) {
        return formatDegrees((pi / fractions[i].divisor) * fractions[i].multiplier) + "\u00b0";
    };
    const std::string named = "the angles " + degrees(0) + ", " + degrees(1) + ", " + degrees(2) +
                              " bound no proper spherical triangle: ";
    for (std::size_t i = 0; i < 3; ++i) {
        const auto [p, q] = fractions[i];
        if (!(q > 0.0 && q < p)) {
            return named + degrees(i) + " is not strictly between 0\u00b0 and 180\u00b0";
        }
    }
    // Angle i is n_i / whole half turns, with whole = p1 p2 p3 and n_i = q_i times the other two
    // divisors: whole numbers, compared exactly. The sign of s1 n1 + s2 n2 + s3 n3 - whole:
    Exact whole(fractions[0].divisor);
    whole *= Exact(fractions[1].divisor);
    whole *= Exact(fractions[2].divisor);
    const auto compareToWhole = [&](const std::array<int, 3>& signs) {
        Exact sum(0.0);
        for (std::size_t i = 0; i < 3; ++i) {
            Exact term(fractions[i].multiplier);
            term *= Exact(fractions[(i + 1) % 3].divisor);
            term *= Exact(fractions[(i + 2) % 3].divisor);
            sum.add(signs[i], term);
        }
        return sum.compare(whole);
    };
    if (compareToWhole({1, 1, 1}) <= 0) {
        return named + "their sum is not more than 180\u00b0";
    }
    for (std::size_t i = 0; i < 3; ++i) {
        std::array<int, 3> signs{1, 1, 1};
        signs[i] = -1;
        if (compareToWhole(signs) >= 0) {
            return named + degrees((i + 1) % 3) + " + " + degrees((i + 2) % 3) +
                   " is not less than " + degrees(i) + " + 180\u00b0";
        }
    }
    return std::nullopt;
}

std::optional<std::string> triangleDefect(std::string_view text) {
    (void)parseTriangleCode(text, std::numbers::pi);
    return triangleDefect(codeFractions(text));
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
