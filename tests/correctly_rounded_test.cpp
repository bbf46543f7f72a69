// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "geometry/correctly_rounded.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <thread>

#include "geometry/correctly_rounded_detail.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using Function = double (*)(double) noexcept;
using Exact = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// f(x) to 300 bits, then rounded once to the nearest double: the correctly rounded value unless
// f(x) lies within 2^-300 of a midpoint between two doubles.
double nearest(Exact f, double x) {
    mpfr_t v;
    mpfr_init2(v, 300);
    mpfr_set_d(v, x, MPFR_RNDN);
    f(v, v, MPFR_RNDN);
    const double result = mpfr_get_d(v, MPFR_RNDN);
    mpfr_clear(v);
    return result;
}

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

struct FunctionCase {
    const char* name;
    Function function;
    Exact exact;
    double low;  // arguments drawn from [low, high]
    double high;
    friend void PrintTo(const FunctionCase& c, std::ostream* os) { *os << c.name; }
};

class CorrectlyRounded : public testing::TestWithParam<FunctionCase> {};

// Over the ranges a drawing uses, and on two threads at once (each keeps its own state).
TEST_P(CorrectlyRounded, IsTheNearestDouble) {
    // Without thread-local caches and flags, threads drawing at once write over each other's.
    ASSERT_NE(mpfr_buildopt_tls_p(), 0) << "MPFR is built without thread safety";
    const FunctionCase& c = GetParam();
    const auto sweep = [&c](unsigned seed, int* wrong) {
        std::mt19937_64 random(seed);
        std::uniform_real_distribution<double> argument(c.low, c.high);
        for (int i = 0; i < 20000; ++i) {
            const double x = argument(random);
            *wrong += sameDouble(c.function(x), nearest(c.exact, x)) ? 0 : 1;
        }
        mpfr_free_cache2(MPFR_FREE_LOCAL_CACHE);  // the reference's constants, kept per thread
    };
    int wrongHere = 0;
    int wrongThere = 0;
    std::thread other(sweep, 2U, &wrongThere);
    sweep(1U, &wrongHere);
    other.join();
    EXPECT_EQ(wrongHere, 0);
    EXPECT_EQ(wrongThere, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, CorrectlyRounded,
    testing::Values(FunctionCase{"AtanOfDistances", cr::atan, mpfr_atan, 0.0, 50.0},
                    FunctionCase{"AtanOfSlopes", cr::atan, mpfr_atan, -1e4, 1e4},
                    FunctionCase{"AtanNearTheTableSteps", cr::atan, mpfr_atan, 0.4999, 0.5001},
                    FunctionCase{"AtanNearOne", cr::atan, mpfr_atan, 0.9999, 1.0001},
                    FunctionCase{"SineOfAngles", cr::sin, mpfr_sin, -2.0, 5.0},
                    FunctionCase{"CosineOfAngles", cr::cos, mpfr_cos, -2.0, 5.0},
                    FunctionCase{"SineNearAHalfTurn", cr::sin, mpfr_sin, 3.14159, 3.1416},
                    FunctionCase{"CosineNearAQuarterTurn", cr::cos, mpfr_cos, 1.5707, 1.5709},
                    FunctionCase{"SineBeyondTheFastRange", cr::sin, mpfr_sin, 8.0, 100.0},
                    FunctionCase{"CoshOfLengths", cr::cosh, mpfr_cosh, -40.0, 40.0},
                    FunctionCase{"SinhOfLengths", cr::sinh, mpfr_sinh, -40.0, 40.0},
                    FunctionCase{"CoshOfLongMoves", cr::cosh, mpfr_cosh, 40.0, 710.0},
                    FunctionCase{"SinhOfLongMoves", cr::sinh, mpfr_sinh, -710.0, -40.0},
                    FunctionCase{"SinhNearZero", cr::sinh, mpfr_sinh, -1e-3, 1e-3}),
    RowName());

struct ValueCase {
    const char* name;
    Function function;
    Exact exact;
    double x;
    friend void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }
};

