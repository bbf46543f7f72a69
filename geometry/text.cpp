#include "geometry/text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace vantu {

std::string formatNumber(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::string formatDegrees(double radians) {
    const double degrees = std::round(radians / std::numbers::pi * 180.0 * 100.0) / 100.0;
    std::array<char, 400> text{};
    std::snprintf(text.data(), text.size(), "%.2f", degrees);
    std::string s = text.data();
    s.erase(s.find_last_not_of('0') + 1);
    if (s.ends_with('.')) {
        s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

}  // namespace vantu
