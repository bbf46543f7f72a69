// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The parts of the correctly rounded functions whose error bounds the tests check on their own.

namespace vantu::cr::detail {

// x - k pi/2 for the k nearest x / (pi/2), as the double-word hi + lo, for |x| up to the reach
// of the fast sine and cosine (k from -5 to 5). pi/2 is carried as three doubles, to about
// 160 bits, so that hi + lo is within `error` of the exact difference even where it cancels
// all but the last bits of x.
struct QuarterTurns {
    static constexpr double error = 0x1p-150;
    double k;
    double hi;
    double lo;
};
[[nodiscard]] QuarterTurns reduceByQuarterTurns(double x) noexcept;

}  // namespace vantu::cr::detail
