// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Numbers and quoted text as the program's messages and pages write them.

#include <cstddef>
#include <string>
#include <string_view>

namespace vantu {

// Shortest text that reads back as `value`: "120", "1e-320", "-0".
[[nodiscard]] std::string formatNumber(double value);

// An angle in radians as degrees with at most two decimals and no trailing zeros: "90", "25.71".
[[nodiscard]] std::string formatDegrees(double radians);

// A user's UTF-8 text made safe to quote in a message, so that the message reads as written:
// control characters (U+0000 to U+001F, U+007F to U+009F), the bidirectional marks, embeddings,
// overrides and isolates (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069) and the
// line and paragraph separators (U+2028, U+2029) become "\u" and four hexadecimal digits, as in
// "\u202E"; each byte that is not part of a valid UTF-8 sequence becomes "\x" and two, as in
// "\xFF". Everything else, backslashes included, is kept.
[[nodiscard]] std::string escapeText(std::string_view text);

// One piece of a user's UTF-8 text as escapeText reads it: a run of characters it keeps as they
// are, one character it escapes ("\u" and its code point), or one byte that is not part of a
// valid UTF-8 sequence ("\x" and the byte).
struct TextPiece {
    enum class Kind { kept, character, byte };
    Kind kind = Kind::kept;
    std::size_t length = 0;  // in bytes
    char32_t codePoint = 0;  // of a character
};

// The first piece of `text`, which must not be empty: the one home of which characters a
// message, or a command line, must not show as they are.
[[nodiscard]] TextPiece firstTextPiece(std::string_view text) noexcept;

// `text` in double quotes for a message: its first `maxBytes` bytes at most, cut at a character
// boundary and followed by "..." when cut, through escapeText.
[[nodiscard]] std::string quotedText(std::string_view text, std::size_t maxBytes = 40);

}  // namespace vantu
