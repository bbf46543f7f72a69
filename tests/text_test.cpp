// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Numbers and quoted text as the program's messages and pages write them.

#include "geometry/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "tests/test_support.h"

namespace vantu {
namespace {

struct DegreeCase {
    const char* name;
    double radians;
    const char* text;
    friend void PrintTo(const DegreeCase& c, std::ostream* os) { *os << c.name; }
};

class FormatDegrees : public testing::TestWithParam<DegreeCase> {};

TEST_P(FormatDegrees, KeepsAtMostTwoDecimals) {
    EXPECT_EQ(formatDegrees(GetParam().radians), GetParam().text);
}

const double pi = std::atan(1.0) * 4.0;

INSTANTIATE_TEST_SUITE_P(
    Angles, FormatDegrees,
    testing::Values(DegreeCase{"Right", (pi / 2) * 1, "90"},
                    DegreeCase{"FifthTimesFour", (pi / 5) * 4, "144"},
                    DegreeCase{"Sum", (pi / 4) * 3 + (pi / 3) + (pi / 4), "240"},
                    DegreeCase{"Half", pi / 360.0 * 75.0, "37.5"},
                    DegreeCase{"Seventh", pi / 7, "25.71"}, DegreeCase{"Zero", 0.0, "0"},
                    DegreeCase{"TinyNegative", -1e-9, "0"}),
    RowName());

struct EscapeCase {
    const char* name;
    std::string text;
    std::string shown;
    friend void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }
};

class EscapeText : public testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeText, ShowsTheTextAsWritten) {
    EXPECT_EQ(escapeText(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeText,
    testing::Values(EscapeCase{"Plain", "300 2/1:3/1:3/1", "300 2/1:3/1:3/1"},
                    EscapeCase{"Empty", "", ""}, EscapeCase{"Backslash", "a\\u202E", "a\\u202E"},
                    EscapeCase{"Degrees", "25.71\u00B0", "25.71\u00B0"},
                    EscapeCase{"RightToLeftOverride", "x\u202Egnp.exe", "x\\u202Egnp.exe"},
                    EscapeCase{
                        "EveryBidirectionalControl",
                        "\u061C\u200E\u200F\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069",
                        "\\u061C\\u200E\\u200F\\u202A\\u202B\\u202C\\u202D\\u2066\\u2067\\u2068"
                        "\\u2069"},
                    EscapeCase{"LineAndParagraphSeparators", "a\u2028b\u2029", "a\\u2028b\\u2029"},
                    EscapeCase{"ControlCharacters", std::string("a\nb\tc\x1B[31m\0d", 12),
                               "a\\u000Ab\\u0009c\\u001B[31m\\u0000d"},
                    EscapeCase{"DeleteAndC1", "\x7F\u0085\u009F", "\\u007F\\u0085\\u009F"},
                    EscapeCase{"NotUtf8", "\xFF\xC3", "\\xFF\\xC3"},
                    EscapeCase{"Overlong", "\xC0\xAF", "\\xC0\\xAF"},
                    EscapeCase{"Surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
                    EscapeCase{"BeyondUnicode", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
                    EscapeCase{"CutSequence", "ab\xE2\x80", "ab\\xE2\\x80"},
                    EscapeCase{"FourBytes", "\U0001F600", "\U0001F600"}),
    RowName());

// Quoted in a message: at most 40 bytes, never half a character, escaped after the cut.
TEST(QuotedText, CutsAtACharacterBoundary) {
    EXPECT_EQ(quotedText("2 3 3"), "\"2 3 3\"");
    EXPECT_EQ(quotedText(""), "\"\"");
    std::string euros = "ab";
    for (int i = 0; i < 20; ++i) {
        euros += "\u20AC";
    }
    std::string shown = "ab";
    for (int i = 0; i < 12; ++i) {
        shown += "\u20AC";
    }
    EXPECT_EQ(quotedText(euros), "\"" + shown + "...\"");
    EXPECT_EQ(quotedText("a\nb", 2), "\"a\\u000A...\"");
    EXPECT_EQ(quotedText(std::string(40, 'x')), "\"" + std::string(40, 'x') + "\"");
}

}  // namespace
}  // namespace vantu
