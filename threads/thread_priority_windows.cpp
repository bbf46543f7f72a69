// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "threads/thread_runner.h"

#include <windows.h>

namespace vantu {

void givePriorityToOthers() noexcept {
    (void)::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

}  // namespace vantu
