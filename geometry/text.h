#pragma once

// Numbers as the program's messages and pages write them.

#include <string>

namespace vantu {

// Shortest text that reads back as `value`: "120", "1e-320", "-0".
[[nodiscard]] std::string formatNumber(double value);

// An angle in radians as degrees with at most two decimals and no trailing zeros: "90", "25.71".
[[nodiscard]] std::string formatDegrees(double radians);

}  // namespace vantu
