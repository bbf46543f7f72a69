// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "threads/thread_runner.h"

#include <tbb/global_control.h>
#include <tbb/task_arena.h>
#include <tbb/task_group.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vantu {

int coreCount() noexcept {
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

int runOnThreads(int threads, const FewerThreads& onFewer, const std::function<void()>& work) {
    // oneTBB's own workers: none. Every slot of the arena is kept for the program's threads.
    const tbb::global_control noWorkers(tbb::global_control::max_allowed_parallelism, 1);
    tbb::task_arena arena(threads, static_cast<unsigned>(threads));
    tbb::task_group group;
    std::mutex mutex;
    std::condition_variable started;
    bool begun = false;
    const auto help = [&] {
        {
            std::unique_lock lock(mutex);
            started.wait(lock, [&] { return begun; });
        }
        // Takes part in the group's work until it is done.
        arena.execute([&] { group.wait(); });
    };
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<std::size_t>(threads));
    for (int i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(help);
        } catch (const std::system_error& e) {
            if (onFewer) {
                const std::size_t have = helpers.size() + 1;
                onFewer("cannot start " + std::to_string(threads) + " threads (" + e.what() +
                        "); going on with " + (have == 1 ? "one" : std::to_string(have)));
            }
            break;
        }
    }
    std::exception_ptr failure;
    arena.execute([&] {
        group.run([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        });
        {
            const std::lock_guard lock(mutex);
            begun = true;
        }
        started.notify_all();
        group.wait();
    });
    for (std::thread& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return static_cast<int>(helpers.size()) + 1;
}

}  // namespace vantu
