// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Items (a picture's rows, a turntable's frames, a gallery's pictures) worked in parallel on the
// program's own threads and delivered in order, the earliest failure winning by index. The one
// loop behind vantu-render's files and the Explorer's frames. No Qt, no I/O.

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>

#include "threads/thread_runner.h"

namespace vantu {

// Counts the items delivered, such as a progress bar. Safe from any thread.
class WorkProgress {
public:
    virtual void advance(long units) = 0;

protected:
    WorkProgress() = default;
    WorkProgress(const WorkProgress&) = default;
    WorkProgress& operator=(const WorkProgress&) = default;
    ~WorkProgress() = default;
};

// How a run of work is shared out, whatever its items are.
struct WorkOptions {
    int jobs = 0;                      // threads, the calling one included; 0: one per core
    WorkProgress* progress = nullptr;  // advanced by one per item delivered; may be null
    FewerThreads onFewerThreads;  // told once when fewer threads could be started; may be empty
};

// A run of work: the items 0 to count - 1.
struct OrderedWork {
    std::size_t count = 0;
    std::size_t window = 0;  // at most this many items begun and not yet delivered; 0: two per
                             // thread
    WorkOptions options;
    // Asked before each item is begun, on one thread at a time; once it answers true no item
    // more is begun, and the items begun are finished and delivered. May be empty.
    std::function<bool()> cancelled;
};

// The work of one item, on any thread. `slot` (below the window) is shared by no two items in
// flight at once, so that it can name a buffer the work fills and the delivery reads.
using ItemWork = std::function<void(std::size_t index, std::size_t slot)>;

// What is done with an item once it is worked: on one thread at a time, in increasing order.
using ItemDelivery = std::function<void(std::size_t index, std::size_t slot)>;

// What ended a run early: the smallest index whose work or delivery threw, and what it threw.
struct WorkFailure {
    std::size_t index = 0;
    std::exception_ptr error;
};

// How a run ended.
struct WorkOutcome {
    std::optional<WorkFailure> failure;  // none when no item threw
    bool cancelled = false;              // OrderedWork::cancelled answered true
    int threads = 1;                     // the threads that took part, this one included
};

// The threads a run of `options` asks for: options.jobs, or one per core.
[[nodiscard]] int threadsOf(const WorkOptions& options) noexcept;

// The window of items in flight that `work` gets: what it asks, or two per thread.
[[nodiscard]] std::size_t windowOf(const OrderedWork& work) noexcept;

// Does `doWork` for every item on up to work.options.jobs threads (runOnThreads), and `deliver`
// (may be empty) for each in order as soon as the items before it are delivered. Memory stays
// bounded by the window, whatever the count.
//
// The earliest failure wins, by index and not by time: once the work or the delivery of an item
// throws, no later item is begun or delivered, and the outcome holds the failure of the smallest
// index that threw; every item before it was delivered. A cancelled run begins no item after the
// answer and delivers every item it began. Throws std::bad_alloc when
// memory runs out.
[[nodiscard]] WorkOutcome runOrderedWork(const OrderedWork& work, const ItemWork& doWork,
                                         const ItemDelivery& deliver = {});

}  // namespace vantu
