// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/interruption.h"

#include <windows.h>

#include <signal.h>

#include "export/output_file.h"

namespace vantu::cli {
namespace detail {
namespace {

// Runs on a thread of its own that the system starts. Ctrl+C and Ctrl+Break ask to stop as
// SIGINT does elsewhere; so does closing the console, after which the system ends the process
// once this returns: it waits instead, for the work to stop and remove its temporary file
// (the system ends the process after a few seconds in any case).
BOOL WINAPI rememberEvent(DWORD event) {
    remember(SIGINT);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        ::Sleep(INFINITE);
    }
    return TRUE;
}

}  // namespace

const char* signalAbbreviation(int signal) noexcept {
    switch (signal) {
        case SIGINT:
            return "INT";
        case SIGTERM:
            return "TERM";
        default:
            return nullptr;
    }
}

}  // namespace detail

void catchInterruptions() {
    ::SetConsoleCtrlHandler(detail::rememberEvent, TRUE);
    OutputFile::setStopCheck(stopIfInterrupted);
}

// Windows has no SIGPIPE: a reader that went away is a failed write.
bool isBrokenPipe(int /*signal*/) noexcept {
    return false;
}

}  // namespace vantu::cli
