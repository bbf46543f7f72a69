// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The fast kernels, compiled once per instruction set by kernels_*.cpp, each defining
// VANTU_KERNEL_VARIANT to the name of its namespace and of its KernelVariant. Plain loops over a
// row of samples that the compiler vectorises: no branches, no calls, every choice a select.
//
// Each variant's source file includes it once, in its own namespace; it has no include guard,
// being meant for exactly that. The instruction sets the variant needs are those its compiler
// flags (set in the root CMakeLists.txt) let the compiler use, read from the compiler's own
// macros, so the dispatch checks exactly what the code may execute.

#include <cmath>

#include "render/colour_rule.h"
#include "render/kernels.h"

namespace vantu::detail::VANTU_KERNEL_VARIANT {
namespace {

// The colour of the point p for the normals, with the rule of pixelColour written as selects,
// and whether it is proven: `decided` says whether every comparison the colour rests on is
// clear of its margin (always true with `exact`, where p is the exact point itself).
template <bool exact>
[[gnu::always_inline]] inline double colourOrUndecided(const double (&n)[9], double px, double py,
                                                       double pz) {
    const double a1 = (n[0] * px + n[1] * py) + n[2] * pz;
    const double a2 = (n[3] * px + n[4] * py) + n[5] * pz;
    const double a3 = (n[6] * px + n[7] * py) + n[8] * pz;
    const double t1 = 2.0 * a1;
    const double t2 = 2.0 * a2;
    const double t3 = 2.0 * a3;
    const double q1x = px - t1 * n[0];
    const double q1y = py - t1 * n[1];
    const double q1z = pz - t1 * n[2];
    const double q2x = px - t2 * n[3];
    const double q2y = py - t2 * n[4];
    const double q2z = pz - t2 * n[5];
    const double q3x = px - t3 * n[6];
    const double q3y = py - t3 * n[7];
    const double q3z = pz - t3 * n[8];
    const double d1 =
        ((q2y - q3y) * (q2y - q3y) + (q2x - q3x) * (q2x - q3x)) + (q2z - q3z) * (q2z - q3z);
    const double d2 =
        ((q3y - q1y) * (q3y - q1y) + (q3x - q1x) * (q3x - q1x)) + (q3z - q1z) * (q3z - q1z);
    const double d3 =
        ((q1y - q2y) * (q1y - q2y) + (q1x - q2x) * (q1x - q2x)) + (q1z - q2z) * (q1z - q2z);

    // The colour rule of render/colour_rule.h in its closed form, as selects on doubles.
    const double k = colour_rule::sideCount((a1 >= 0.0 ? 1.0 : 0.0) + (a2 >= 0.0 ? 1.0 : 0.0) +
                                            (a3 >= 0.0 ? 1.0 : 0.0));
    const double bright = colour_rule::brightChannel(k);  // a comparison that does not hold
    const double dim = colour_rule::dimChannel(k);        // one that holds
    const double colour =
        packColour(d1 > d2 ? dim : bright, d2 > d3 ? dim : bright, d3 > d1 ? dim : bright);
    if constexpr (exact) {
        return colour;
    } else {
        const auto smaller = [](double a, double b) { return a < b ? a : b; };
        const double nearestDot = smaller(smaller(std::fabs(a1), std::fabs(a2)), std::fabs(a3));
        const double nearestTie =
            smaller(smaller(std::fabs(d1 - d2), std::fabs(d2 - d3)), std::fabs(d3 - d1));
        const bool decided = (nearestDot > dotMargin) & (nearestTie > distanceMargin);
        return decided ? colour : static_cast<double>(undecided);
    }
}

void loadNormals(const Mirrors& normals, double (&n)[9]) {
    for (int i = 0; i < 3; ++i) {
        const Vec3& v = normals[static_cast<std::size_t>(i)];
        n[3 * i] = v.x;
        n[3 * i + 1] = v.y;
        n[3 * i + 2] = v.z;
    }
}

// Stereographic: P = (2X, 2Y, 1 - rho^2) / (1 + rho^2).
void stereographic(const Mirrors& normals, double y, double ySquared, const double* xs, int count,
                   PackedColour* out) {
    double n[9];
    loadNormals(normals, n);
    const double twoY = y + y;
    for (int i = 0; i < count; ++i) {
        const double x = xs[i];
        const double rhoSquared = x * x + ySquared;
        const double inverse = 1.0 / (1.0 + rhoSquared);
        out[i] = static_cast<PackedColour>(colourOrUndecided<false>(
            n, (x + x) * inverse, twoY * inverse, (1.0 - rhoSquared) * inverse));
    }
}

// Gnomonic: P = (X, Y, 1) / sqrt(1 + rho^2).
void gnomonic(const Mirrors& normals, double y, double ySquared, const double* xs, int count,
              PackedColour* out) {
    double n[9];
    loadNormals(normals, n);
    for (int i = 0; i < count; ++i) {
        const double x = xs[i];
        const double rhoSquared = x * x + ySquared;
        const double inverse = 1.0 / std::sqrt(1.0 + rhoSquared);
        out[i] = static_cast<PackedColour>(
            colourOrUndecided<false>(n, x * inverse, y * inverse, inverse));
    }
}

// Orthographic: the exact point itself, so the exact colour; grey off the disc. On the disc,
// where xSquared + ySquared < 1, the argument of the square root is never negative (1 - xSquared
// rounds to at least ySquared), so its absolute value is the argument itself; off the disc the
// absolute value keeps the square root, which the compiler computes for every sample, from
// raising a flag.
void orthographic(const Mirrors& normals, double y, double ySquared, const double* xs, int count,
                  PackedColour* out) {
    double n[9];
    loadNormals(normals, n);
    for (int i = 0; i < count; ++i) {
        const double x = xs[i];
        const double xSquared = x * x;
        const bool onSphere = xSquared + ySquared < 1.0;
        const double z = std::sqrt(std::fabs((1.0 - xSquared) - ySquared));
        const double colour = colourOrUndecided<true>(n, x, y, z);
        out[i] = static_cast<PackedColour>(onSphere ? colour : static_cast<double>(grey));
    }
}

// The isa bits of the instruction sets the compiler was allowed for this variant.
constexpr unsigned needs = 0U
#if defined(__AVX2__)
                           | isa::avx2
#endif
#if defined(__FMA__)
                           | isa::fma
#endif
#if defined(__AVX512F__)
                           | isa::avx512f
#endif
#if defined(__AVX512DQ__)
                           | isa::avx512dq
#endif
#if defined(__AVX512VL__)
                           | isa::avx512vl
#endif
#if defined(__AVX512BW__)
                           | isa::avx512bw
#endif
    ;

}  // namespace

extern const Kernels kernels;
const Kernels kernels = {KernelVariant::VANTU_KERNEL_VARIANT, needs, gnomonic, stereographic,
                         orthographic};

}  // namespace vantu::detail::VANTU_KERNEL_VARIANT
