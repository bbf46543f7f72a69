#pragma once

// The raster scan behind renderPicture, generic over the mapping of pixels to the sphere.
//
// Each row is first computed without checks into a buffer of runs, with the floating-point
// fault flags cleared before it and tested after it. Only when a flag is set is the row
// computed again with every stored value checked; that slow pass is authoritative: it hands
// over the runs up to the faulting pixel and throws the exact fault, or, if the flag was raised
// by nothing that counts, emits the row as usual.

#include <array>
#include <cfenv>
#include <cmath>
#include <string>

#include "render/pixel_colour.h"
#include "render/run_sink.h"
#include "setup/draw_error.h"
#include "setup/mirrors.h"

namespace vantu::detail {

// Arithmetic without checks, for the fast pass.
struct Unchecked {
    void atColumn(int /*column*/) noexcept {}
    [[nodiscard]] double value(double v) const noexcept { return v; }
    [[nodiscard]] double quotient(double a, double b) const noexcept { return a / b; }
    [[nodiscard]] double root(double a) const noexcept { return std::sqrt(a); }
};

// Arithmetic with every stored value checked; throws DrawError naming the scale and the pixel.
class Checked {
public:
    Checked(double scale, int row) noexcept : m_scale(scale), m_row(row) {}

    void atColumn(int column) noexcept { m_column = column; }
    [[nodiscard]] double value(double v) const {
        failIf(valueFault(v));
        return v;
    }
    [[nodiscard]] double quotient(double a, double b) const {
        failIf(divisionFault(a, b));
        return a / b;
    }
    [[nodiscard]] double root(double a) const {
        failIf(sqrtFault(a));
        return value(std::sqrt(a));
    }

private:
    void failIf(const Fault& fault) const {
        if (!fault) {
            return;
        }
        std::string step = "row " + std::to_string(m_row);
        if (m_column >= 0) {
            step += ", column " + std::to_string(m_column);
        }
        throw DrawError(
            fault.kind, FaultStage::scan, step,
            "the scale R is " + formatNumber(m_scale) + ": " + fault.text + " in " + step, m_row,
            m_column);
    }

    double m_scale;
    int m_row;
    int m_column = -1;
};

struct Run {
    int first;
    int end;
    PackedColour colour;
};

// At most one run per column plus the last one.
using RowRuns = std::array<Run, pictureWidth + 1>;

// Everything one scan needs besides the sink.
struct ScanInput {
    double scale;
    double pi;
    Mirrors normals;
};

// Computes one row and passes each run to `emit`, using `Mapping` for the plane and the sphere:
//   Mapping::ordinate(row, R, check) -> Y
//   Mapping::abscissa(col, R, check) -> X
//   Mapping::toSphere(X, Y, Ysq, pi, check, P) -> false for a pixel off the sphere (grey)
template <class Mapping, class Check, class Emit>
inline void computeRow(int row, const ScanInput& in, Check& check, Emit&& emit) {
    const double y = Mapping::ordinate(row, in.scale, check);
    const double ySquared = check.value(y * y);
    PackedColour current = grey;
    int runStart = 0;
    for (int col = 0; col < pictureWidth; ++col) {
        check.atColumn(col);
        const double x = Mapping::abscissa(col, in.scale, check);
        Vec3 p;
        const PackedColour c =
            Mapping::toSphere(x, y, ySquared, in.pi, check, p) ? colourOf(p, in.normals) : grey;
        if (c != current) {
            emit(runStart, col, current);
            current = c;
            runStart = col;
        }
    }
    emit(runStart, pictureWidth, current);
}

// The fast pass: one row into `runs`, without checks. Kept out of line so that no
// floating-point work moves across the flag test around the call. Returns the run count.
template <class Mapping>
[[gnu::noinline]] int fastRow(int row, const ScanInput& in, RowRuns& runs) noexcept {
    Unchecked check;
    int count = 0;
    computeRow<Mapping>(row, in, check, [&](int first, int end, PackedColour colour) {
        runs[static_cast<std::size_t>(count++)] = {first, end, colour};
    });
    return count;
}

inline constexpr int faultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

template <class Mapping>
void scanPicture(const ScanInput& in, RunSink& sink) {
    RowRuns runs;
    for (int row = 0; row < pictureHeight; ++row) {
        std::feclearexcept(faultFlags);
        const int count = fastRow<Mapping>(row, in, runs);
        if (std::fetestexcept(faultFlags) != 0) {
            Checked check(in.scale, row);
            computeRow<Mapping>(row, in, check, [&](int first, int end, PackedColour colour) {
                sink.drawRun(row, first, end, colour);
            });
        } else {
            for (int i = 0; i < count; ++i) {
                const Run& run = runs[static_cast<std::size_t>(i)];
                sink.drawRun(row, run.first, run.end, run.colour);
            }
        }
        sink.endRow(row);
    }
}

}  // namespace vantu::detail
