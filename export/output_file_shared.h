// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What the system's own parts of OutputFile (output_file_posix.cpp, output_file_windows.cpp)
// share with the rest of it.

#include <cstddef>
#include <filesystem>
#include <string>

namespace vantu::detail {

// What an OutputFile buffers before it writes.
inline constexpr std::size_t bufferSize = std::size_t{256} << 10U;

// The words for the errno value `error`: "No space left on device".
[[nodiscard]] std::string reasonOf(int error);

// How messages name `path`: "'x.png'", escaped.
[[nodiscard]] std::string quotedPath(const std::filesystem::path& path);

// Asks the stop check that OutputFile::setStopCheck set, if any; it may throw.
void checkForStop();

}  // namespace vantu::detail
