// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The fast kernels of the scan engine: a row of samples coloured without trigonometry, each
// colour proven equal to the exact one or marked undecided. Compiled once for each instruction
// set (baseline x86-64, AVX2, AVX-512) and chosen at run time; every variant gives the same
// colours bit for bit. docs/fast-scan.md derives the margins.

#include <array>
#include <cstddef>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"
#include "render/kernel_variant.h"

namespace vantu::detail {

// What a kernel stores for a sample whose colour it could not prove.
inline constexpr PackedColour undecided = -1;

// A sample is decided when each dot product a1, a2, a3 lies farther than dotMargin from zero
// and each difference of two squared distances, as the kernel takes it (Di - Dj) / 4, farther
// than tieMargin from zero. Each margin is a bound on how far the kernel's value can lie from
// the exact computation's (about 5.6e-15 and 8.2e-14), times a safety factor of more than 100.
// The orthographic kernel computes the dot products exactly as the exact computation does and
// needs no dotMargin.
inline constexpr double dotMargin = 0x1p-40;  // about 9.1e-13
inline constexpr double tieMargin = 0x1p-36;  // about 1.5e-11

// The kernels take the squared distances as if the normals were unit vectors, so the margins
// hold only for normals whose squared lengths, as computed, lie within unitTolerance of 1. The
// drawing's normals lie within about 4.2e-15; others are coloured by the exact computation alone.
// In the hyperbolic plane the squared length is the form's, and the tolerance is relative to the
// normals' Euclidean squared length, which grows with the view's move.
inline constexpr double unitTolerance = 0x1p-46;  // about 1.4e-14

// In the planes the exact computation's squared distances carry an error that grows with the
// sizes of the point and of the normals, so a sample is decided when each difference of two
// squared distances, as the kernel takes it, lies farther from zero than tieMargin times
// n^2 |P|^2 (Euclidean plane) or n^4 |P|^2 (hyperbolic plane), with n^2 the largest Euclidean
// squared length of a normal and |P| the point's Euclidean length; in the hyperbolic models
// |P|^2 <= 3 Pz^2. The dot products are the exact computation's own.

// Beyond this n^2, reached by a hyperbolic move of 8 or 9 curvature radii, the margin would
// leave ever more samples undecided, their share growing as e^(2t) with the move's length t: the
// hyperbolic models then take their exact kernels.
inline constexpr double hyperbolicMarginLimit = 0x1p24;

// What the kernels of one of the planes take from the normals.
struct PlaneTerms {
    // 2 <Nj, Nk> for the pair other than mirror i, in the plane's form: the hyperbolic one, or
    // the dot product of the x and y parts in the Euclidean plane.
    std::array<double, 3> twiceDots{};
    // tieMargin times the bound's power of n^2 (and times 3 in the hyperbolic plane): the margin
    // of a sample is this times Pz^2 (hyperbolic) or 1 + X^2 + Y^2 (Euclidean).
    double tieScale = 0.0;
    // Whether the margins hold (and in the hyperbolic plane, are worth taking).
    bool suit = false;
};

// The mirror normals of a drawing with what the kernels take from them, made together once per
// drawing so that they always agree: twice the dot product of each pair, 2 N2.N3, 2 N3.N1 and
// 2 N1.N2, from which the kernels take the squared distances between the mirror images, and
// whether the kernels may be used at all.
class ScanNormals {
public:
    ScanNormals() noexcept : ScanNormals(Mirrors{}) {}
    // Implicit: a scan's normals are the drawing's normals.
    ScanNormals(const Mirrors& normals) noexcept;  // NOLINT(google-explicit-constructor)