class CorrectlyRoundedValue : public testing::TestWithParam<ValueCase> {};

TEST_P(CorrectlyRoundedValue, IsTheNearestDouble) {
    const ValueCase& c = GetParam();
    EXPECT_TRUE(sameDouble(c.function(c.x), nearest(c.exact, c.x)))
        << c.function(c.x) << " for " << c.x;
}

constexpr double smallest = std::numeric_limits<double>::denorm_min();
constexpr double largest = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Edges, CorrectlyRoundedValue,
    testing::Values(
        ValueCase{"AtanOfOne", cr::atan, mpfr_atan, 1.0},
        ValueCase{"AtanOfTheSmallestSubnormal", cr::atan, mpfr_atan, smallest},
        ValueCase{"AtanOfASubnormal", cr::atan, mpfr_atan, -3e-310},
        ValueCase{"AtanOfTheLargest", cr::atan, mpfr_atan, largest},
        ValueCase{"AtanOfInfinity", cr::atan, mpfr_atan, -std::numeric_limits<double>::infinity()},
        ValueCase{"SineOfASubnormal", cr::sin, mpfr_sin, 4e-320},
        ValueCase{"SineOfPi", cr::sin, mpfr_sin, 3.141592653589793},
        ValueCase{"CosineOfHalfPi", cr::cos, mpfr_cos, 1.5707963267948966},
        ValueCase{"SineOfThreeHalfPi", cr::sin, mpfr_sin, 4.71238898038469},
        ValueCase{"CosineOfTheLargestTinyArgument", cr::cos, mpfr_cos, 0x1.fffffffffffffp-28},
        ValueCase{"SineJustAboveTheTinyArguments", cr::sin, mpfr_sin, 0x1p-27},
        ValueCase{"AtanBeyondTheFastRange", cr::atan, mpfr_atan, 0x1p101},
        ValueCase{"SineOfAHugeArgument", cr::sin, mpfr_sin, 1e22},
        // 6381956970095103 * 2^797, within 4.7e-19 of an odd multiple of pi / 2 (Kahan).
        ValueCase{"CosineNearAHugeMultipleOfHalfPi", cr::cos, mpfr_cos, 0x1.6ac5b262ca1ffp+849},
        ValueCase{"CosineOfZero", cr::cos, mpfr_cos, -0.0},
        ValueCase{"SinhOfMinusZero", cr::sinh, mpfr_sinh, -0.0},
        ValueCase{"SinhOfASubnormal", cr::sinh, mpfr_sinh, -3e-310},
        ValueCase{"CoshOfATinyArgument", cr::cosh, mpfr_cosh, 0x1p-27},
        ValueCase{"CoshOfTheLastFinite", cr::cosh, mpfr_cosh, 710.4758600739439},
        ValueCase{"SinhOfTheFirstInfinite", cr::sinh, mpfr_sinh, -710.4758600739440},
        ValueCase{"CoshOfTheLargest", cr::cosh, mpfr_cosh, largest}),
    RowName());

// How close f(x) lies to the midpoint between the two doubles around it, relative to f(x), from
// 300 bits.
double midpointCloseness(Exact f, double x) {
    mpfr_t v;
    mpfr_t midpoint;
    mpfr_init2(v, 300);
    mpfr_init2(midpoint, 300);
    mpfr_set_d(v, x, MPFR_RNDN);
    f(v, v, MPFR_RNDN);
    const double nearestDouble = mpfr_get_d(v, MPFR_RNDN);
    const double beyond = std::nextafter(nearestDouble, mpfr_cmp_d(v, nearestDouble) > 0
                                                            ? std::numeric_limits<double>::max()
                                                            : -std::numeric_limits<double>::max());
    mpfr_set_d(midpoint, nearestDouble, MPFR_RNDN);
    mpfr_add_d(midpoint, midpoint, beyond, MPFR_RNDN);  // exact in 300 bits, as is the halving
    mpfr_div_2ui(midpoint, midpoint, 1, MPFR_RNDN);
    mpfr_sub(midpoint, v, midpoint, MPFR_RNDN);
    mpfr_div(midpoint, midpoint, v, MPFR_RNDN);
    const double closeness = std::abs(mpfr_get_d(midpoint, MPFR_RNDN));
    mpfr_clear(v);
    mpfr_clear(midpoint);
    return closeness;
}

