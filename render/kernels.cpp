// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/kernels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantu {
namespace detail {

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

// Every variant this build holds, slowest first.
#if defined(VANTU_X86_KERNELS)
const std::array<const Kernels*, 3> variants = {&baseline::kernels, &avx2::kernels,
                                                &avx512::kernels};
constexpr std::array<KernelVariant, 3> built = {KernelVariant::baseline, KernelVariant::avx2,
                                                KernelVariant::avx512};
#else
const std::array<const Kernels*, 1> variants = {&baseline::kernels};
constexpr std::array<KernelVariant, 1> built = {KernelVariant::baseline};
#endif

bool runsOn(const Kernels& kernels, unsigned processor) noexcept {
    return (kernels.needs & ~processor) == 0U;
}

// The hyperbolic form <u, v>, summed as the colouring sums it.
double form(const Vec3& u, const Vec3& v) noexcept {
    return (u.y * v.y + u.x * v.x) - u.z * v.z;
}

// The dot product of the x and y parts, the Euclidean plane's.
double planarDot(const Vec3& u, const Vec3& v) noexcept {
    return u.x * v.x + u.y * v.y;
}

// The largest Euclidean squared length of the normals, as computed.
double largestSquaredLength(const Mirrors& normals) noexcept {
    double largest = 0.0;
    for (const Vec3& n : normals) {
        largest = std::max(largest, dot(n, n));
    }
    return largest;
}

// What a plane's kernels take from the normals, with `product` the plane's form, and the check
// of the squared lengths against unitTolerance times `tolerance`.
template <class Product>
PlaneTerms planeTerms(const Mirrors& normals, const Product& product, double tolerance,
                      double tieScale, bool worthIt) noexcept {
    PlaneTerms terms;
    terms.twiceDots = {2.0 * product(normals[1], normals[2]), 2.0 * product(normals[2], normals[0]),
                       2.0 * product(normals[0], normals[1])};
    terms.tieScale = tieScale;
    terms.suit = worthIt && std::isfinite(tieScale) &&
                 std::all_of(normals.begin(), normals.end(), [&](const Vec3& n) {
                     return std::fabs(product(n, n) - 1.0) <= unitTolerance * tolerance;
                 });
    return terms;
}

PlaneTerms hyperbolicTerms(const Mirrors& normals) noexcept {
    const double n2 = largestSquaredLength(normals);
    return planeTerms(normals, form, n2, 3.0 * tieMargin * n2 * n2, n2 <= hyperbolicMarginLimit);
}

PlaneTerms euclideanTerms(const Mirrors& normals) noexcept {
    const double n2 = largestSquaredLength(normals);
    return planeTerms(normals, planarDot, 1.0, tieMargin * n2, true);
}

}  // namespace

ScanNormals::ScanNormals(const Mirrors& normals) noexcept
    : m_mirrors(normals),
      m_twiceDots{2.0 * dot(normals[1], normals[2]), 2.0 * dot(normals[2], normals[0]),
                  2.0 * dot(normals[0], normals[1])},
      m_suitKernels(
          std::all_of(normals.begin(), normals.end(),
                      [](const Vec3& n) { return std::fabs(dot(n, n) - 1.0) <= unitTolerance; })),
      m_hyperbolic(hyperbolicTerms(normals)),
      m_euclidean(euclideanTerms(normals)) {}

const Kernels& kernelsOf(KernelVariant variant) noexcept {
    for (const Kernels* k : variants) {
        if (k->variant == variant) {
            return *k;
        }
    }
    return *variants.front();
}

unsigned processorInstructionSets() noexcept {
    unsigned found = 0U;
#if defined(__x86_64__) || defined(__i386__)
    // Each check includes the operating system's support for the wider registers.
    const std::array<std::pair<unsigned, bool>, 6> checks = {{
        {isa::avx2, __builtin_cpu_supports("avx2") != 0},
        {isa::fma, __builtin_cpu_supports("fma") != 0},
        {isa::avx512f, __builtin_cpu_supports("avx512f") != 0},
        {isa::avx512dq, __builtin_cpu_supports("avx512dq") != 0},
        {isa::avx512vl, __builtin_cpu_supports("avx512vl") != 0},
        {isa::avx512bw, __builtin_cpu_supports("avx512bw") != 0},
    }};
    for (const auto& [bit, supported] : checks) {
        if (supported) {
            found |= bit;
        }
    }
#endif
    return found;
}

KernelVariant chooseKernels(const char* forced, unsigned processor) {
    const Kernels* fastest = variants.front();
    for (const Kernels* k : variants) {
        if (!runsOn(*k, processor)) {
            continue;
        }
        fastest = k;
        if (forced != nullptr && std::string_view(forced) == nameOf(k->variant)) {
            return k->variant;
        }
    }
    if (forced == nullptr || *forced == '\0') {
        return fastest->variant;
    }
    // Only a choice that cannot be followed spends a string: "a, b and c".
    std::vector<std::string_view> runs;
    for (const Kernels* k : variants) {
        if (runsOn(*k, processor)) {
            runs.emplace_back(nameOf(k->variant));
        }
    }
    std::string list;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        list += i == 0 ? "" : i + 1 == runs.size() ? " and " : ", ";
        list += runs[i];
    }
    throw std::invalid_argument(std::string("VANTU_KERNELS=") + forced + ": this processor runs " +
                                list);
}

const Kernels& bestKernels() {
    return kernelsOf(defaultKernelVariant());
}

}  // namespace detail

const char* nameOf(KernelVariant variant) noexcept {
    switch (variant) {
        case KernelVariant::baseline:
            return "baseline";
        case KernelVariant::avx2:
            return "avx2";
        case KernelVariant::avx512:
            break;
    }
    return "avx512";
}

std::span<const KernelVariant> builtKernelVariants() noexcept {
    return detail::built;
}

bool runsHere(KernelVariant variant) noexcept {
    for (const KernelVariant v : detail::built) {
        if (v == variant) {
            return detail::runsOn(detail::kernelsOf(variant), detail::processorInstructionSets());
        }
    }
    return false;
}

KernelVariant defaultKernelVariant() {
    // A failed choice is not kept: each call throws again.
    static const KernelVariant chosen =
        detail::chooseKernels(std::getenv("VANTU_KERNELS"), detail::processorInstructionSets());
    return chosen;
}

std::optional<std::string> kernelChoiceError() {
    try {
        (void)defaultKernelVariant();
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return std::nullopt;
}

}  // namespace vantu
