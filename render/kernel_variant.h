// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The variants of the fast kernels by name, without the kernels themselves: every variant gives
// the same colours bit for bit, compiled for a different instruction set and chosen at run time.

#include <optional>
#include <span>
#include <string>

namespace vantu {

// A compiled variant of the fast kernels.
enum class KernelVariant {
    baseline,  // x86-64 (or the target's own) without extensions
    avx2,      // AVX2 and FMA
    avx512,    // AVX-512 F, DQ, VL and BW
};

// The variant's name: "baseline", "avx2", "avx512".
[[nodiscard]] const char* nameOf(KernelVariant variant) noexcept;

// Every variant this build holds, baseline first.
[[nodiscard]] std::span<const KernelVariant> builtKernelVariants() noexcept;

// Whether this build holds `variant` and this processor (and its operating system) runs it.
[[nodiscard]] bool runsHere(KernelVariant variant) noexcept;

// The variant every picture renders with unless told otherwise: the one the environment
// variable VANTU_KERNELS names (baseline, avx2 or avx512; for tests and bug reports), or, when
// it is unset or empty, the fastest this processor runs. Reads the environment once. Throws
// std::invalid_argument with kernelChoiceError's sentence when VANTU_KERNELS cannot be followed.
[[nodiscard]] KernelVariant defaultKernelVariant();

// Why VANTU_KERNELS cannot be followed, for example "VANTU_KERNELS=avx512: this processor runs
// baseline and avx2", or nothing when it can. The programs check it before drawing anything.
[[nodiscard]] std::optional<std::string> kernelChoiceError();

}  // namespace vantu