class HardToRound : public testing::TestWithParam<ValueCase> {};

// Arguments whose value lies within 2^-100 of a midpoint between two doubles, where the
// double-word evaluation, good to about 2^-100, may round the wrong way and only the rounding
// test keeps it from being returned. Random arguments come this close once in about 2^46.
TEST_P(HardToRound, IsTheNearestDouble) {
    const ValueCase& c = GetParam();
    EXPECT_LT(midpointCloseness(c.exact, c.x), 0x1p-100) << "not a hard case";
    EXPECT_TRUE(sameDouble(c.function(c.x), nearest(c.exact, c.x)))
        << std::hexfloat << c.function(c.x) << " for " << c.x;
}

// The sines and cosines are worst cases of Lefevre and Muller's search for correct rounding in
// double precision. The arctangents were found as they find the worst cases near zero and
// infinity: where atan x - x / ulp (near 2^-26) or (pi/2 - atan x) / ulp (near 2^50) crosses
// a half-integer, their slowly changing fraction passes a midpoint at a double.
INSTANTIATE_TEST_SUITE_P(
    WorstCases, HardToRound,
    testing::Values(ValueCase{"Sine0", cr::sin, mpfr_sin, 0x1.1c63df63d59dp-2},
                    ValueCase{"Sine1", cr::sin, mpfr_sin, 0x1.306705e372fb7p+1},
                    ValueCase{"Sine1Negated", cr::sin, mpfr_sin, -0x1.306705e372fb7p+1},
                    ValueCase{"Sine2", cr::sin, mpfr_sin, 0x1.31a22ec73dd62p+1},
                    ValueCase{"Sine3", cr::sin, mpfr_sin, 0x1.1031fb019618p-8},
                    ValueCase{"Cosine0", cr::cos, mpfr_cos, 0x1.26851b567579fp-19},
                    ValueCase{"Cosine1", cr::cos, mpfr_cos, 0x1.6b8a6273d7c21p+0},
                    ValueCase{"Cosine1Negated", cr::cos, mpfr_cos, -0x1.6b8a6273d7c21p+0},
                    ValueCase{"Cosine2", cr::cos, mpfr_cos, 0x1.16e534ee3658p-4},
                    ValueCase{"AtanNearZero", cr::atan, mpfr_atan, 0x1.d12ed0af1a27fp-27},
                    ValueCase{"AtanLarge0", cr::atan, mpfr_atan, 0x1.49ff16b9c1e3ep+52},
                    ValueCase{"AtanLarge1", cr::atan, mpfr_atan, 0x1.6295c2ef15817p+49},
                    ValueCase{"AtanLarge2", cr::atan, mpfr_atan, 0x1.7832b157bce0fp+47},
                    ValueCase{"AtanLarge2Negated", cr::atan, mpfr_atan, -0x1.7832b157bce0fp+47},
                    ValueCase{"AtanLarge3", cr::atan, mpfr_atan, 0x1.ccda26ad0cd1cp+47},
                    ValueCase{"AtanLarge4", cr::atan, mpfr_atan, 0x1.20538781986c3p+51}),
    RowName());

struct MultipleCase {
    const char* name;
    Function function;
    Exact exact;
    double quarterTurns;  // k, for arguments near k pi / 2
    friend void PrintTo(const MultipleCase& c, std::ostream* os) { *os << c.name; }
};

class NearAMultipleOfHalfPi : public testing::TestWithParam<MultipleCase> {};

