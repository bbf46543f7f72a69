// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/process.h"

#include <windows.h>

namespace vantu {

// A missing disc or a failing drive is an error to report, never a dialogue that waits for
// somebody to click it away.
void prepareProcess() noexcept {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

}  // namespace vantu
