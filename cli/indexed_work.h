#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>

#include "cli/progress.h"

namespace vantu::cli {

// What ended a run of indexed work early: the smallest index whose work threw, and what it threw.
struct IndexedFailure {
    std::size_t index = 0;
    std::exception_ptr error;
};

// The work of one thread: called with each index the thread takes, in increasing order.
using IndexWorker = std::function<void(std::size_t index)>;

// Does the work of the indices 0 to count - 1 on `threads` threads (one per core when 0 or less,
// never more than there are indices), this one included. Each thread makes its worker once, with
// `makeWorker`, then takes the next index not yet taken until none is left. Advances `progress`
// (may be null) by one per index done.
//
// The earliest failure wins, by index and not by time: once an index's work throws, no later
// index is started, and the run returns the failure of the smallest index that threw. Every
// index before that one was done; indices after it may or may not have been. Returns nothing
// when every index was done. When `makeWorker` throws, no more indices are started and what it
// threw is rethrown once every thread has ended.
[[nodiscard]] std::optional<IndexedFailure> runIndexedWork(
    std::size_t count, int threads, const std::function<IndexWorker()>& makeWorker,
    ProgressBar* progress);

}  // namespace vantu::cli
