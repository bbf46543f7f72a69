// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The one scan engine behind every picture: the window's, the finer samplings of vantu-render
// and the seeds of the snub search. It is generic over the mapping of plane coordinates to the
// sphere.
//
// The fast pass colours a row of samples with the kernels of render/kernels.h, which avoid the
// trigonometry and prove each colour or leave it undecided; the undecided few go through the
// exact computation, the one the drawing defines. The fault flags are cleared before that pass
// and tested after it. Only when a flag is set is the row computed again with every stored value
// checked, in the drawing's order; that pass is authoritative: it stores the pixels before the
// faulting one and throws the exact fault, or, when the flag was raised by nothing that counts,
// finishes the row as usual. This file is the only place that touches the fault flags.

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "geometry/checked_arithmetic.h"
#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/text.h"
#include "geometry/vec3.h"
#include "render/fine_picture.h"
#include "render/kernels.h"
#include "render/pixel_colour.h"
#include "render/run_sink.h"

namespace vantu::detail {

// Arithmetic without checks, for the fast pass.
struct Unchecked {
    void atColumn(int /*column*/) noexcept {}
    [[nodiscard]] double value(double v) const noexcept { return v; }
    [[nodiscard]] double quotient(double a, double b) const noexcept { return a / b; }
    [[nodiscard]] double root(double a) const noexcept { return std::sqrt(a); }
};

// The window coordinate of sample `index` along an axis cut into `perPixel` samples per window
// pixel: (index + 0.5) / perPixel - 0.5. One sample per pixel gives exactly `index`.
[[nodiscard]] inline double sampleCoordinate(int index, double perPixel) noexcept {
    return (index + 0.5) / perPixel - 0.5;
}

// The window pixel that holds the centre of sample `index`.
[[nodiscard]] inline int windowPixelOf(int index, double perPixel) noexcept {
    return static_cast<int>(std::floor(sampleCoordinate(index, perPixel) + 0.5));
}

// Arithmetic with every stored value checked; throws DrawError naming the scale and the pixel:
// the output pixel, or with `windowPerPixel` > 0 (samples per window pixel) the window pixel
// that holds the sample.
class Checked : public CheckedArithmetic<Checked> {
public:
    Checked(double scale, int row, double windowPerPixel = 0.0) noexcept
        : m_scale(scale), m_row(row), m_windowPerPixel(windowPerPixel) {}

    void atColumn(int column) noexcept { m_column = column; }

private:
    friend class CheckedArithmetic<Checked>;

    [[noreturn]] void fail(const Fault& fault) const {
        const auto reported = [this](int index) {
            return m_windowPerPixel > 0.0 ? windowPixelOf(index, m_windowPerPixel) : index;
        };
        const int row = reported(m_row);
        const int column = m_column >= 0 ? reported(m_column) : -1;
        std::string step = "row " + std::to_string(row);
        if (column >= 0) {
            step += ", column " + std::to_string(column);
        }
        throw DrawError(
            fault.kind, FaultStage::scan, step,
            "the scale R is " + formatNumber(m_scale) + ": " + fault.text + " in " + step, row,
            column);
    }

