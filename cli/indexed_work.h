// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "cli/progress.h"

namespace vantu::cli {

// What ended a run of indexed work early: the smallest index whose work threw, and what it threw.
struct IndexedFailure {
    std::size_t index = 0;
    std::exception_ptr error;
};

// How a run of indexed work is shared out.
struct IndexedWork {
    std::size_t count = 0;   // the indices 0 to count - 1
    int threads = 0;         // at most this many threads, this one included; 0: one per core
    std::size_t window = 0;  // at most this many indices begun and not yet delivered; 0: two per
                             // thread
    ProgressBar* progress = nullptr;  // advanced by one per index delivered; may be null
    // Told, in a sentence, when fewer threads could be started than asked for; may be empty.
    std::function<void(const std::string&)> onFewerThreads;
};

// The work of one index, on any thread. `slot` (below the window) is shared by no two indices
// in flight at once, so that it can name a buffer the work fills and the delivery reads.
using IndexWorker = std::function<void(std::size_t index, std::size_t slot)>;

// What is done with the work of one index once it is done: on one thread at a time, index after
// index in increasing order.
using IndexDelivery = std::function<void(std::size_t index, std::size_t slot)>;

// The window of indices in flight that `work` gets: what it asks, or two per thread.
[[nodiscard]] std::size_t windowOf(const IndexedWork& work);

// Does `doWork` for every index on up to work.threads threads, and `deliver` (may be empty) for
// each in order as soon as the indices before it are delivered. Memory stays bounded by the
// window, whatever the count.
//
// The earliest failure wins, by index and not by time: once the work or the delivery of an index
// throws, no later index is begun or delivered, and the run returns the failure of the smallest
// index that threw. Every index before it was delivered. Returns nothing when every index was
// delivered.
//
// Threads that cannot be started are done without: the run goes on the threads there are, this
// one at least, and says so once through work.onFewerThreads. oneTBB starts no thread of its
// own. A signal that asks to stop (see interruption.h) ends the
// run before the next index with Interrupted. Throws std::bad_alloc when memory runs out.
[[nodiscard]] std::optional<IndexedFailure> runIndexedWork(const IndexedWork& work,
                                                           const IndexWorker& doWork,
                                                           const IndexDelivery& deliver = {});

}  // namespace vantu::cli
