// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace vantu::cli {

// The memory this process can still have: the least of what the system has available, what its
// control groups' memory limits leave (cgroup v1 and v2, its own group and those above it), and
// what is left of the address space when it is limited (ulimit -v).
[[nodiscard]] std::uint64_t memoryLeft();

// How many of `jobs` threads (one per core when 0) fit in memoryLeft(), each needing
// `bytesPerJob`. At least 1.
[[nodiscard]] int jobsThatFit(int jobs, std::size_t bytesPerJob);

// Sets up the C library's heap for vantu-render, before any work: one heap for every thread,
// and blocks of up to 32 MiB kept in it once freed, for the next frame's encoder to take again.
void setUpHeap() noexcept;

// The address space each thread sets aside for its stack.
[[nodiscard]] std::size_t threadStackBytes() noexcept;

}  // namespace vantu::cli