    double m_scale;
    int m_row;
    double m_windowPerPixel;
    int m_column = -1;
};

// Everything a scan needs about the drawing and how its output pixels sample the plane. Sample
// i along an axis sits at window coordinate sampleCoordinate(i, samplesPerPixel); an output
// pixel averages antialias x antialias neighbouring samples, and a fault names the window pixel
// that holds the faulting output pixel's centre.
struct ScanInput {
    Plane plane;
    double pi = 0.0;
    ScanNormals normals;
    const Kernels* kernels = &bestKernels();  // the variant of the fast kernels to use
    double outputPerPixel = 1.0;              // output pixels per window pixel along each axis
    double samplesPerPixel = 1.0;             // samples per window pixel along each axis
    int width = pictureWidth;                 // output pixels per row
    int antialias = 1;  // samples per output pixel along each axis, 1 to maxAntialias
};

// The channel-wise mean of colours whose channels add up to the sums given, rounded half up.
[[nodiscard]] inline PackedColour meanColour(int redSum, int greenSum, int blueSum,
                                             int count) noexcept {
    const int half = count / 2;
    return packColour((redSum + half) / count, (greenSum + half) / count, (blueSum + half) / count);
}

// The one antialias loop: the mean colour of the n x n samples sample(a, b) of an output pixel,
// a its sample column and b its sample row (both 0 to n - 1), taken column by column: a from
// the left, and b from the top within each a.
template <class Sample>
[[nodiscard]] inline PackedColour averageSamples(int n, const Sample& sample) {
    int red = 0;
    int green = 0;
    int blue = 0;
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            const PackedColour c = sample(a, b);
            red += redOf(c);
            green += greenOf(c);
            blue += blueOf(c);
        }
    }
    return meanColour(red, green, blue, n * n);
}

// Colours output row `row` into out[0] to out[in.width - 1], with `abscissa(s)` giving X
// for sample column s. `Mapping` maps the plane to the sphere:
//   Mapping::ordinate(coordinate, R, check) -> Y of a sample row
//   Mapping::abscissa(coordinate, R, check) -> X of a sample column
//   Mapping::toSphere(X, Y, Ysq, pi, check, P) -> false for a sample off the sphere (grey)
// and colours the point in the mapping's geometry (geometryOf: colourIn).
// Without antialiasing each output pixel is one sample. With it, the ordinates of the row's
// sample rows come first, then the output pixels from the left, each summing its samples column
// by column. With `Checked`, this is the order in which faults are found.
template <class Mapping, class Check, class Abscissa>
inline void computeRow(int row, const ScanInput& in, Check& check, const Abscissa& abscissa,
                       PackedColour* out) {
    const int n = in.antialias;
    const double perPixel = in.samplesPerPixel;
    if (n == 1) {
        const double y = Mapping::ordinate(sampleCoordinate(row, perPixel), in.plane, check);
        const double ySquared = check.value(y * y);
        for (int col = 0; col < in.width; ++col) {
            check.atColumn(col);
            const double x = abscissa(col);
            Vec3 p;
            out[col] = Mapping::toSphere(x, y, ySquared, in.pi, check, p)
                           ? colourIn<geometryOf<Mapping>()>(p, in.normals.mirrors(), check)
                           : grey;
        }
        return;
    }

    std::array<double, maxAntialias> ys{};
    std::array<double, maxAntialias> ySquares{};
    for (int b = 0; b < n; ++b) {
        const auto i = static_cast<std::size_t>(b);
        ys[i] = Mapping::ordinate(sampleCoordinate(row * n + b, perPixel), in.plane, check);
        ySquares[i] = check.value(ys[i] * ys[i]);
    }
    for (int col = 0; col < in.width; ++col) {
        check.atColumn(col);
        double x = 0.0;
        out[col] = averageSamples(n, [&](int a, int b) {
            if (b == 0) {
                x = abscissa(col * n + a);
            }
            const auto i = static_cast<std::size_t>(b);
            Vec3 p;
            return Mapping::toSphere(x, ys[i], ySquares[i], in.pi, check, p)
                       ? colourIn<geometryOf<Mapping>()>(p, in.normals.mirrors(), check)
                       : grey;
        });
    }
}

