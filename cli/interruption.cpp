// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/interruption.h"

#include <signal.h>

#include <atomic>
#include <cstring>

namespace vantu::cli {
namespace detail {
namespace {

// Lock-free, so that the handler may store into it.
std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void remember(int signal) {
    requested.store(signal, std::memory_order_relaxed);
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
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
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

}  // namespace vantu::cli
