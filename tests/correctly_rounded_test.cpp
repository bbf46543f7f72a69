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
                    FunctionCase{"SineBeyondTheFastRange", cr::sin, mpfr_sin, 8.0, 100.0}),
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
        ValueCase{"CosineOfZero", cr::cos, mpfr_cos, -0.0}),
    RowName());

TEST(CorrectlyRoundedPi, IsTheDoubleNearestPi) {
    EXPECT_EQ(cr::atan(1.0) * 4.0, 0x1.921fb54442d18p+1);
}

}  // namespace
}  // namespace vantu
