// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace vantu::cli {

// How many of `jobs` threads (one per core when 0) fit in the memory this process can still
// have, each needing `bytesPerJob`: the memory the system has available, and what is left of
// the address space when it is limited (ulimit -v). At least 1.
[[nodiscard]] int jobsThatFit(int jobs, std::size_t bytesPerJob);

// The address space each thread sets aside for its stack.
[[nodiscard]] std::size_t threadStackBytes() noexcept;

}  // namespace vantu::cli
