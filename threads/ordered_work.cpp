// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "threads/ordered_work.h"

#include <tbb/parallel_pipeline.h>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace vantu {
namespace {

// oneTBB's pipeline over the items: a serial stage that hands out the indices, a parallel one
// that works them, a serial one that delivers them in order. Failures of the work and the
// delivery are kept here; what escapes is the pipeline's own (memory that could not be had).
class Pass {
public:
    Pass(const OrderedWork& work, const ItemWork& doWork, const ItemDelivery& deliver)
        : m_work(work), m_doWork(doWork), m_deliver(deliver), m_stop(work.count) {}

    int run(std::size_t window) {
        return runOnThreads(threadsOf(m_work.options), m_work.options.onFewerThreads, [&] {
            const auto begins = tbb::make_filter<void, std::size_t>(
                tbb::filter_mode::serial_in_order,
                [&](tbb::flow_control& control) { return begin(control); });
            const auto works = [&](std::size_t index) {
                attempt(index, [&] { m_doWork(index, index % window); });
            };
            if (!m_deliver && m_work.options.progress == nullptr) {
                // Nothing to do in order: an item is done once it is worked.
                tbb::parallel_pipeline(window, begins & tbb::make_filter<std::size_t, void>(
                                                            tbb::filter_mode::parallel, works));
                return;
            }
            tbb::parallel_pipeline(
                window,
                begins &
                    tbb::make_filter<std::size_t, std::size_t>(tbb::filter_mode::parallel,
                                                               [&](std::size_t index) {
                                                                   works(index);
                                                                   return index;
                                                               }) &
                    tbb::make_filter<std::size_t, void>(
                        tbb::filter_mode::serial_in_order, [&](std::size_t index) {
                            if (m_deliver) {
                                attempt(index, [&] { m_deliver(index, index % window); });
                            }
                            if (index < m_stop.load() && m_work.options.progress != nullptr) {
                                m_work.options.progress->advance(1);
                            }
                        }));
        });
    }

    [[nodiscard]] const std::optional<WorkFailure>& failure() const noexcept { return m_failure; }
    [[nodiscard]] bool cancelled() const noexcept { return m_cancelled; }

private:
    // The next item, on one thread at a time; none after a failure or once the run is
    // cancelled. The items begun go on, each on its thread, and are delivered.
    std::size_t begin(tbb::flow_control& control) {
        if (m_next >= m_stop.load()) {
            control.stop();
            return 0;
        }
        if (m_work.cancelled && m_work.cancelled()) {
            m_cancelled = true;
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
                m_failure = WorkFailure{index, std::current_exception()};
                m_stop = index;
            }
        }
    }

    const OrderedWork& m_work;
    const ItemWork& m_doWork;
    const ItemDelivery& m_deliver;
    std::size_t m_next = 0;
    std::atomic<std::size_t> m_stop;  // items from here on are not begun nor delivered
    bool m_cancelled = false;
    std::mutex m_mutex;
    std::optional<WorkFailure> m_failure;
};

}  // namespace

int threadsOf(const WorkOptions& options) noexcept {
    return std::max(1, options.jobs > 0 ? options.jobs : coreCount());
}

std::size_t windowOf(const OrderedWork& work) noexcept {
    return work.window > 0 ? work.window : 2 * static_cast<std::size_t>(threadsOf(work.options));
}

WorkOutcome runOrderedWork(const OrderedWork& work, const ItemWork& doWork,
                           const ItemDelivery& deliver) {
    Pass pass(work, doWork, deliver);
    WorkOutcome outcome;
    outcome.threads = pass.run(windowOf(work));
    outcome.failure = pass.failure();
    outcome.cancelled = pass.cancelled();
    return outcome;
}

}  // namespace vantu
