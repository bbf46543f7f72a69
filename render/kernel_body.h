// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The fast kernels, compiled once per instruction set by kernels_*.cpp, each defining
// VANTU_KERNEL_VARIANT to the name of its namespace and of its KernelVariant. Plain loops over a
// row of samples that the compiler vectorises: no branches, no calls, every choice a select (the
// disks' search for the stretch of a row inside them stands before the loop).
//
// Each variant's source file includes it once, in its own namespace; it has no include guard,
// being meant for exactly that. The instruction sets the variant needs are those its compiler
// flags (set in the root CMakeLists.txt) let the compiler use, read from the compiler's own
// macros, so the dispatch checks exactly what the code may execute.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "render/colour_rule.h"
#include "render/kernels.h"

namespace vantu::detail::VANTU_KERNEL_VARIANT {
namespace {

// The normals as the kernels read them: N1, N2, N3 coordinate by coordinate, then twice the dot
// products of the pairs opposite mirrors 1, 2 and 3 (in a plane's form, for its kernels).
using Loaded = double[12];

void load(const ScanNormals& normals, Loaded& n, const PlaneTerms* plane = nullptr) {
    for (int i = 0; i < 3; ++i) {
        const auto m = static_cast<std::size_t>(i);
        const Vec3& v = normals.mirrors()[m];
        n[3 * i] = v.x;
        n[3 * i + 1] = v.y;
        n[3 * i + 2] = v.z;
        n[9 + i] = plane != nullptr ? plane->twiceDots[m] : normals.twiceDotOpposite(i);
    }
}

// The dot products of the normals with the points (x, y, z) of one row, whose y is fixed: each
// (Nx x + Ny y) + (zScale Nz) z, the products Ny y and zScale Nz made once per row. zScale is a
// power of two, so that zScale Nz is exact.
struct RowDots {
    RowDots(const Loaded& n, double y, double zScale) noexcept
        : nx{n[0], n[3], n[6]},
          ny{n[1] * y, n[4] * y, n[7] * y},
          nz{zScale * n[2], zScale * n[5], zScale * n[8]} {}

    [[gnu::always_inline]] double of(int i, double x, double z) const noexcept {
        const auto m = static_cast<std::size_t>(i);
        return (nx[m] * x + ny[m]) + nz[m] * z;
    }

