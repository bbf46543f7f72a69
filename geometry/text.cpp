// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "geometry/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
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

namespace detail {
namespace {

// The code point of the valid UTF-8 sequence at the start of `text` and its length in bytes, or
// a length of 0 when the first byte does not begin one (overlong forms, surrogates and code
// points beyond U+10FFFF are not valid).
struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

Decoded decodeUtf8(std::string_view text) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80U) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0U) == 0xC0U) {
        length = 2;
        smallest = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3;
        smallest = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4;
        smallest = 0x10000;
    } else {
        return {};
    }
    if (text.size() < length) {
        return {};
    }
    char32_t codePoint = lead & (0x7FU >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0U) != 0x80U) {
            return {};
        }
        codePoint = (codePoint << 6U) | (byte(i) & 0x3FU);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return {};
    }
    return {codePoint, length};
}

bool needsEscape(char32_t c) noexcept {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x2028 ||
           c == 0x2029;
}

void appendHex(std::string& out, const char* prefix, unsigned value, int digits) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%s%0*X", prefix, digits, value);
    out += text.data();
}

}  // namespace
}  // namespace detail

TextPiece firstTextPiece(std::string_view text) noexcept {
    std::size_t kept = 0;
    while (kept < text.size()) {
        const detail::Decoded d = detail::decodeUtf8(text.substr(kept));
        if (d.length == 0 || detail::needsEscape(d.codePoint)) {
            if (kept > 0) {
                break;
            }
            return d.length == 0 ? TextPiece{TextPiece::Kind::byte, 1, 0}
                                 : TextPiece{TextPiece::Kind::character, d.length, d.codePoint};
        }
        kept += d.length;
    }
    return {TextPiece::Kind::kept, kept, 0};
}

std::string escapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const TextPiece piece = firstTextPiece(text);
        switch (piece.kind) {
            case TextPiece::Kind::kept:
                out += text.substr(0, piece.length);
                break;
            case TextPiece::Kind::character:
                detail::appendHex(out, "\\u", static_cast<unsigned>(piece.codePoint), 4);
                break;
            case TextPiece::Kind::byte:
                detail::appendHex(out, "\\x", static_cast<unsigned char>(text.front()), 2);
                break;
        }
        text.remove_prefix(piece.length);
    }
    return out;
}

std::string quotedText(std::string_view text, std::size_t maxBytes) {
    std::size_t shown = std::min(text.size(), maxBytes);
    while (shown > 0 && shown < text.size() &&
           (static_cast<unsigned char>(text[shown]) & 0xC0U) == 0x80U) {
        --shown;
    }
    return "\"" + escapeText(text.substr(0, shown)) + (shown < text.size() ? "...\"" : "\"");
}

}  // namespace vantu
