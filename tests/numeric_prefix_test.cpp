// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/numeric_prefix.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace vantu {
namespace {

struct PrefixCase {
    const char* name;
    std::string text;
    double expected;
    friend void PrintTo(const PrefixCase& c, std::ostream* os) { *os << c.name; }
};

class NumericPrefix : public testing::TestWithParam<PrefixCase> {};

TEST_P(NumericPrefix, ReadsTheLeadingNumber) {
    const PrefixCase& c = GetParam();
    const double value = numericPrefix(c.text);
    EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
    EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << '"' << c.text << '"';
}

const double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericPrefix,
    testing::Values(
        // One character: a digit's value, 0 for anything else.
        PrefixCase{"Empty", "", 0.0}, PrefixCase{"Zero", "0", 0.0}, PrefixCase{"Nine", "9", 9.0},
        PrefixCase{"Slash", "/", 0.0}, PrefixCase{"Letter", "x", 0.0},
        PrefixCase{"Blank", " ", 0.0}, PrefixCase{"LoneSign", "-", 0.0},
        PrefixCase{"LonePoint", ".", 0.0}, PrefixCase{"NonAscii", "\xC3\xA9", 0.0},
        // Longer texts: blanks, sign, digits, point, fraction.
        PrefixCase{"Integer", "120", 120.0}, PrefixCase{"Fraction", "12.5", 12.5},
        PrefixCase{"TrailingText", " 12.5xyz", 12.5}, PrefixCase{"PlusSign", "+7", 7.0},
        PrefixCase{"Negative", "-120", -120.0}, PrefixCase{"NegativeZero", "-0", -0.0},
        PrefixCase{"LeadingPoint", ".5", 0.5}, PrefixCase{"TrailingPoint", "5.", 5.0},
        PrefixCase{"TabsAndNewlines", "\t\n 42", 42.0}, PrefixCase{"BlankInside", "1 2", 1.0},
        PrefixCase{"SignThenBlank", "- 3", 0.0}, PrefixCase{"TwoPoints", "1.2.3", 1.2},
        PrefixCase{"Letters", "abc", 0.0}, PrefixCase{"RadixPrefixIsNotRead", "0x1F", 0.0},
        PrefixCase{"CommaIsNotAPoint", "1,5", 1.0},
        // Exponents are read when they have digits.
        PrefixCase{"Exponent", "1e3", 1000.0}, PrefixCase{"SignedExponent", "25E-1", 2.5},
        PrefixCase{"ExponentWithoutDigits", "7e", 7.0}, PrefixCase{"ExponentSignOnly", "7e+", 7.0},
        PrefixCase{"Denormal", "1e-320", 1e-320}, PrefixCase{"Largest", "1e308", 1e308},
        // Beyond the double range: infinity, or zero, of the sign.
        PrefixCase{"TooLarge", "1e999", inf}, PrefixCase{"TooLargeNegative", "-1e999", -inf},
        PrefixCase{"ManyDigits", std::string(400, '9'), inf}, PrefixCase{"TooSmall", "1e-400", 0.0},
        PrefixCase{"TooSmallNegative", "-1e-400", -0.0},
        PrefixCase{"SmallFraction", "0." + std::string(400, '0') + "1", 0.0},
        PrefixCase{"HugeExponentDigits", "1e" + std::string(50, '9'), inf},
        // Correctly rounded, like the compiler's own literals.
        PrefixCase{"Rounded", "0.1", 0.1},
        PrefixCase{"Pi", "3.14159265358979323846", 3.14159265358979323846}),
    RowName());

}  // namespace
}  // namespace vantu
