// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/kernels.h"

#include <array>
#include <functional>
#include <string_view>

namespace vantu::detail {

namespace baseline {
extern const Kernels kernels;
}
#if defined(VANTU_X86_KERNELS)
namespace avx2 {
extern const Kernels kernels;
}
namespace avx512 {
extern const Kernels kernels;
}
#endif

namespace {

#if defined(VANTU_X86_KERNELS)
const std::array<Kernels, 3> variants = {baseline::kernels, avx2::kernels, avx512::kernels};
#else
const std::array<Kernels, 1> variants = {baseline::kernels};
#endif

}  // namespace

std::span<const Kernels> kernelVariants() noexcept {
    return variants;
}

bool runsHere(const Kernels& kernels) noexcept {
#if defined(VANTU_X86_KERNELS)
    // The instruction sets each variant is compiled for; the checks include the operating
    // system's support for the wider registers.
    const std::string_view name = kernels.name;
    if (name == "avx2") {
        return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
    }
    if (name == "avx512") {
        return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0 &&
               __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512dq") != 0 &&
               __builtin_cpu_supports("avx512vl") != 0 && __builtin_cpu_supports("avx512bw") != 0;
    }
#else
    (void)kernels;
#endif
    return true;
}

const Kernels& bestKernels() noexcept {
    static const Kernels& best = [] {
        const Kernels* chosen = &variants.front();
        for (const Kernels& k : variants) {
            if (runsHere(k)) {
                chosen = &k;
            }
        }
        return std::ref(*chosen);
    }();
    return best;
}

}  // namespace vantu::detail