// X of every sample column, xs[s] for sample s, computed as the checked pass computes it.
// Returns false when one is not finite, or on the sphere is 0 (a sample on the vertical axis,
// which only a fractional ratio makes, where the exact azimuth divides by zero and the fast
// kernels would not see it): then a fault may lie among them, and every row must take the
// checked pass, which finds it in its place. The planes' models divide by no X.
template <class Mapping>
[[nodiscard]] bool tabulateAbscissas(const ScanInput& in, std::span<double> xs) noexcept {
    Unchecked check;
    constexpr bool zeroIsRegular = geometryOf<Mapping>() != Geometry::spherical;
    bool regular = true;
    for (std::size_t s = 0; s < xs.size(); ++s) {
        xs[s] = Mapping::abscissa(sampleCoordinate(static_cast<int>(s), in.samplesPerPixel),
                                  in.plane, check);
        regular = regular && std::isfinite(xs[s]) && (zeroIsRegular || xs[s] != 0.0);
    }
    return regular;
}

// The fast kernel of `Mapping`, or null for a mapping that has none (the tests' own) or, on the
// sphere and in the Euclidean plane, for normals that do not suit the kernels: their samples all
// take the exact path. The hyperbolic models take their kernels with a margin where the normals
// suit them, and otherwise their exact kernels, which are the exact computation itself and take
// any normals.
template <class Mapping>
[[nodiscard]] Kernel kernelOf(const ScanInput& in) noexcept {
    if constexpr (!requires { Mapping::id; }) {
        return nullptr;
    } else if constexpr (geometryOf<Mapping>() == Geometry::hyperbolic) {
        return in.normals.hyperbolic().suit ? in.kernels->hyperbolicFastOf(Mapping::id)
                                            : in.kernels->hyperbolicOf(Mapping::id);
    } else if constexpr (geometryOf<Mapping>() == Geometry::spherical) {
        return in.normals.suitKernels() ? in.kernels->of(Mapping::id) : nullptr;
    } else {
        return in.normals.euclidean().suit ? in.kernels->euclidean : nullptr;
    }
}

// Colours the samples at plane coordinates (xs[i], y), i < count, into out[i]: the kernel
// first, then the samples it left undecided through the exact computation. Returns how many
// took the exact path.
template <class Mapping>
inline int colourSamples(const ScanInput& in, double y, double ySquared, const double* xs,
                         int count, PackedColour* out) noexcept {
    if (const Kernel kernel = kernelOf<Mapping>(in)) {
        if (kernel(in.normals, y, ySquared, xs, count, out) == 0) {
            return 0;
        }
    } else {
        std::fill(out, out + count, undecided);
    }
    Unchecked check;
    int exact = 0;
    for (int i = 0; i < count; ++i) {
        if (out[i] == undecided) {
            ++exact;
            Vec3 p;
            out[i] = Mapping::toSphere(xs[i], y, ySquared, in.pi, check, p)
                         ? colourIn<geometryOf<Mapping>()>(p, in.normals.mirrors(), check)
                         : grey;
        }
    }
    return exact;
}

// The fast pass of one row, X from the table. Kept out of line so that no floating-point work
// moves across the flag test around the call. With antialiasing, the row goes in chunks of
// output pixels, each sample row of a chunk at a time, onto the stack, then averaged. Returns
// how many samples took the exact path.
template <class Mapping>
[[gnu::noinline]] int fastRow(int row, const ScanInput& in, const double* xs,
                              PackedColour* out) noexcept {
    Unchecked check;
    const int n = in.antialias;
    if (n == 1) {
        const double y =
            Mapping::ordinate(sampleCoordinate(row, in.samplesPerPixel), in.plane, check);
        return colourSamples<Mapping>(in, y, y * y, xs, in.width, out);
    }

    std::array<double, maxAntialias> ys{};
    for (int b = 0; b < n; ++b) {
        ys[static_cast<std::size_t>(b)] =
            Mapping::ordinate(sampleCoordinate(row * n + b, in.samplesPerPixel), in.plane, check);
    }
    // Each chunk of output pixels holds its n sample rows of n samples per pixel.
    constexpr int chunkSamples = 2048;
    const int rowSamples = chunkSamples / n;  // samples per sample row of a chunk
    const int chunk = rowSamples / n;         // output pixels
    std::array<PackedColour, chunkSamples> samples;
    int exact = 0;
    for (int first = 0; first < in.width; first += chunk) {
        const int pixels = std::min(chunk, in.width - first);
        for (int b = 0; b < n; ++b) {
            const double y = ys[static_cast<std::size_t>(b)];
            exact += colourSamples<Mapping>(in, y, y * y, xs + first * n, pixels * n,
                                            samples.data() + b * rowSamples);
        }
        for (int p = 0; p < pixels; ++p) {
            out[first + p] = averageSamples(n, [&](int a, int b) {
                return samples[static_cast<std::size_t>(b * rowSamples + p * n + a)];
            });
        }
    }
    return exact;
}

