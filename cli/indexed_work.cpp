// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/indexed_work.h"

#include <tbb/global_control.h>
#include <tbb/parallel_pipeline.h>
#include <tbb/task_arena.h>
#include <tbb/task_group.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/interruption.h"

namespace vantu::cli {
namespace detail {
namespace {

int threadsOf(const IndexedWork& work) {
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    return std::max(1, work.threads > 0 ? work.threads : cores);
}

// Runs `work` on this thread and up to `threads` - 1 more threads of the program's own, which
// share the oneTBB algorithms that `work` runs. oneTBB starts no thread itself: one that it
// could not start would end the program from inside oneTBB, whereas a thread of the program's
// own that cannot be started is simply one fewer. When there are fewer than asked for,
// `onFewer` (may be empty) is told so once, before the work begins. What `work` throws is
// thrown here once every thread is back.
void runOnThreads(int threads, const std::function<void(const std::string&)>& onFewer,
                  const std::function<void()>& work) {
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
}

// The pipeline over the indices. Failures of the work and the delivery are kept in `failure`;
// what escapes is the pipeline's own (memory that could not be had).
class Pass {
public:
    Pass(const IndexedWork& work, const IndexWorker& doWork, const IndexDelivery& deliver)
        : m_work(work), m_doWork(doWork), m_deliver(deliver), m_stop(work.count) {}

    void run(int threads, std::size_t window) {
        runOnThreads(threads, m_work.onFewerThreads, [&] {
            tbb::parallel_pipeline(
                window, tbb::make_filter<void, std::size_t>(
                            tbb::filter_mode::serial_in_order,
                            [&](tbb::flow_control& control) { return begin(control); }) &
                            tbb::make_filter<std::size_t, std::size_t>(
                                tbb::filter_mode::parallel,
                                [&](std::size_t index) {
                                    attempt(index, [&] { m_doWork(index, index % window); });
                                    return index;
                                }) &
                            tbb::make_filter<std::size_t, void>(
                                tbb::filter_mode::serial_in_order, [&](std::size_t index) {
                                    if (index < m_stop.load()) {
                                        attempt(index, [&] {
                                            if (m_deliver) {
                                                m_deliver(index, index % window);
                                            }
                                        });
                                    }
                                    if (index < m_stop.load() && m_work.progress != nullptr) {
                                        m_work.progress->advance();
                                    }
                                }));
        });
    }

    [[nodiscard]] const std::optional<IndexedFailure>& failure() const noexcept {
        return m_failure;
    }

private:
    std::size_t begin(tbb::flow_control& control) {
        if (m_next >= m_stop.load() || interruption() != 0) {
            control.stop();
            return 0;
        }
        return m_next++;
    }

    template <class Step>
    void attempt(std::size_t index, const Step& step) {
        if (index >= m_stop.load()) {
            return;  // after a failure: not begun
        }
        try {
            step();
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            if (!m_failure || index < m_failure->index) {
                m_failure = IndexedFailure{index, std::current_exception()};
                m_stop = index;
            }
        }
    }

    const IndexedWork& m_work;
    const IndexWorker& m_doWork;
    const IndexDelivery& m_deliver;
    std::size_t m_next = 0;
    std::atomic<std::size_t> m_stop;  // indices from here on are not begun nor delivered
    std::mutex m_mutex;
    std::optional<IndexedFailure> m_failure;
};

}  // namespace
}  // namespace detail

std::size_t windowOf(const IndexedWork& work) {
    return work.window > 0 ? work.window : 2 * static_cast<std::size_t>(detail::threadsOf(work));
}

std::optional<IndexedFailure> runIndexedWork(const IndexedWork& work, const IndexWorker& doWork,
                                             const IndexDelivery& deliver) {
    const std::size_t window = windowOf(work);
    const int threads = detail::threadsOf(work);
    detail::Pass pass(work, doWork, deliver);
    pass.run(threads, window);
    stopIfInterrupted();
    return pass.failure();
}

}  // namespace vantu::cli
