// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/progress.h"

#include <unistd.h>

namespace vantu::cli {

std::FILE* progressStream() noexcept {
    return ::isatty(STDERR_FILENO) == 1 ? stderr : nullptr;
}

}  // namespace vantu::cli
