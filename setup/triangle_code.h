// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <gmpxx.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/geometry.h"

namespace vantu {

// The 44 triangle codes the program offers, in catalogue order: "300 2/1:3/1:3/1" first,
// "592 5/3:5/3:3/2" last. Each has 15 characters: a label, a blank and three fractions p/q, each
// giving the vertex angle (pi / p) * q.
inline constexpr std::array<std::string_view, 44> catalogue = {
    "300 2/1:3/1:3/1", "301 2/1:3/2:3/1", "302 2/1:3/2:3/2", "310 3/2:3/1:3/1", "311 3/2:3/2:3/2",
    "400 2/1:3/1:4/1", "401 2/1:3/2:4/1", "402 2/1:3/1:4/3", "403 2/1:3/2:4/3", "410 3/2:4/1:4/1",
    "411 3/1:4/3:4/1", "412 3/2:4/3:4/3", "500 2/1:3/1:5/1", "501 2/1:3/2:5/1", "502 2/1:3/1:5/4",
    "503 2/1:3/2:5/4", "510 5/2:3/1:3/1", "511 5/3:3/2:3/1", "512 5/2:3/2:3/2", "520 3/2:5/1:5/1",
    "521 3/1:5/4:5/1", "522 3/2:5/4:5/4", "530 2/1:5/2:5/1", "531 2/1:5/3:5/1", "532 2/1:5/2:5/4",
    "533 2/1:5/3:5/4", "540 5/3:3/1:5/1", "541 5/2:3/2:5/1", "542 5/2:3/1:5/4", "543 5/3:3/2:5/4",
    "550 5/2:5/2:5/2", "551 5/3:5/3:5/2", "560 3/2:3/1:5/1", "561 3/1:3/1:5/4", "562 3/2:3/2:5/4",
    "570 5/4:5/1:5/1", "571 5/4:5/4:5/4", "580 2/1:5/2:3/1", "581 2/1:5/3:3/1", "582 2/1:5/2:3/2",
    "583 2/1:5/3:3/2", "590 5/3:5/2:3/1", "591 5/2:5/2:3/2", "592 5/3:5/3:3/2",
};

// The three code angles of a triangle code, in radians, in the order of the code.
using CodeAngles = std::array<double, 3>;

// One angle of a triangle as its fraction of a half turn, multiplier / divisor: the angle is
// (pi / divisor) * multiplier. A code's fraction p/q has the divisor p and the multiplier q; the
// usual notation's n/d has the divisor n and the multiplier d.
struct AngleFraction {
    double divisor = 0.0;
    double multiplier = 0.0;
    friend bool operator==(const AngleFraction&, const AngleFraction&) = default;
};

// The three fractions of a triangle, in the order of its text.
using TriangleFractions = std::array<AngleFraction, 3>;

// One angle's fraction with its whole numbers exactly as written, however many digits they have:
// the angle is multiplier / divisor half turns. The drawing takes the double nearest to each
// (nearestFractions); what is said of the triangle is decided on these.
struct ExactFraction {
    mpz_class divisor;
    mpz_class multiplier;
    // multiplier / divisor in lowest terms: the angle in half turns. The divisor is not 0.
    [[nodiscard]] mpq_class halfTurns() const;
};

// The three exact fractions of a triangle, in the order of its text.
using ExactFractions = std::array<ExactFraction, 3>;

// The double nearest to `whole`, an infinity beyond the range of doubles.
[[nodiscard]] double nearestDouble(const mpz_class& whole);

// Each whole number of `fractions` as its nearest double.
[[nodiscard]] TriangleFractions nearestFractions(const ExactFractions& fractions);

// What a code looks like, for the end of a message about a code that does not read as one.
inline constexpr std::string_view codeForm =
    "(a code reads as a label, a blank and three fractions p/q, as in \"300 2/1:3/1:3/1\")";

// The fractions of `text` read as parseTriangleCode reads them: numericPrefix of the one
// character at positions 5 and 7, 9 and 11, 13 and 15; 0 for a non-digit or a missing one.
[[nodiscard]] TriangleFractions codeFractions(std::string_view text) noexcept;

// codeFractions as exact whole numbers (each from 0 to 9).
[[nodiscard]] ExactFractions exactCodeFractions(std::string_view text);

// Parses `text` into its three code angles, fraction 1 first. Only the characters at positions
// 5, 7, 9, 11, 13 and 15 (counted in characters from 1) are read, one each, with numericPrefix:
// a non-digit or a missing character reads as 0. Angle i is (pi / p) * q. Throws DrawError
// (division by zero) at the first divisor that reads as 0, before the next fraction is read; its
// message ends with codeForm.
[[nodiscard]] CodeAngles parseTriangleCode(std::string_view text, double pi);

// The geometry of the triangle whose angles are `fractions`, decided exactly from the fractions
// and never from rounded angles: the sign of d1/n1 + d2/n2 + d3/n3 - 1, the sum of the angles in
// half turns less one half turn. Spherical when it is positive, Euclidean when it is zero,
// hyperbolic when it is negative. The divisors are not 0; whether the angles bound a triangle at
// all is triangleDefect's question.
[[nodiscard]] Geometry triangleGeometry(const ExactFractions& fractions);

// Why the angles of `fractions` bound no proper triangle in any of the three geometries, in words
// for a user; nothing when they do. The test is exact, on the fractions, so that it holds for
// every rotation and reverse of the angles alike: each angle lies strictly between 0 and 180
// degrees, and when their sum exceeds 180 degrees (a triangle of the sphere, triangleGeometry)
// any two of them sum to less than the third plus 180 degrees. A sum of 180 degrees or less is a
// triangle of the Euclidean or the hyperbolic plane. The divisors are not 0. The angles are named
// in degrees as the drawing computes them, from the nearest doubles.
[[nodiscard]] std::optional<std::string> triangleDefect(const ExactFractions& fractions);

// Why the angles of `fractions` bound no proper spherical triangle: triangleDefect's words, or,
// for a triangle of a plane, that their sum is not more than 180 degrees. Nothing when they bound
// one. For what only the sphere has: its finite groups and the search of its snub points.
[[nodiscard]] std::optional<std::string> sphericalDefect(const ExactFractions& fractions);

// triangleDefect for the angles of the code `text`, read as parseTriangleCode reads them. Throws
// DrawError as parseTriangleCode does.
[[nodiscard]] std::optional<std::string> triangleDefect(std::string_view text);

namespace detail {

// The character at 1-based `position` of UTF-8 `text` as its bytes, or an empty view when the
// text is shorter. A byte that cannot start a UTF-8 sequence counts as one character.
[[nodiscard]] std::string_view characterAt(std::string_view text, int position) noexcept;

}  // namespace detail
}  // namespace vantu
