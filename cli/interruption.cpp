// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/interruption.h"

#include <signal.h>

#include <atomic>
#include <cstring>
#include <utility>

#include "export/output_file.h"

namespace vantu::cli {
namespace detail {
namespace {

// Lock-free, so that the handler may store into it.
std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

// The first signal is the one that counts.
extern "C" void remember(int signal) {
    int none = 0;
    requested.compare_exchange_strong(none, signal, std::memory_order_relaxed);
}

}  // namespace

void setInterruption(int signal) noexcept {
    requested.store(signal, std::memory_order_relaxed);
}

}  // namespace detail

void catchInterruptions() {
    struct sigaction action {};
    action.sa_handler = detail::remember;
    sigemptyset(&action.sa_mask);
    // Restarted: a read or write in progress goes on, and the work stops at its next step.
    action.sa_flags = SA_RESTART;
    // SIGPIPE too: a reader that went away stops the work like any other request, and the
    // write that met the broken pipe fails with EPIPE instead of ending the program there.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaction(signal, &action, nullptr);
    }
    // An output that blocks, on a FIFO without a reader or a full pipe, still stops.
    OutputFile::setStopCheck(stopIfInterrupted);
}

int interruption() noexcept {
    return detail::requested.load(std::memory_order_relaxed);
}

Interrupted::Interrupted(int signal)
    : m_signal(signal),
      m_message(std::string("interrupted by ") + (sigabbrev_np(signal) != nullptr
                                                      ? std::string("SIG") + sigabbrev_np(signal)
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
