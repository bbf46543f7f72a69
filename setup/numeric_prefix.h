// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace vantu {

// The number that the leading characters of `text` spell, or 0 when they spell none. Never
// fails. Reads: blanks (space, tab, line breaks) skipped, an optional "+" or "-", digits with an
// optional "." and further digits (at least one digit in all), then an optional exponent "e" or
// "E" with an optional sign and at least one digit. Reading stops at the first character that
// does not continue the number, so "12.5xyz" gives 12.5 and "1 2" gives 1. The result is the
// correctly rounded double; a number beyond the double range gives an infinity of its sign, one
// too small for it gives a zero of its sign.
[[nodiscard]] double numericPrefix(std::string_view text) noexcept;

}  // namespace vantu
