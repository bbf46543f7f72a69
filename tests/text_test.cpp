// Numbers as the program's messages and pages write them.

#include "geometry/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

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

}  // namespace
}  // namespace vantu
