#pragma once

// The arctangent, sine and cosine that define a drawing: each returns the double nearest the
// true value, ties to even, as IEEE 754 recommends. Unlike the C library's functions, which are
// not correctly rounded and differ between platforms and versions, these give the same result
// everywhere, so a picture is the same on every platform. A drawing uses these and no others.
//
// They are slow (about a microsecond): the drawing calls them to solve the triangle and for the
// few pixels the scan's fast kernels cannot decide. Each thread keeps its own working state,
// made on its first call. Finite arguments raise no floating-point fault flag.

namespace vantu::cr {

[[nodiscard]] double atan(double x) noexcept;
[[nodiscard]] double sin(double x) noexcept;
[[nodiscard]] double cos(double x) noexcept;

}  // namespace vantu::cr
