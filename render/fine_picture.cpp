#include "render/fine_picture.h"

#include <array>
#include <cfenv>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/pixel_colour.h"
#include "render/projections.h"
#include "render/scan.h"

namespace vantu {
namespace detail {
namespace {

// Colours one output row into `out`, with `abscissa(s)` giving X for sample column s. Without
// antialiasing each output pixel is one sample, as in the window's scan. With it, the ordinates
// of the row's sample rows come first, then the output pixels from the left, each summing its
// samples column by column.
template <class Mapping, class Check, class Abscissa>
inline void computeFineRow(int row, const ScanInput& in, Sampling sampling, Check& check,
                           const Abscissa& abscissa, PackedColour* out) {
    const int n = sampling.antialias;
    const int perPixel = sampling.zoom * n;
    const int width = pictureWidth * sampling.zoom;
    if (n == 1) {
        const double y = Mapping::ordinate(sampleCoordinate(row, perPixel), in.scale, check);
        const double ySquared = check.value(y * y);
        for (int col = 0; col < width; ++col) {
            check.atColumn(col);
            const double x = abscissa(col);
            Vec3 p;
            out[col] =
                Mapping::toSphere(x, y, ySquared, in.pi, check, p) ? colourOf(p, in.normals) : grey;
        }
        return;
    }

    std::array<double, maxAntialias> ys{};
    std::array<double, maxAntialias> ySquares{};
    for (int b = 0; b < n; ++b) {
        const auto i = static_cast<std::size_t>(b);
        ys[i] = Mapping::ordinate(sampleCoordinate(row * n + b, perPixel), in.scale, check);
        ySquares[i] = check.value(ys[i] * ys[i]);
    }
    for (int col = 0; col < width; ++col) {
        check.atColumn(col);
        int red = 0;
        int green = 0;
        int blue = 0;
        for (int a = 0; a < n; ++a) {
            const double x = abscissa(col * n + a);
            for (std::size_t b = 0; b < static_cast<std::size_t>(n); ++b) {
                Vec3 p;
                const PackedColour c = Mapping::toSphere(x, ys[b], ySquares[b], in.pi, check, p)
                                           ? colourOf(p, in.normals)
                                           : grey;
                red += redOf(c);
                green += greenOf(c);
                blue += blueOf(c);
            }
        }
        out[col] = meanColour(red, green, blue, n * n);
    }
}

// X of every sample column, without checks; the same values the checked pass computes one by
// one. Returns whether a fault flag went up on the way.
template <class Mapping>
[[gnu::noinline]] bool tabulateAbscissas(double scale, Sampling sampling,
                                         std::vector<double>& xs) noexcept {
    const int perPixel = sampling.zoom * sampling.antialias;
    Unchecked check;
    std::feclearexcept(faultFlags);
    for (std::size_t s = 0; s < xs.size(); ++s) {
        xs[s] = Mapping::abscissa(sampleCoordinate(static_cast<int>(s), perPixel), scale, check);
    }
    return std::fetestexcept(faultFlags) != 0;
}

// The row without checks, X from the table. Kept out of line so that no floating-point work
// moves across the flag test around the call.
template <class Mapping>
[[gnu::noinline]] void fastFineRow(int row, const ScanInput& in, Sampling sampling,
                                   const double* xs, PackedColour* out) noexcept {
    Unchecked check;
    computeFineRow<Mapping>(
        row, in, sampling, check, [xs](int s) { return xs[s]; }, out);
}

// As the window's scan: the fast pass, and only when it (or the table of X) raised a fault flag
// the checked pass, which computes every value in the window's order and either throws the
// exact fault or finds that nothing counting raised the flag.
template <class Mapping>
void fineRow(int row, const ScanInput& in, Sampling sampling, const double* xs, bool xsFlagged,
             PackedColour* out) {
    std::feclearexcept(faultFlags);
    fastFineRow<Mapping>(row, in, sampling, xs, out);
    if (xsFlagged || std::fetestexcept(faultFlags) != 0) {
        Checked check(in.scale, row);
        const int perPixel = sampling.zoom * sampling.antialias;
        computeFineRow<Mapping>(
            row, in, sampling, check,
            [&](int s) {
                return Mapping::abscissa(sampleCoordinate(s, perPixel), in.scale, check);
            },
            out);
    }
}

}  // namespace
}  // namespace detail

FinePicture::FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                         Sampling sampling)
    : m_scale(R), m_pi(pi), m_projection(projection), m_normals(normals), m_sampling(sampling) {
    if (sampling.zoom < 1 || sampling.zoom > maxZoom) {
        throw std::invalid_argument("the zoom must be 1 to " + std::to_string(maxZoom) + ", not " +
                                    std::to_string(sampling.zoom));
    }
    if (sampling.antialias < 1 || sampling.antialias > maxAntialias) {
        throw std::invalid_argument("the antialias must be 1 to " + std::to_string(maxAntialias) +
                                    ", not " + std::to_string(sampling.antialias));
    }
    m_abscissas.resize(static_cast<std::size_t>(width() * sampling.antialias));
    switch (projection) {
        case Projection::gnomonic:
            m_abscissasFlagged =
                detail::tabulateAbscissas<detail::Gnomonic>(R, sampling, m_abscissas);
            break;
        case Projection::stereographic:
        case Projection::orthographic:
            // The same plane for both.
            m_abscissasFlagged =
                detail::tabulateAbscissas<detail::Stereographic>(R, sampling, m_abscissas);
            break;
    }
}

void FinePicture::renderRow(int row, std::span<PackedColour> out) const {
    if (row < 0 || row >= height()) {
        throw std::out_of_range("row " + std::to_string(row) + " is outside the picture");
    }
    if (out.size() < static_cast<std::size_t>(width())) {
        throw std::out_of_range("the row needs room for " + std::to_string(width()) + " pixels");
    }
    const detail::ScanInput input{m_scale, m_pi, m_normals};
    const double* xs = m_abscissas.data();
    switch (m_projection) {
        case Projection::gnomonic:
            detail::fineRow<detail::Gnomonic>(row, input, m_sampling, xs, m_abscissasFlagged,
                                              out.data());
            return;
        case Projection::stereographic:
            detail::fineRow<detail::Stereographic>(row, input, m_sampling, xs, m_abscissasFlagged,
                                                   out.data());
            return;
        case Projection::orthographic:
            break;
    }
    detail::fineRow<detail::Orthographic>(row, input, m_sampling, xs, m_abscissasFlagged,
                                          out.data());
}

}  // namespace vantu
