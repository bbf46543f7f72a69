// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/numeric_prefix.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <limits>
#include <system_error>

namespace vantu {
namespace detail {
namespace {

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Decimal order of magnitude of a mantissa with an exponent: the power of ten of its first
// non-zero digit, saturating far beyond the double range either way.
long orderOfMagnitude(std::string_view mantissa, std::string_view exponent) noexcept {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::string_view whole = mantissa.substr(0, point);
    const std::size_t firstNonZero = whole.find_first_not_of('0');
    long order = 0;
    if (firstNonZero != std::string_view::npos) {
        order = static_cast<long>(whole.size() - firstNonZero) - 1;
    } else {
        const std::string_view fraction = mantissa.substr(std::min(point + 1, mantissa.size()));
        order = -static_cast<long>(std::min(fraction.find_first_not_of('0'), fraction.size())) - 1;
    }
    long power = 0;
    for (const char c : exponent) {
        if (isDigit(c) && power < 100000) {
            power = power * 10 + (c - '0');
        }
    }
    return order + (exponent.starts_with('-') ? -power : power);
}

}  // namespace
}  // namespace detail

double numericPrefix(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && detail::isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < text.size() && detail::isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && detail::isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    const std::string_view mantissa = text.substr(mantissaStart, i - mantissaStart);
    std::string_view exponent;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t exponentDigits = j;
        while (j < text.size() && detail::isDigit(text[j])) {
            ++j;
        }
        if (j > exponentDigits) {
            exponent = text.substr(i + 1, j - i - 1);
            i = j;
        }
    }
    const std::string_view number = text.substr(mantissaStart, i - mantissaStart);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = detail::orderOfMagnitude(mantissa, exponent) >= 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace vantu
