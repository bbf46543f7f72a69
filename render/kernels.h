// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The fast kernels of the scan engine: a row of samples coloured without trigonometry, each
// colour proven equal to the exact one or marked undecided. Compiled once for each instruction
// set (baseline x86-64, AVX2, AVX-512) and chosen at run time; every variant gives the same
// colours bit for bit. docs/fast-scan.md derives the margins.

#include <span>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"

namespace vantu::detail {

// What a kernel stores for a sample whose colour it could not prove.
inline constexpr PackedColour undecided = -1;

// A sample is decided when each dot product a1, a2, a3 lies farther than dotMargin from zero
// and each difference of two squared distances farther than distanceMargin from zero. Each
// margin is a bound on how far the kernel's value can lie from the exact computation's (about
// 5.9e-15 and 2.3e-13), times a safety factor of more than 100.
inline constexpr double dotMargin = 0x1p-40;       // about 9.1e-13
inline constexpr double distanceMargin = 0x1p-34;  // about 5.8e-11

// Colours the samples at plane coordinates (xs[i], y), i < count, into out[i]: the colour of
// the exact computation, or `undecided`. `ySquared` is y * y. The orthographic kernel computes
// the exact point itself and decides every sample. Raises no floating-point fault flag that the
// exact computation of the same samples would not raise.
using Kernel = void (*)(const Mirrors& normals, double y, double ySquared, const double* xs,
                        int count, PackedColour* out);

// One compiled variant: a kernel for each projection.
struct Kernels {
    const char* name;  // "baseline", "avx2", "avx512"
    Kernel gnomonic;
    Kernel stereographic;
    Kernel orthographic;

    [[nodiscard]] Kernel of(Projection projection) const noexcept {
        switch (projection) {
            case Projection::gnomonic:
                return gnomonic;
            case Projection::stereographic:
                return stereographic;
            case Projection::orthographic:
                break;
        }
        return orthographic;
    }
};

// Every variant this build holds, baseline first.
[[nodiscard]] std::span<const Kernels> kernelVariants() noexcept;

// Whether this processor (and its operating system) runs `kernels`.
[[nodiscard]] bool runsHere(const Kernels& kernels) noexcept;

// The fastest variant this processor runs, chosen once.
[[nodiscard]] const Kernels& bestKernels() noexcept;

}  // namespace vantu::detail
