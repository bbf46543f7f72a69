// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The arctangent, sine and cosine that define a drawing: each returns the double nearest the
// true value, ties to even, as IEEE 754 recommends. Unlike the C library's functions, which are
// not correctly rounded and differ between platforms and versions, these give the same result
// everywhere, so a picture is the same on every platform. A drawing uses these and no others.
//
// Each is evaluated to about 100 bits with a proven error bound and rounded when the bound shows
// the rounding is certain, which is practically always; MPFR decides the rest
// (docs/correct-rounding.md). That costs 0.2 to 0.5 microseconds, twenty times the C library's
// time: the drawing calls them to solve the triangle and for the few pixels the scan's fast
// kernels cannot decide. Each thread keeps its own MPFR state, made on its first use. Finite
// arguments raise no floating-point fault flag.

namespace vantu::cr {

[[nodiscard]] double atan(double x) noexcept;
[[nodiscard]] double sin(double x) noexcept;
[[nodiscard]] double cos(double x) noexcept;

// The hyperbolic cosine and sine, by which a view moves the hyperbolic plane: correctly rounded
// too, straight from MPFR (a drawing calls them a few times, never per pixel). Beyond about
// 710.5 in magnitude the value is infinite, with the sign of the true value, and no flag is
// raised: the caller checks what it stores.
[[nodiscard]] double cosh(double x) noexcept;
[[nodiscard]] double sinh(double x) noexcept;

}  // namespace vantu::cr
