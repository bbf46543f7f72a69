// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/resources.h"

#include <algorithm>
#include <cstdint>
#include <thread>

namespace vantu::cli {

int jobsThatFit(int jobs, std::size_t bytesPerJob) {
    const int wanted =
        jobs > 0 ? jobs : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const std::uint64_t fit = memoryLeft() / std::max<std::uint64_t>(bytesPerJob, 1);
    return static_cast<int>(std::clamp<std::uint64_t>(fit, 1, static_cast<std::uint64_t>(wanted)));
}

}  // namespace vantu::cli
