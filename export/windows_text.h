// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Text between the program, which keeps it in UTF-8, and Windows, which takes UTF-16. Windows
// builds alone.

#include <string>
#include <string_view>

namespace vantu::windows {

// `text`, UTF-8, in UTF-16; what is not valid UTF-8 becomes U+FFFD.
[[nodiscard]] std::wstring wide(std::string_view text);

// `text`, UTF-16, in UTF-8.
[[nodiscard]] std::string utf8(std::wstring_view text);

// The system's words for its error code `error` (GetLastError()), in UTF-8, without the
// trailing ".\r\n": "Access is denied". The code in figures when the system has no words.
[[nodiscard]] std::string reasonOf(unsigned long error);

}  // namespace vantu::windows