inline constexpr int faultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Colours output row `row` into out[0] to out[in.width - 1]: the fast pass, and the checked
// pass when the fast one raised a fault flag or `xsFinite` is false. `xs` holds X of every
// sample column (tabulateAbscissas). Throws DrawError at the first fault, with the pixels before
// the faulting one stored and the rest not. Returns how many samples took the exact path.
// Allocates nothing.
template <class Mapping>
int scanRow(int row, const ScanInput& in, const double* xs, bool xsFinite, PackedColour* out) {
    if (xsFinite) {
        // Clearing the flags costs far more than testing them, and they are usually clear.
        if (std::fetestexcept(faultFlags) != 0) {
            std::feclearexcept(faultFlags);
        }
        const int exact = fastRow<Mapping>(row, in, xs, out);
        if (std::fetestexcept(faultFlags) == 0) {
            return exact;
        }
    }
    Checked check(in.plane.scale, row, in.outputPerPixel);
    computeRow<Mapping>(
        row, in, check,
        [&](int s) {
            return Mapping::abscissa(sampleCoordinate(s, in.samplesPerPixel), in.plane, check);
        },
        out);
    return in.width * in.antialias * in.antialias;
}

// Hands columns 0 to count - 1 of `colours` to `sink` as the runs of row `row`: the maximal
// stretches of one colour, opened by the empty grey run when column 0 is not grey. With
// `rowComplete` the last run ends at column `count`; without it (a fault at column `count`) the
// run still open there is not handed over.
void emitRuns(int row, const PackedColour* colours, int count, bool rowComplete, RunSink& sink);

// The rows 0 to height - 1 of the picture of `in` (one sample per window pixel) through
// `Mapping`, each scanned into `colours` and handed to `sink` as runs, followed by endRow; `xs`
// has room for X of every column.
template <class Mapping>
void scanRows(const ScanInput& in, int height, RunSink& sink, std::span<double> xs,
              PackedColour* colours) {
    const bool xsFinite = tabulateAbscissas<Mapping>(in, xs);
    for (int row = 0; row < height; ++row) {
        try {
            (void)scanRow<Mapping>(row, in, xs.data(), xsFinite, colours);
        } catch (const DrawError& e) {
            emitRuns(row, colours, e.column() < 0 ? 0 : e.column(), false, sink);
            throw;
        }
        emitRuns(row, colours, in.width, true, sink);
        sink.endRow(row);
    }
}

// The picture of `in` (one sample per window pixel) through `Mapping`, `height` rows: every row
// scanned and handed to `sink` as runs, followed by endRow. Allocates nothing for a picture as
// wide as the window's or narrower, and two rows for a wider one.
template <class Mapping>
void scanPicture(const ScanInput& in, int height, RunSink& sink) {
    const auto width = static_cast<std::size_t>(in.width);
    if (in.width <= pictureWidth) {
        std::array<double, pictureWidth> xs{};
        std::array<PackedColour, pictureWidth> colours{};
        scanRows<Mapping>(in, height, sink, std::span(xs).first(width), colours.data());
        return;
    }
    std::vector<double> xs(width);
    std::vector<PackedColour> colours(width);
    scanRows<Mapping>(in, height, sink, xs, colours.data());
}

}  // namespace vantu::detail
