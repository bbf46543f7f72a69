// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/resources.h"

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
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

// The number in the file `path`, or nothing (no such file, or "max": no limit).
std::optional<std::uint64_t> numberIn(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::uint64_t value = 0;
    if (in >> value) {
        return value;
    }
    return std::nullopt;
}

// The value of `key` in a control group's memory.stat, or 0.
std::uint64_t statOf(const std::filesystem::path& stat, const std::string& key) {
    std::ifstream in(stat);
    std::string name;
    std::uint64_t value = 0;
    while (in >> name >> value) {
        if (name == key) {
            return value;
        }
    }
    return 0;
}

// What the memory limits of this process's control groups leave it: for its group and every
// group above it, the limit less what the group uses beyond the file pages it can drop at once
// (the inactive ones), the least of them; the largest value without a limit. The groups are
// read where systemd mounts them, /sys/fs/cgroup for cgroup v2 and /sys/fs/cgroup/memory for
// v1's memory controller.
std::uint64_t controlGroupsLeft() {
    std::uint64_t left = std::numeric_limits<std::uint64_t>::max();
    std::ifstream groups("/proc/self/cgroup");
    std::string line;
    while (std::getline(groups, line)) {
        // "0::/path" for cgroup v2, "4:memory:/path" for v1's memory controller.
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            continue;
        }
        const std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
        const bool v2 = controllers == ",,";
        if (!v2 && controllers.find(",memory,") == std::string::npos) {
            continue;
        }
        const std::filesystem::path root = v2 ? "/sys/fs/cgroup" : "/sys/fs/cgroup/memory";
        const char* limitFile = v2 ? "memory.max" : "memory.limit_in_bytes";
        const char* usageFile = v2 ? "memory.current" : "memory.usage_in_bytes";
        const char* inactiveKey = v2 ? "inactive_file" : "total_inactive_file";
        std::filesystem::path group = root;
        if (const auto below = std::filesystem::path(line.substr(second + 1)).relative_path();
            !below.empty()) {
            group /= below;
        }
        for (;;) {
            const std::optional<std::uint64_t> limit = numberIn(group / limitFile);
            const std::optional<std::uint64_t> usage = numberIn(group / usageFile);
            if (limit && usage) {
                const std::uint64_t inactive = statOf(group / "memory.stat", inactiveKey);
                const std::uint64_t used = *usage - std::min(*usage, inactive);
                left = std::min(left, *limit > used ? *limit - used : 0);
            }
            if (group == root || group.parent_path() == group) {
                break;
            }
            group = group.parent_path();
        }
    }
    return left;
}

}  // namespace
}  // namespace detail

std::uint64_t memoryLeft() {
    return std::min(
        {detail::availableMemory(), detail::controlGroupsLeft(), detail::addressSpaceLeft()});
}

void setUpHeap() noexcept {
    // One heap: the turntable's WebP encoder runs on whichever thread's turn it is, and a heap
    // of each thread's own would keep a copy of the encoder's megabytes once it frees them
    // (sixteen jobs held 680 MB where one heap holds 370). Drawing allocates nothing per pixel,
    // so the threads seldom meet in it.
    (void)::mallopt(M_ARENA_MAX, 1);
    // Given back to the system and taken anew for every frame, the encoder's blocks cost more
    // in their pages than the encoding: 1920 x 1080 frames of the WebP took 107 ms each, not 26.
    (void)::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    (void)::mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

std::size_t threadStackBytes() noexcept {
    rlimit limit{};
    // glibc gives each thread the stack size limit, or 2 MiB when there is none.
    if (::getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::size_t{2} << 20U;
    }
    return static_cast<std::size_t>(limit.rlim_cur);
}

}  // namespace vantu::cli
