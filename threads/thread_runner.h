// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// threads/: the program's own threads, on which oneTBB's algorithms run; a thread that cannot
// be started is one fewer, never the end of the program. No Qt, no I/O.

#include <functional>
#include <string>

namespace vantu {

// Tells, in a sentence, that fewer threads could be started than asked for, such as "cannot
// start 2 threads (Resource temporarily unavailable); going on with one".
using FewerThreads = std::function<void(const std::string&)>;

// Runs `work` on this thread and up to `threads` - 1 more threads of the program's own, which
// share the oneTBB algorithms that `work` runs. oneTBB starts no thread itself: one that it could
// not start would end the program from inside oneTBB, whereas a thread of the program's own that
// cannot be started is simply one fewer. When there are fewer than asked for, `onFewer` (may be
// empty) is told so once, before the work begins. What `work` throws is thrown here once every
// thread is back. Returns how many threads took part, this one included.
int runOnThreads(int threads, const FewerThreads& onFewer, const std::function<void()>& work);

// Makes the calling thread give way to the program's other threads when they compete for the
// processor (on Linux, a niceness 10 higher), so that a window's thread stays responsive while
// it works. Does nothing where that cannot be done.
void givePriorityToOthers() noexcept;

// One thread per core, at least one.
[[nodiscard]] int coreCount() noexcept;

}  // namespace vantu
