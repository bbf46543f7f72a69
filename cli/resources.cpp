// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/resources.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <thread>

namespace vantu::cli {
namespace detail {
namespace {

// The memory the system can give without swapping, from /proc/meminfo; or its free pages.
std::uint64_t availableMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string name;
    std::uint64_t kib = 0;
    std::string unit;
    while (meminfo >> name >> kib >> unit) {
        if (name == "MemAvailable:") {
            return kib * 1024U;
        }
    }
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0
               ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize)
               : std::numeric_limits<std::uint64_t>::max();
}

// What is left of the address space under a limit, or the largest value without one.
std::uint64_t addressSpaceLeft() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    const std::uint64_t used = pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}

}  // namespace
}  // namespace detail

std::size_t threadStackBytes() noexcept {
    rlimit limit{};
    // glibc gives each thread the stack size limit, or 2 MiB when there is none.
    if (::getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::size_t{2} << 20U;
    }
    return static_cast<std::size_t>(limit.rlim_cur);
}

int jobsThatFit(int jobs, std::size_t bytesPerJob) {
    const int wanted =
        jobs > 0 ? jobs : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const std::uint64_t memory = std::min(detail::availableMemory(), detail::addressSpaceLeft());
    const std::uint64_t fit = memory / std::max<std::uint64_t>(bytesPerJob, 1);
    return static_cast<int>(std::clamp<std::uint64_t>(fit, 1, static_cast<std::uint64_t>(wanted)));
}

}  // namespace vantu::cli
