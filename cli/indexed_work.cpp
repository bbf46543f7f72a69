// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/indexed_work.h"

#include <tbb/parallel_pipeline.h>

#include <algorithm>
#include <atomic>
#include <mutex>

#include "cli/interruption.h"
#include "threads/thread_runner.h"

namespace vantu::cli {
namespace detail {
namespace {

int threadsOf(const IndexedWork& work) {
    return std::max(1, work.threads > 0 ? work.threads : coreCount());
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