    double nx[3];
    double ny[3];
    double nz[3];
};

// The colour of the point with the dot products a1, a2, a3, with the rule of pixelColour written
// as selects, or `undecided`. The squared distances come from the dot products alone:
// Qj - Qk = 2 (ak Nk - aj Nj), so for unit normals Di = 4 (aj^2 + ak^2 - 2 (Nj.Nk) aj ak) =
// 4 (S - gi), with S = a1^2 + a2^2 + a3^2 and gi = ai^2 + 2 (Nj.Nk) aj ak, and
// Di - Dj = 4 (gj - gi); the same holds in the planes with their forms. The colour is decided
// when every comparison it rests on is clear of its margin (docs/fast-scan.md): each gj - gi of
// `margin`, and each dot product of dotMargin unless `exactDots` says that they are the exact
// computation's own.
template <bool exactDots>
[[gnu::always_inline]] inline double colourOrUndecided(const Loaded& n, double a1, double a2,
                                                       double a3, double margin = tieMargin) {
    const double g1 = a1 * a1 + (n[9] * a2) * a3;
    const double g2 = a2 * a2 + (n[10] * a3) * a1;
    const double g3 = a3 * a3 + (n[11] * a1) * a2;
    const double red = g2 - g1;    // (D1 - D2) / 4
    const double green = g3 - g2;  // (D2 - D3) / 4
    const double blue = g1 - g3;   // (D3 - D1) / 4

    // The colour rule of render/colour_rule.h in its closed form, as selects on doubles.
    const double k = colour_rule::sideCount((a1 >= 0.0 ? 1.0 : 0.0) + (a2 >= 0.0 ? 1.0 : 0.0) +
                                            (a3 >= 0.0 ? 1.0 : 0.0));
    const double bright = colour_rule::brightChannel(k);  // a comparison that does not hold
    const double dim = colour_rule::dimChannel(k);        // one that holds
    const double colour =
        packColour(red > 0.0 ? dim : bright, green > 0.0 ? dim : bright, blue > 0.0 ? dim : bright);

    const auto smaller = [](double a, double b) { return a < b ? a : b; };
    bool decided = smaller(smaller(std::fabs(red), std::fabs(green)), std::fabs(blue)) > margin;
    if constexpr (!exactDots) {
        decided =
            decided & (smaller(smaller(std::fabs(a1), std::fabs(a2)), std::fabs(a3)) > dotMargin);
    }
    return decided ? colour : static_cast<double>(undecided);
}

// Stores a sample's colour, or `undecided`; returns 1 for an undecided one.
[[gnu::always_inline]] inline int store(double colour, PackedColour& out) {
    const auto packed = static_cast<PackedColour>(colour);
    out = packed;
    return packed == undecided ? 1 : 0;
}

// Stores colourAt(xs[i]) into out[i] for every sample of the row; returns how many are
// undecided.
template <class ColourAt>
[[gnu::always_inline]] inline int colourRow(const double* xs, int count, PackedColour* out,
                                            const ColourAt& colourAt) {
    int left = 0;
    for (int i = 0; i < count; ++i) {
        left += store(colourAt(xs[i]), out[i]);
    }
    return left;
}

// The colour, or `undecided`, of a point whose dot products are dots.of(i, x, z) times `scale`.
[[gnu::always_inline]] inline double scaledColour(const Loaded& n, const RowDots& dots, double x,
                                                  double z, double scale) {
    return colourOrUndecided<false>(n, dots.of(0, x, z) * scale, dots.of(1, x, z) * scale,
                                    dots.of(2, x, z) * scale);
}

// Stereographic: P = (2X, 2Y, 1 - rho^2) / (1 + rho^2), each dot product taken as
// N.(X, Y, (1 - rho^2) / 2) times 2 / (1 + rho^2): the halved z keeps Nz (1 - rho^2) from
// overflowing where rho^2 is near the largest double.
int stereographic(const ScanNormals& normals, double y, double ySquared, const double* xs,
                  int count, PackedColour* out) {
    Loaded n;
    load(normals, n);
    const RowDots dots(n, y, 0.5);
    return colourRow(xs, count, out, [&](double x) {
        const double rhoSquared = x * x + ySquared;
        return scaledColour(n, dots, x, 1.0 - rhoSquared, 2.0 / (1.0 + rhoSquared));
    });
}

// Gnomonic: P = (X, Y, 1) / sqrt(1 + rho^2), each dot product taken as N.(X, Y, 1) divided by
// sqrt(1 + rho^2).
int gnomonic(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
             PackedColour* out) {
    Loaded n;
    load(normals, n);
    const RowDots dots(n, y, 1.0);
    return colourRow(xs, count, out, [&](double x) {
        return scaledColour(n, dots, x, 1.0, 1.0 / std::sqrt(1.0 + (x * x + ySquared)));
    });
}

// Orthographic: the exact point itself, and its dot products computed as the exact computation
// computes them, so the exact side count; grey off the disc. On the disc, where
// xSquared + ySquared < 1, the argument of the square root is never negative (1 - xSquared
// rounds to at least ySquared), so its absolute value is the argument itself; off the disc the
// absolute value keeps the square root, which the compiler computes for every sample, from
// raising a flag, and the point is taken as (0, y, 0), or (0, 0, 0) in a row wholly off the
// disc, whose colour is never used, so that nothing overflows however far the sample lies.
int orthographic(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
                 PackedColour* out) {
    Loaded n;
    load(normals, n);
    const RowDots dots(n, ySquared < 1.0 ? y : 0.0, 1.0);
    return colourRow(xs, count, out, [&](double x) {
        const double xSquared = x * x;
        const bool onSphere = xSquared + ySquared < 1.0;
        const double z = std::sqrt(std::fabs((1.0 - xSquared) - ySquared));
        const double xOn = onSphere ? x : 0.0;
        const double zOn = onSphere ? z : 0.0;
        const double colour = colourOrUndecided<true>(n, dots.of(0, xOn, zOn), dots.of(1, xOn, zOn),
                                                      dots.of(2, xOn, zOn));
        return onSphere ? colour : static_cast<double>(grey);
    });
}

// The colour of the homogeneous point P of the hyperbolic plane, computed exactly as the exact
// computation computes it (measureMirrorsIn, then the colour rule), written out for each mirror
// (a loop here would keep the compiler from vectorising the row).
[[gnu::always_inline]] inline double hyperbolicColour(const Loaded& n, double px, double py,
                                                      double pz) {
    struct Image {
        double a, x, y, z;
    };
    const auto image = [&](int i) {
        const double nx = n[3 * i];
        const double ny = n[3 * i + 1];
        const double nz = n[3 * i + 2];
        const double a = (ny * py + nx * px) - nz * pz;
        const double twice = 2.0 * a;
        return Image{a, px - twice * nx, py - twice * ny, pz - twice * nz};
    };
    const Image q1 = image(0);
    const Image q2 = image(1);
    const Image q3 = image(2);
    const double nonNegative =
        (q1.a >= 0.0 ? 1.0 : 0.0) + (q2.a >= 0.0 ? 1.0 : 0.0) + (q3.a >= 0.0 ? 1.0 : 0.0);
    const auto distance = [](const Image& j, const Image& k) {
        const double dy = j.y - k.y;
        const double dx = j.x - k.x;
        const double dz = j.z - k.z;
        return (dy * dy + dx * dx) - dz * dz;
    };
    const double d1 = distance(q2, q3);
    const double d2 = distance(q3, q1);
    const double d3 = distance(q1, q2);
    const double k = colour_rule::sideCount(nonNegative);
    const double bright = colour_rule::brightChannel(k);
    const double dim = colour_rule::dimChannel(k);
    return packColour(d1 > d2 ? dim : bright, d2 > d3 ? dim : bright, d3 > d1 ? dim : bright);
}

// The kernels of the hyperbolic models: the exact computation itself, every operation of the
// model's mapping (geometry/projection.h) and of the colouring in its order, as selects, so that
// every colour is the exact one and none is left undecided. Off a disk the point is taken as
// (0, 0, 0), whose colour is never used, so that no value there can overflow, however large the
// normals.

// The Poincare disk: P = (2X, 2Y, 1 + rho^2) inside rho^2 < 1.
int poincare(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
             PackedColour* out) {
    Loaded n;
    load(normals, n);
    const double twoY = y + y;
    return colourRow(xs, count, out, [&](double x) {
        const double rhoSquared = x * x + ySquared;
        const bool inside = rhoSquared < 1.0;
        const double colour = hyperbolicColour(n, inside ? x + x : 0.0, inside ? twoY : 0.0,
                                               inside ? 1.0 + rhoSquared : 0.0);
        return inside ? colour : static_cast<double>(grey);
    });
}

// The Beltrami-Klein disk: P = (X, Y, 1) inside rho^2 < 1.
int klein(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
          PackedColour* out) {
    Loaded n;
    load(normals, n);
    return colourRow(xs, count, out, [&](double x) {
        const bool inside = x * x + ySquared < 1.0;
        const double colour =
            hyperbolicColour(n, inside ? x : 0.0, inside ? y : 0.0, inside ? 1.0 : 0.0);
        return inside ? colour : static_cast<double>(grey);
    });
}

// The Gans model: P = (X, Y, sqrt(1 + rho^2)), every sample.
int gans(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
         PackedColour* out) {
    Loaded n;
    load(normals, n);
    return colourRow(xs, count, out, [&](double x) {
        return hyperbolicColour(n, x, y, std::sqrt(1.0 + (x * x + ySquared)));
    });
}

// The upper half-plane: the ordinate is Y', and P = (2X, s - 1, s + 1) with s = X^2 + Y'^2 in a
// row above the horizon, Y' > 0; a row on it or below is grey, X not even squared, as the exact
// computation leaves it.
int upperHalfPlane(const ScanNormals& normals, double y, double ySquared, const double* xs,
                   int count, PackedColour* out) {
    if (!(y > 0.0)) {
        std::fill(out, out + count, grey);
        return 0;
    }
    Loaded n;
    load(normals, n);
    return colourRow(xs, count, out, [&](double x) {
        const double s = x * x + ySquared;
        return hyperbolicColour(n, x + x, s - 1.0, s + 1.0);
    });
}

// The kernels of the planes with a margin: the point and its dot products computed as the exact
// computation computes them, so the exact side count, and the differences of the squared
// distances from the dot products alone, decided beyond a margin that grows with the sizes of
// the point and of the normals (PlaneTerms, docs/fast-scan.md). Off a disk the point is taken as
// (0, 0, 0), as in the exact kernels.

// The products Niy Py of the normals with the y coordinate of a point, made once per row where
// it is fixed.
struct YProducts {
    YProducts(const Loaded& n, double py) noexcept : of{n[1] * py, n[4] * py, n[7] * py} {}
    double of[3];
};

// The colour, or `undecided`, of the homogeneous point (px, py, pz) of the hyperbolic plane with
// the margin `margin`, given the products Niy py.
[[gnu::always_inline]] inline double hyperbolicColourOrUndecided(const Loaded& n,
                                                                 const YProducts& y, double px,
                                                                 double pz, double margin) {
    const auto dotOf = [&](int i) { return (y.of[i] + n[3 * i] * px) - n[3 * i + 2] * pz; };
    return colourOrUndecided<true>(n, dotOf(0), dotOf(1), dotOf(2), margin);
}

// The samples of a row inside the unit disk, rho^2 = X^2 + Y^2 < 1, coloured by colourAt(x,
// rho^2), and the others grey. The abscissas of a row are monotonic (each is made from its
// sample's index by monotonic roundings), so |X| falls and then rises along the row, and so does
// rho^2, rounded as the exact computation rounds it: the samples inside are one stretch, found
// from both ends. rho^2 is computed for every sample, as the exact computation computes it, and
// so raises its flags.
template <class ColourAt>
[[gnu::always_inline]] inline int colourDiskRow(const double* xs, int count, double ySquared,
                                                PackedColour* out, const ColourAt& colourAt) {
    const auto inside = [&](int i) { return xs[i] * xs[i] + ySquared < 1.0; };
    int first = 0;
    while (first < count && !inside(first)) {
        ++first;
    }
    int last = count;
    while (last > first && !inside(last - 1)) {
        --last;
    }
    std::fill(out, out + first, grey);
    std::fill(out + last, out + count, grey);
    return colourRow(xs + first, last - first, out + first,
                     [&](double x) { return colourAt(x, x * x + ySquared); });
}

// The Poincare disk: Pz = 1 + rho^2 is at most 2.
int poincareFast(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
                 PackedColour* out) {
    Loaded n;
    load(normals, n, &normals.hyperbolic());
    const double margin = 4.0 * normals.hyperbolic().tieScale;
    const YProducts py(n, y + y);
    return colourDiskRow(xs, count, ySquared, out, [&](double x, double rhoSquared) {
        return hyperbolicColourOrUndecided(n, py, x + x, 1.0 + rhoSquared, margin);
    });
}

// The Beltrami-Klein disk: Pz = 1.
int kleinFast(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
              PackedColour* out) {
    Loaded n;
    load(normals, n, &normals.hyperbolic());
    const double margin = normals.hyperbolic().tieScale;
    const YProducts py(n, y);
    return colourDiskRow(xs, count, ySquared, out, [&](double x, double /*rhoSquared*/) {
        return hyperbolicColourOrUndecided(n, py, x, 1.0, margin);
    });
}

// The Gans model: Pz^2 = 1 + rho^2, as rounded before its square root.
int gansFast(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
             PackedColour* out) {
    Loaded n;
    load(normals, n, &normals.hyperbolic());
    const double scale = normals.hyperbolic().tieScale;
    const YProducts py(n, y);
    return colourRow(xs, count, out, [&](double x) {
        const double zSquared = 1.0 + (x * x + ySquared);
        return hyperbolicColourOrUndecided(n, py, x, std::sqrt(zSquared), scale * zSquared);
    });
}

// The upper half-plane: Pz = s + 1.
int upperHalfPlaneFast(const ScanNormals& normals, double y, double ySquared, const double* xs,
                       int count, PackedColour* out) {
    if (!(y > 0.0)) {
        std::fill(out, out + count, grey);
        return 0;
    }
    Loaded n;
    load(normals, n, &normals.hyperbolic());
    const double scale = normals.hyperbolic().tieScale;
    return colourRow(xs, count, out, [&](double x) {
        const double s = x * x + ySquared;
        const double z = s + 1.0;
        return hyperbolicColourOrUndecided(n, YProducts(n, s - 1.0), x + x, z, (scale * z) * z);
    });
}

// The Euclidean plane, in every option: P = (X, Y, 1), the dot products the signed distances,
// summed as the exact computation sums them; 1 + X^2 + Y^2 is |P|^2.
int euclidean(const ScanNormals& normals, double y, double ySquared, const double* xs, int count,
              PackedColour* out) {
    Loaded n;
    load(normals, n, &normals.euclidean());
    const double scale = normals.euclidean().tieScale;
    const RowDots dots(n, y, 1.0);
    return colourRow(xs, count, out, [&](double x) {
        return colourOrUndecided<true>(n, dots.of(0, x, 1.0), dots.of(1, x, 1.0),
                                       dots.of(2, x, 1.0), scale * (1.0 + (x * x + ySquared)));
    });
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

// The kernels' table: the fast path of each projection that has one.
constexpr std::array<Kernel, projectionCount> fastPaths() {
    std::array<Kernel, projectionCount> table{};
    table[static_cast<std::size_t>(Projection::stereographic)] = stereographic;
    table[static_cast<std::size_t>(Projection::gnomonic)] = gnomonic;
    table[static_cast<std::size_t>(Projection::orthographic)] = orthographic;
    return table;
}

// The kernels of the models of the hyperbolic plane, by the option's enumerator.
constexpr std::array<Kernel, projectionCount> hyperbolicPaths() {
    std::array<Kernel, projectionCount> table{};
    table[static_cast<std::size_t>(Projection::stereographic)] = poincare;
    table[static_cast<std::size_t>(Projection::gnomonic)] = klein;
    table[static_cast<std::size_t>(Projection::orthographic)] = gans;
    table[static_cast<std::size_t>(Projection::halfplane)] = upperHalfPlane;
    return table;
}

// The same with a margin, for normals that suit them.
constexpr std::array<Kernel, projectionCount> hyperbolicFastPaths() {
    std::array<Kernel, projectionCount> table{};
    table[static_cast<std::size_t>(Projection::stereographic)] = poincareFast;
    table[static_cast<std::size_t>(Projection::gnomonic)] = kleinFast;
    table[static_cast<std::size_t>(Projection::orthographic)] = gansFast;
    table[static_cast<std::size_t>(Projection::halfplane)] = upperHalfPlaneFast;
    return table;
}

}  // namespace

extern const Kernels kernels;
const Kernels kernels = {KernelVariant::VANTU_KERNEL_VARIANT,
                         needs,
                         fastPaths(),
                         hyperbolicPaths(),
                         hyperbolicFastPaths(),
                         euclidean};

}  // namespace vantu::detail::VANTU_KERNEL_VARIANT
