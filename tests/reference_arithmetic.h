// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The plain arithmetic both reference renderings share: the elementary functions rounded once
// by MPFR, squares by one multiplication, and the fault flags.

#include <mpfr.h>

namespace vantu::reference_arithmetic {

// Whether an invalid operation, a division by zero or an overflow has raised its flag since the
// flags were last cleared.
[[nodiscard]] bool faulted();

// f(x) rounded to the nearest double, ties to even: through MPFR at 53 bits with the exponent
// range of doubles. Slow and plain.
[[nodiscard]] double rounded(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double x);

// x * x, rounded once. Not std::pow(x, 2.0): the compiler folds that into this product only when
// it optimises, and the C library's pow is off by an ulp from it for about one argument in a
// thousand, which moved a few pixels of a long move's picture in the unoptimised build.
[[nodiscard]] inline double squared(double x) {
    return x * x;
}

}  // namespace vantu::reference_arithmetic
