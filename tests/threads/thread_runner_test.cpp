// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// runOnThreads: the work runs on this thread and as many more as asked, no more, and the
// threads share its oneTBB algorithms.

#include "threads/thread_runner.h"

#include <gtest/gtest.h>
#include <tbb/parallel_for.h>

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace vantu {
namespace {

// How many threads the process has now.
int threadsNow() {
    int threads = 0;
    for ([[maybe_unused]] const auto& task :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++threads;
    }
    return threads;
}

class RunOnThreads : public testing::TestWithParam<int> {};

// `threads` threads in all, this one among them: threads - 1 started for the work, and the work
// of a parallel_for done on no others.
TEST_P(RunOnThreads, StartsOneThreadFewerThanItRunsOn) {
    const int threads = GetParam();
    const int before = threadsNow();
    int during = 0;
    std::string told;
    std::mutex mutex;
    std::set<std::thread::id> workers;
    const int took = runOnThreads(
        threads, [&](const std::string& sentence) { told += sentence; },
        [&] {
            during = threadsNow();
            tbb::parallel_for(0, 4000, [&](int) {
                const std::lock_guard lock(mutex);
                workers.insert(std::this_thread::get_id());
            });
        });
    EXPECT_EQ(took, threads);
    EXPECT_EQ(during, before + threads - 1);
    EXPECT_LE(workers.size(), static_cast<std::size_t>(threads));
    EXPECT_EQ(told, "");
    EXPECT_EQ(threadsNow(), before);
}

INSTANTIATE_TEST_SUITE_P(Counts, RunOnThreads, testing::Values(1, 2, 5));

}  // namespace
}  // namespace vantu