// The 64 doubles on each side of the one nearest k pi / 2, and their negatives, where the value
// is small and the reduction x - k pi / 2 cancels all but the last bits of x: an error in pi / 2
// beyond its first 106 bits shows there in full.
TEST_P(NearAMultipleOfHalfPi, IsTheNearestDouble) {
    const MultipleCase& c = GetParam();
    mpfr_t v;
    mpfr_init2(v, 300);
    mpfr_const_pi(v, MPFR_RNDN);
    mpfr_mul_d(v, v, c.quarterTurns / 2.0, MPFR_RNDN);
    double x = mpfr_get_d(v, MPFR_RNDN);
    mpfr_clear(v);
    constexpr double up = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 64; ++i) {
        x = std::nextafter(x, -up);
    }
    for (int i = 0; i <= 128; ++i, x = std::nextafter(x, up)) {
        for (const double a : {x, -x}) {
            EXPECT_TRUE(sameDouble(c.function(a), nearest(c.exact, a)))
                << std::hexfloat << c.function(a) << " for " << a;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Multiples, NearAMultipleOfHalfPi,
    testing::Values(MultipleCase{"CosineNearHalfPi", cr::cos, mpfr_cos, 1.0},
                    MultipleCase{"SineNearPi", cr::sin, mpfr_sin, 2.0},
                    MultipleCase{"CosineNearThreeHalvesPi", cr::cos, mpfr_cos, 3.0},
                    MultipleCase{"SineNearTwoPi", cr::sin, mpfr_sin, 4.0},
                    MultipleCase{"CosineNearFiveHalvesPi", cr::cos, mpfr_cos, 5.0},
                    MultipleCase{"SineNearThreePi", cr::sin, mpfr_sin, 6.0},
                    MultipleCase{"CosineNearALargeMultiple", cr::cos, mpfr_cos, 0x1p40 + 1.0},
                    MultipleCase{"SineNearALargeMultiple", cr::sin, mpfr_sin, 0x1p40}),
    RowName());

// The reduction by quarter turns keeps within its error bound where it cancels most: at the 64
// doubles on each side of the one nearest k pi / 2, where x - k pi / 2 is as small as it gets
// and every bit of pi / 2 beyond the first 106 shows. Rounding hides a bound exceeded there
// from the sines and cosines almost always, so the bound is checked on its own.
TEST(QuarterTurns, StayWithinTheirErrorBound) {
    mpfr_t exact;
    mpfr_t got;
    mpfr_init2(exact, 400);
    mpfr_init2(got, 400);
    constexpr double up = std::numeric_limits<double>::infinity();
    for (int k = -5; k <= 5; ++k) {
        mpfr_const_pi(exact, MPFR_RNDN);
        mpfr_mul_d(exact, exact, k / 2.0, MPFR_RNDN);
        double x = mpfr_get_d(exact, MPFR_RNDN);
        for (int i = 0; i < 64; ++i) {
            x = std::nextafter(x, -up);
        }
        for (int i = 0; i <= 128; ++i, x = std::nextafter(x, up)) {
            const cr::detail::QuarterTurns r = cr::detail::reduceByQuarterTurns(x);
            ASSERT_EQ(r.k, k) << std::hexfloat << x;
            // |hi + lo - (x - k pi / 2)|, all exact at 400 bits.
            mpfr_const_pi(exact, MPFR_RNDN);
            mpfr_mul_d(exact, exact, k / 2.0, MPFR_RNDN);
            mpfr_d_sub(exact, x, exact, MPFR_RNDN);
            mpfr_set_d(got, r.hi, MPFR_RNDN);
            mpfr_add_d(got, got, r.lo, MPFR_RNDN);
            mpfr_sub(got, got, exact, MPFR_RNDN);
            mpfr_abs(got, got, MPFR_RNDN);
            EXPECT_LE(mpfr_get_d(got, MPFR_RNDU), cr::detail::QuarterTurns::error)
                << std::hexfloat << x;
        }
    }
    mpfr_clear(exact);
    mpfr_clear(got);
}

TEST(CorrectlyRoundedPi, IsTheDoubleNearestPi) {
    EXPECT_EQ(cr::atan(1.0) * 4.0, 0x1.921fb54442d18p+1);
}

}  // namespace
}  // namespace vantu
