// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "geometry/correctly_rounded.h"
#include "geometry/correctly_rounded_detail.h"

#include <mpfr.h>

#include <array>
#include <cmath>
#include <limits>

// Each function first evaluates in double-double arithmetic, about 100 bits, with a proven
// bound on its error, and returns the double nearest that value when the bound shows that the
// true value rounds to the same double (Ziv's strategy). Otherwise, and for arguments outside
// the fast ranges, MPFR decides. docs/correct-rounding.md derives the bounds.

namespace vantu::cr {
namespace detail {
namespace {

// ---- Double-double arithmetic: a value hi + lo with |lo| <= ulp(hi) / 2. --------------------

struct DD {
    double hi = 0.0;
    double lo = 0.0;
};

// a + b exactly, as hi + lo.
DD twoSum(double a, double b) noexcept {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly when |a| >= |b| (or a is 0).
DD fastTwoSum(double a, double b) noexcept {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly (barring overflow and underflow), by Dekker's splitting.
DD twoProd(double a, double b) noexcept {
    constexpr double splitter = 134217729.0;  // 2^27 + 1
    const double p = a * b;
    const double ca = splitter * a;
    const double ah = ca - (ca - a);
    const double al = a - ah;
    const double cb = splitter * b;
    const double bh = cb - (cb - b);
    const double bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

DD operator-(const DD& a) noexcept {
    return {-a.hi, -a.lo};
}

// Relative error at most 3u^2 (accurate addition of two double-words).
DD operator+(const DD& a, const DD& b) noexcept {
    const DD s = twoSum(a.hi, b.hi);
    const DD t = twoSum(a.lo, b.lo);
    const DD u = fastTwoSum(s.hi, s.lo + t.hi);
    return fastTwoSum(u.hi, t.lo + u.lo);
}

DD operator-(const DD& a, const DD& b) noexcept {
    return a + (-b);
}

// Relative error at most 2u^2.
DD operator+(const DD& a, double b) noexcept {
    const DD s = twoSum(a.hi, b);
    return fastTwoSum(s.hi, a.lo + s.lo);
}

// Relative error at most 7u^2.
DD operator*(const DD& a, const DD& b) noexcept {
    const DD p = twoProd(a.hi, b.hi);
    return fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// Relative error at most 3u^2: a.lo * b and its sum with the exact product's low part are
// rounded separately, with no fused multiply-add (docs/correct-rounding.md).
DD operator*(const DD& a, double b) noexcept {
    const DD p = twoProd(a.hi, b);
    return fastTwoSum(p.hi, p.lo + a.lo * b);
}

// Relative error at most 8u^2 (docs/correct-rounding.md).
DD operator/(const DD& a, const DD& b) noexcept {
    const double q1 = a.hi / b.hi;
    const DD r = a - b * q1;
    const double q2 = r.hi / b.hi;
    const DD r2 = r - b * q2;
    const double q3 = r2.hi / b.hi;
    return DD(fastTwoSum(q1, q2)) + q3;
}

// ---- Constants, computed once with MPFR to 200 bits and split into double-words. ----------

DD fromMpfr(mpfr_srcptr v) noexcept {
    mpfr_t rest;
    mpfr_init2(rest, 200);
    const double hi = mpfr_get_d(v, MPFR_RNDN);
    mpfr_sub_d(rest, v, hi, MPFR_RNDN);
    const double lo = mpfr_get_d(rest, MPFR_RNDN);
    mpfr_clear(rest);
    return {hi, lo};
}

constexpr int sineTerms = 14;    // (-1)^n / (2n + 1)!, n = 0 to 13
constexpr int cosineTerms = 15;  // (-1)^n / (2n)!, n = 0 to 14
constexpr int atanTerms = 11;    // (-1)^n / (2n + 1), n = 0 to 10
constexpr int atanTable = 16;    // atan(j / 16), j = 0 to 16

struct Constants {
    std::array<double, 3> halfPi{};  // pi / 2 as the sum of three doubles
    DD halfPiDD;
    std::array<DD, sineTerms> sine;
    std::array<DD, cosineTerms> cosine;
    std::array<DD, atanTerms> atan;
    std::array<DD, atanTable + 1> atanOf;

    Constants() noexcept {
        mpfr_t v;
        mpfr_t w;
        mpfr_init2(v, 200);
        mpfr_init2(w, 200);
        mpfr_const_pi(v, MPFR_RNDN);
        mpfr_div_2ui(v, v, 1, MPFR_RNDN);
        halfPiDD = fromMpfr(v);
        for (double& part : halfPi) {
            part = mpfr_get_d(v, MPFR_RNDN);
            mpfr_sub_d(v, v, part, MPFR_RNDN);
        }
        // 1 / n!, with the signs of the series.
        mpfr_set_ui(v, 1, MPFR_RNDN);
        for (int n = 0; n < 2 * cosineTerms; ++n) {
            if (n > 0) {
                mpfr_div_ui(v, v, static_cast<unsigned long>(n), MPFR_RNDN);
            }
            const DD term = fromMpfr(v);
            const bool negative = (n / 2) % 2 == 1;
            if (n % 2 == 0) {
                cosine[static_cast<std::size_t>(n / 2)] = negative ? -term : term;
            } else if (n / 2 < sineTerms) {
                sine[static_cast<std::size_t>(n / 2)] = negative ? -term : term;
            }
        }
        for (int n = 0; n < atanTerms; ++n) {
            mpfr_set_ui(v, 1, MPFR_RNDN);
            mpfr_div_ui(v, v, static_cast<unsigned long>(2 * n + 1), MPFR_RNDN);
            const DD term = fromMpfr(v);
            atan[static_cast<std::size_t>(n)] = n % 2 == 1 ? -term : term;
        }
        for (int j = 0; j <= atanTable; ++j) {
            mpfr_set_ui(w, static_cast<unsigned long>(j), MPFR_RNDN);
            mpfr_div_ui(w, w, atanTable, MPFR_RNDN);
            mpfr_atan(v, w, MPFR_RNDN);
            atanOf[static_cast<std::size_t>(j)] = fromMpfr(v);
        }
        mpfr_clear(v);
        mpfr_clear(w);
        mpfr_free_cache2(MPFR_FREE_LOCAL_CACHE);
    }
};

const Constants& constants() noexcept {
    static const Constants c;
    return c;
}

// p(s) = c[0] + c[1] s + ... by Horner's rule: the terms from c[fromDouble] on, which are all
// smaller than 2^-41 of the first, in doubles, the rest in double-words.
template <std::size_t N>
DD series(const std::array<DD, N>& c, const DD& s, std::size_t fromDouble) noexcept {
    double tail = c[N - 1].hi;
    for (std::size_t i = N - 1; i-- > fromDouble;) {
        tail = tail * s.hi + c[i].hi;
    }
    DD p{tail, 0.0};
    for (std::size_t i = fromDouble; i-- > 0;) {
        p = p * s + c[i];
    }
    return p;
}

// ---- The rounding test. ---------------------------------------------------------------------

// The relative error the double-double evaluations stay below, with a wide margin: the bounds
// derived come to less than 2^-92 (docs/correct-rounding.md), 2^12 times smaller.
constexpr double evaluationError = 0x1p-80;

// When the true value lies within `error` of v (a normalised double-word), and every value in
// that interval rounds to the same double, stores that double in `result`.
bool roundsSafely(const DD& v, double error, double& result) noexcept {
    const double hi = v.hi;
    if (!std::isfinite(hi) || hi == 0.0) {
        return false;
    }
    // Half the gaps to the neighbours of hi: every value closer than these rounds to hi.
    const double above = (std::nextafter(hi, std::numeric_limits<double>::infinity()) - hi) / 2;
    const double below = (hi - std::nextafter(hi, -std::numeric_limits<double>::infinity())) / 2;
    // Twice the error absorbs the rounding of this sum.
    const double reach = std::abs(v.lo) + 2.0 * error;
    if (reach < above && reach < below) {
        result = hi;
        return true;
    }
    return false;
}

// ---- The fast evaluations. --------------------------------------------------------------------

// The largest arguments of the fast evaluations.
constexpr double fastTrigonometryReach = 8.0;
constexpr double fastArctangentReach = 0x1p100;

// Below these, sin x rounds to x, cos x to 1 and atan x to x: the next term of the series is
// less than a quarter of an ulp.
constexpr double tinyArgument = 0x1p-27;

}  // namespace

QuarterTurns reduceByQuarterTurns(double x) noexcept {
    const Constants& c = constants();
    const double k = std::nearbyint(x / c.halfPiDD.hi);
    // x - k pi/2, each k * part exact as a double-word (|k| <= 5).
    DD r = DD{x, 0.0} - twoProd(k, c.halfPi[0]);
    r = r - twoProd(k, c.halfPi[1]);
    r = r - twoProd(k, c.halfPi[2]);
    return {k, r.hi, r.lo};
}

namespace {

// sin x (or with `cosine`, cos x), |x| <= fastTrigonometryReach, as a double-word:
// x - k pi/2 = r with |r| <= pi/4 + tiny, then the series of sin r or cos r as k asks.
// `reductionError` receives a bound on the absolute error the reduction adds (pi/2 is carried to
// about 160 bits).
DD sineOrCosine(double x, bool cosine, double& reductionError) noexcept {
    const Constants& c = constants();
    const QuarterTurns reduced = reduceByQuarterTurns(x);
    const double k = reduced.k;
    const DD r{reduced.hi, reduced.lo};
    reductionError = QuarterTurns::error;
    // sin(r + k pi/2) and cos(r + k pi/2): quarter turns move between sin r and cos r.
    const int quarter = (static_cast<int>(k) + (cosine ? 1 : 0)) & 3;
    const DD s = r * r;
    const DD v = quarter % 2 == 0 ? r * series(c.sine, s, 7) : series(c.cosine, s, 8);
    return quarter >= 2 ? -v : v;
}

// atan(x) for finite x as a double-word.
DD arctangent(double x) noexcept {
    const Constants& c = constants();
    const double a = std::abs(x);
    // For |x| > 1, atan(|x|) = pi/2 - atan(1/|x|).
    const bool reciprocal = a > 1.0;
    const DD y = reciprocal ? DD{1.0, 0.0} / DD{a, 0.0} : DD{a, 0.0};
    // atan(y) = atan(j/16) + atan((y - j/16) / (1 + y j/16)), |t| <= 1/32.
    const double j = std::nearbyint(y.hi * atanTable);
    const double cj = j / atanTable;
    const DD t = (y - DD{cj, 0.0}) / (DD{1.0, 0.0} + y * cj);
    DD result = c.atanOf[static_cast<std::size_t>(j)] + t * series(c.atan, t * t, 5);
    if (reciprocal) {
        result = c.halfPiDD - result;
    }
    return x < 0.0 ? -result : result;
}

// ---- MPFR, for what the fast evaluations cannot decide. -------------------------------------

// One thread's MPFR number of 53 bits, with the exponent range of a double (from the smallest
// subnormal, 2^-1074, to the largest finite number), so that rounding into it is rounding to a
// double, subnormals included.
class Working {
public:
    Working() noexcept {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
        mpfr_init2(m_value, 53);
    }
    Working(const Working&) = delete;
    Working& operator=(const Working&) = delete;
    ~Working() {
        mpfr_clear(m_value);
        mpfr_free_cache2(MPFR_FREE_LOCAL_CACHE);
    }

    using Function = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

    double apply(Function f, double x) noexcept {
        mpfr_set_d(m_value, x, MPFR_RNDN);  // exact: 53 bits hold every double
        const int direction = f(m_value, m_value, MPFR_RNDN);
        mpfr_subnormalize(m_value, direction, MPFR_RNDN);
        return mpfr_get_d(m_value, MPFR_RNDN);
    }

private:
    mpfr_t m_value;
};

}  // namespace

double withMpfr(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double x) noexcept {
    thread_local Working working;
    return working.apply(f, x);
}

}  // namespace detail

double atan(double x) noexcept {
    if (std::abs(x) < detail::tinyArgument) {
        return x;  // also 0 and -0
    }
    double result = 0.0;
    if (std::abs(x) <= detail::fastArctangentReach) {
        const detail::DD v = detail::arctangent(x);
        if (detail::roundsSafely(v, std::abs(v.hi) * detail::evaluationError, result)) {
            return result;
        }
    }
    return detail::withMpfr(mpfr_atan, x);
}

namespace detail {
namespace {

// sin x, or cos x with `cosine`: the fast evaluation when its rounding is certain, else MPFR.
double sineOrCosineRounded(double x, bool cosine) noexcept {
    if (std::abs(x) < tinyArgument) {
        return cosine ? 1.0 : x;
    }
    double result = 0.0;
    if (std::abs(x) <= fastTrigonometryReach) {
        double reduction = 0.0;
        const DD v = sineOrCosine(x, cosine, reduction);
        if (roundsSafely(v, std::abs(v.hi) * evaluationError + reduction, result)) {
            return result;
        }
    }
    return withMpfr(cosine ? mpfr_cos : mpfr_sin, x);
}

}  // namespace
}  // namespace detail

double sin(double x) noexcept {
    return detail::sineOrCosineRounded(x, false);
}

double cos(double x) noexcept {
    return detail::sineOrCosineRounded(x, true);
}

double cosh(double x) noexcept {
    return detail::withMpfr(mpfr_cosh, x);
}

double sinh(double x) noexcept {
    return detail::withMpfr(mpfr_sinh, x);
}

}  // namespace vantu::cr
