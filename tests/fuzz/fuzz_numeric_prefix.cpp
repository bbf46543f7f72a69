// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// numericPrefix on arbitrary text: never NaN, the sign of the text, and blind to what follows
// the number.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "setup/numeric_prefix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = vantu::numericPrefix(text);
    if (std::isnan(value)) {
        std::abort();
    }
    const std::size_t start = text.find_first_not_of(" \t\n\r\v\f");
    if (start != std::string_view::npos && text[start] >= '0' && text[start] <= '9' &&
        std::signbit(value)) {
        std::abort();
    }
    // A letter appended never changes the number (it cannot continue an exponent: "e" could).
    const std::string extended = std::string(text) + "x";
    const double again = vantu::numericPrefix(extended);
    if (!(again == value || (std::isnan(again) && std::isnan(value)))) {
        std::abort();
    }
    return 0;
}
