// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/progress.h"

#include <io.h>

#include <cstdio>

namespace vantu::cli {

std::FILE* progressStream() noexcept {
    return ::_isatty(::_fileno(stderr)) != 0 ? stderr : nullptr;
}

}  // namespace vantu::cli
