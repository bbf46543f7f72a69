// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/interruption.h"

#include <signal.h>

#include <cstring>

#include "export/output_file.h"

namespace vantu::cli {
namespace detail {
namespace {

// The first signal is the one that counts.
extern "C" void rememberSignal(int signal) {
    remember(signal);
}

}  // namespace

const char* signalAbbreviation(int signal) noexcept {
    return sigabbrev_np(signal);
}

}  // namespace detail

void catchInterruptions() {
    struct sigaction action {};
    action.sa_handler = detail::rememberSignal;
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

bool isBrokenPipe(int signal) noexcept {
    return signal == SIGPIPE;
}

}  // namespace vantu::cli
