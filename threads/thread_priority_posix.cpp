// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "threads/thread_runner.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vantu {

void givePriorityToOthers() noexcept {
    // The niceness of one thread: Linux keeps it per thread, named by the thread's id.
    const auto self = static_cast<id_t>(::gettid());
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0) {
        (void)::setpriority(PRIO_PROCESS, self, std::min(now + 10, 19));
    }
}

}  // namespace vantu
