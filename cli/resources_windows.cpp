// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/resources.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace vantu::cli {

// The physical memory free, within the address space left.
std::uint64_t memoryLeft() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (::GlobalMemoryStatusEx(&status) == 0) {
        return UINT64_MAX;
    }
    return std::min<std::uint64_t>(status.ullAvailPhys, status.ullAvailVirtual);
}

// The system's heap serves every thread alike already.
void setUpHeap() noexcept {}

// What the program's threads are given: mingw-w64's threads take the executable's stack size,
// 2 MiB.
std::size_t threadStackBytes() noexcept {
    return std::size_t{2} << 20U;
}

}  // namespace vantu::cli
