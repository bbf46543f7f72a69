// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_code.h"

#include <mpfr.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
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

mpq_class ExactFraction::halfTurns() const {
    mpq_class q(multiplier, divisor);
    q.canonicalize();
    return q;
}

double nearestDouble(const mpz_class& whole) {
    // Past 1024 bits it is beyond the range of doubles, and MPFR needs no such precision to say so.
    const std::size_t bits = mpz_sizeinbase(whole.get_mpz_t(), 2);
    if (bits > 1024) {
        return sgn(whole) < 0 ? -std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::infinity();
    }
    mpfr_t exact;
    mpfr_init2(exact, static_cast<mpfr_prec_t>(std::max<std::size_t>(bits, 53)));
    mpfr_set_z(exact, whole.get_mpz_t(), MPFR_RNDN);
    const double nearest = mpfr_get_d(exact, MPFR_RNDN);
    mpfr_clear(exact);
    return nearest;
}

TriangleFractions nearestFractions(const ExactFractions& fractions) {
    TriangleFractions nearest{};
    for (std::size_t i = 0; i < 3; ++i) {
        nearest[i] = {nearestDouble(fractions[i].divisor), nearestDouble(fractions[i].multiplier)};
    }
    return nearest;
}

ExactFractions exactCodeFractions(std::string_view text) {
    const TriangleFractions digits = codeFractions(text);
    ExactFractions fractions;
    for (std::size_t i = 0; i < 3; ++i) {
        fractions[i] = {mpz_class(digits[i].divisor), mpz_class(digits[i].multiplier)};
    }
    return fractions;
}

Geometry triangleGeometry(const ExactFractions& fractions) {
    const mpq_class sum =
        fractions[0].halfTurns() + fractions[1].halfTurns() + fractions[2].halfTurns();
    const int sign = cmp(sum, 1);
    return sign > 0 ? Geometry::spherical : sign == 0 ? Geometry::euclidean : Geometry::hyperbolic;
}

namespace {

// "the angles 90°, 60°, 30°" with the angles of `fractions` as the drawing computes them, and
// the angle `i` alone: "60°".
struct AngleWords {
    explicit AngleWords(const ExactFractions& fractions) : nearest(nearestFractions(fractions)) {}
    [[nodiscard]] std::string operator()(std::size_t i) const {
        const double pi = std::numbers::pi;
        return formatDegrees((pi / nearest[i].divisor) * nearest[i].multiplier) + "\u00b0";
    }
    [[nodiscard]] std::string all() const {
        return "the angles " + (*this)(0) + ", " + (*this)(1) + ", " + (*this)(2);
    }
    TriangleFractions nearest;
};

}  // namespace

std::optional<std::string> triangleDefect(const ExactFractions& fractions) {
    const AngleWords degrees(fractions);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& [p, q] = fractions[i];
        if (!(q > 0 && q < p)) {
            return degrees.all() + " bound no proper triangle: " + degrees(i) +
                   " is not strictly between 0\u00b0 and 180\u00b0";
        }
    }
    // A sum of a half turn or less is a triangle of a plane, whatever the angles.
    if (triangleGeometry(fractions) != Geometry::spherical) {
        return std::nullopt;
    }
    // Angle i is n_i / whole half turns, with whole = p1 p2 p3 and n_i = q_i times the other two
    // divisors: whole numbers, compared exactly. The sign of s1 n1 + s2 n2 + s3 n3 - whole:
    const mpz_class whole = fractions[0].divisor * fractions[1].divisor * fractions[2].divisor;
    const auto compareToWhole = [&](const std::array<int, 3>& signs) {
        mpz_class sum = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const mpz_class term = fractions[i].multiplier * fractions[(i + 1) % 3].divisor *
                                   fractions[(i + 2) % 3].divisor;
            sum += signs[i] > 0 ? term : mpz_class(-term);
        }
        return cmp(sum, whole);
    };
    for (std::size_t i = 0; i < 3; ++i) {
        std::array<int, 3> signs{1, 1, 1};
        signs[i] = -1;
        if (compareToWhole(signs) >= 0) {
            return degrees.all() + " bound no proper spherical triangle: " + degrees((i + 1) % 3) +
                   " + " + degrees((i + 2) % 3) + " is not less than " + degrees(i) +
                   " + 180\u00b0";
        }
    }
    return std::nullopt;
}

std::optional<std::string> sphericalDefect(const ExactFractions& fractions) {
    if (std::optional<std::string> defect = triangleDefect(fractions)) {
        return defect;
    }
    if (triangleGeometry(fractions) != Geometry::spherical) {
        return AngleWords(fractions).all() +
               " bound no proper spherical triangle: their sum is not more than 180\u00b0";
    }
    return std::nullopt;
}

std::optional<std::string> triangleDefect(std::string_view text) {
    (void)parseTriangleCode(text, std::numbers::pi);
    return triangleDefect(exactCodeFractions(text));
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
