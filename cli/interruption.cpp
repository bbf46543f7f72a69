// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/interruption.h"

#include <atomic>
#include <utility>

namespace vantu::cli {
namespace detail {
namespace {

// Lock-free, so that a handler may store into it.
std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

void setInterruption(int signal) noexcept {
    requested.store(signal, std::memory_order_relaxed);
}

void remember(int signal) noexcept {
    int none = 0;
    requested.compare_exchange_strong(none, signal, std::memory_order_relaxed);
}

}  // namespace detail

int interruption() noexcept {
    return detail::requested.load(std::memory_order_relaxed);
}

Interrupted::Interrupted(int signal)
    : m_signal(signal),
      m_message(std::string("interrupted by ") +
                (detail::signalAbbreviation(signal) != nullptr
                     ? std::string("SIG") + detail::signalAbbreviation(signal)
                     : "a signal")) {}

void stopIfInterrupted() {
    if (const int signal = interruption()) {
        throw Interrupted(signal);
    }
}

std::optional<WorkFailure> runInterruptibly(OrderedWork work, const ItemWork& doWork,
                                            const ItemDelivery& deliver) {
    work.cancelled = [] { return interruption() != 0; };
    WorkOutcome outcome = runOrderedWork(work, doWork, deliver);
    stopIfInterrupted();
    return std::move(outcome.failure);
}

}  // namespace vantu::cli
