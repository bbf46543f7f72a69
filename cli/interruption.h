// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// SIGINT, SIGTERM, SIGHUP and SIGPIPE as a request to stop: the work ends at its next step, or
// within a tenth of a second while an output blocks, unwinding so that temporary files are
// removed and the files they were to replace are kept. The first signal received is the one
// that counts.

#include <exception>
#include <optional>
#include <string>

#include "threads/ordered_work.h"

namespace vantu::cli {

// From now on, SIGINT, SIGTERM, SIGHUP and SIGPIPE are remembered instead of ending the program
// at once, and outputs that block ask for them (OutputFile::setStopCheck).
void catchInterruptions();

// The signal that asked to stop, or 0 when none did. Safe from any thread.
[[nodiscard]] int interruption() noexcept;

// Thrown where work stops because a signal asked it to.
class Interrupted : public std::exception {
public:
    explicit Interrupted(int signal);
    [[nodiscard]] int signal() const noexcept { return m_signal; }
    // "interrupted by SIGINT"
    [[nodiscard]] const char* what() const noexcept override { return m_message.c_str(); }

private:
    int m_signal;
    std::string m_message;
};

// Throws Interrupted when a signal asked to stop.
void stopIfInterrupted();

// runOrderedWork, cancelled by a signal that asks to stop: the run then ends before its next
// item and throws Interrupted. Returns the earliest failure, or nothing when every item was
// delivered.
[[nodiscard]] std::optional<WorkFailure> runInterruptibly(OrderedWork work, const ItemWork& doWork,
                                                          const ItemDelivery& deliver = {});

// Whether `signal` says that the reader went away (SIGPIPE, where there is one).
[[nodiscard]] bool isBrokenPipe(int signal) noexcept;

namespace detail {
// Records `signal` as a signal handler would; for the tests. 0 forgets it.
void setInterruption(int signal) noexcept;

// Records `signal` unless one was recorded already: the first one counts. Safe in a handler.
void remember(int signal) noexcept;

// The signal's name without "SIG" ("INT"), or nullptr.
[[nodiscard]] const char* signalAbbreviation(int signal) noexcept;
}  // namespace detail

}  // namespace vantu::cli