    [[nodiscard]] const Mirrors& mirrors() const noexcept { return m_mirrors; }
    // 2 Nj.Nk for the pair (j, k) other than mirror i (0 for mirror 1, 1 for 2, 2 for 3).
    [[nodiscard]] double twiceDotOpposite(int i) const noexcept {
        return m_twiceDots[static_cast<std::size_t>(i)];
    }
    // Whether every normal's squared length lies within unitTolerance of 1, so that the kernels'
    // margins hold.
    [[nodiscard]] bool suitKernels() const noexcept { return m_suitKernels; }
    // The same for the kernels of the hyperbolic and of the Euclidean plane.
    [[nodiscard]] const PlaneTerms& hyperbolic() const noexcept { return m_hyperbolic; }
    [[nodiscard]] const PlaneTerms& euclidean() const noexcept { return m_euclidean; }

private:
    Mirrors m_mirrors;
    std::array<double, 3> m_twiceDots{};
    bool m_suitKernels = false;
    PlaneTerms m_hyperbolic;
    PlaneTerms m_euclidean;
};

// Colours the samples at plane coordinates (xs[i], y), i < count, into out[i]: the colour of
// the exact computation, or `undecided`; returns how many are undecided. `ySquared` is y * y, and
// xs is monotonic, as a row's abscissas are (the disks' kernels rely on it). Raises no
// floating-point fault flag that the exact computation of the same samples would not raise, but
// for the planes' kernels with a margin where X or Pz nears 1e154 (docs/fast-scan.md): such a
// flag sends the row to the checked pass, which draws it the same.
using Kernel = int (*)(const ScanNormals& normals, double y, double ySquared, const double* xs,
                       int count, PackedColour* out);

// The instruction sets a variant may be compiled for, one bit each.
namespace isa {
inline constexpr unsigned avx2 = 1U << 0;
inline constexpr unsigned fma = 1U << 1;
inline constexpr unsigned avx512f = 1U << 2;
inline constexpr unsigned avx512dq = 1U << 3;
inline constexpr unsigned avx512vl = 1U << 4;
inline constexpr unsigned avx512bw = 1U << 5;
}  // namespace isa

// One compiled variant: the instruction sets it needs and the fast path of each projection,
// by its enumerator; null for a projection without one, whose samples all take the exact path.
struct Kernels {
    KernelVariant variant;
    unsigned needs;  // isa bits
    std::array<Kernel, projectionCount> fastPaths;
    // The same for the models of the hyperbolic plane, by the option's enumerator. These compute
    // exactly what the exact computation computes, and take any normals.
    std::array<Kernel, projectionCount> hyperbolicPaths;
    // The hyperbolic models' kernels with a margin, for normals that suit them (PlaneTerms).
    std::array<Kernel, projectionCount> hyperbolicFastPaths;
    // The Euclidean plane's kernel, the same in every option, for normals that suit it.
    Kernel euclidean;

    [[nodiscard]] Kernel of(Projection projection) const noexcept {
        return fastPaths[static_cast<std::size_t>(projection)];
    }
    [[nodiscard]] Kernel hyperbolicOf(Projection projection) const noexcept {
        return hyperbolicPaths[static_cast<std::size_t>(projection)];
    }
    [[nodiscard]] Kernel hyperbolicFastOf(Projection projection) const noexcept {
        return hyperbolicFastPaths[static_cast<std::size_t>(projection)];
    }
};

// The kernels of `variant`, which this build must hold (builtKernelVariants).
[[nodiscard]] const Kernels& kernelsOf(KernelVariant variant) noexcept;

// The instruction sets of the isa bits that this processor and its operating system run.
[[nodiscard]] unsigned processorInstructionSets() noexcept;

// The variant to use on a processor that runs the instruction sets `processor`: the one
// `forced` names, or with `forced` null or empty the fastest it runs. Throws
// std::invalid_argument ("VANTU_KERNELS=avx512: this processor runs baseline and avx2") when
// `forced` names no variant of this build or one that needs more than `processor`.
[[nodiscard]] KernelVariant chooseKernels(const char* forced, unsigned processor);

// The kernels of defaultKernelVariant(); throws as it does.
[[nodiscard]] const Kernels& bestKernels();

}  // namespace vantu::detail
