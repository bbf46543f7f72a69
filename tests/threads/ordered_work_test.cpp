// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Items worked on several threads and delivered in order: every item once, a bounded window, the
// earliest failure by index, the progress, the cancellation and the threads that would not start.

#include "threads/ordered_work.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/test_support.h"

namespace vantu {
namespace {

// The message of the exception a failure holds.
std::string messageOf(const WorkFailure& failure) {
    try {
        std::rethrow_exception(failure.error);
    } catch (const std::exception& e) {
        return e.what();
    }
}

// Counts what it is told.
class Counter final : public WorkProgress {
public:
    void advance(long units) override { m_units += units; }
    [[nodiscard]] long units() const noexcept { return m_units.load(); }

private:
    std::atomic<long> m_units{0};
};

std::vector<std::size_t> firstIndices(std::size_t count) {
    std::vector<std::size_t> indices(count);
    for (std::size_t i = 0; i < count; ++i) {
        indices[i] = i;
    }
    return indices;
}

struct CountCase {
    const char* name;
    std::size_t count;
    int jobs;
    std::size_t window;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }
};

class EveryItem : public testing::TestWithParam<CountCase> {};

// Each item is worked once and delivered once, in order, and counted once; no two items in
// flight share a slot, and no more than the window are in flight.
TEST_P(EveryItem, IsDoneOnceAndDeliveredInOrderWithinTheWindow) {
    const CountCase& c = GetParam();
    Counter progress;
    OrderedWork work;
    work.count = c.count;
    work.window = c.window;
    work.options.jobs = c.jobs;
    work.options.progress = &progress;
    const std::size_t window = windowOf(work);
    std::mutex mutex;
    std::multiset<std::size_t> done;
    std::vector<std::size_t> delivered;
    std::vector<std::size_t> slotHolder(window, c.count);  // the item filling each slot
    std::atomic<std::size_t> begun{0};
    std::size_t mostInFlight = 0;
    const WorkOutcome outcome = runOrderedWork(
        work,
        [&](std::size_t index, std::size_t slot) {
            ++begun;
            const std::lock_guard lock(mutex);
            done.insert(index);
            ASSERT_LT(slot, window);
            slotHolder[slot] = index;
        },
        [&](std::size_t index, std::size_t slot) {
            EXPECT_EQ(slotHolder[slot], index) << "another item took the slot";
            delivered.push_back(index);
            mostInFlight = std::max(mostInFlight, begun.load() - delivered.size() + 1);
        });
    EXPECT_FALSE(outcome.failure.has_value());
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.threads, threadsOf(work.options));
    const std::vector<std::size_t> all = firstIndices(c.count);
    EXPECT_EQ(std::vector<std::size_t>(done.begin(), done.end()), all);
    EXPECT_EQ(delivered, all);
    EXPECT_EQ(progress.units(), static_cast<long>(c.count));
    EXPECT_LE(mostInFlight, window);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, EveryItem,
    testing::Values(CountCase{"NoItem", 0, 3, 0}, CountCase{"OneItem", 1, 4, 0},
                    CountCase{"OneThread", 50, 1, 0}, CountCase{"MoreThreadsThanItems", 2, 8, 0},
                    CountCase{"ManyItemsNarrowWindow", 1000, 3, 2},
                    CountCase{"WindowOfAll", 300, 2, 300}, CountCase{"OnePerCore", 200, 0, 0}),
    RowName());

// How a run on one thread, where the order is fixed, ends early: a work or a delivery that
// throws at item 5, or the cancellation asked for by item 5's work.
struct StopCase {
    const char* name;
    bool workThrows;
    bool deliveryThrows;
    bool cancels;
    friend void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }
};

class EndsEarly : public testing::TestWithParam<StopCase> {};

// Nothing after item 5 is begun, and only the items before 5 are delivered and counted.
TEST_P(EndsEarly, AtItsItemAndNoLater) {
    const StopCase& c = GetParam();
    Counter progress;
    bool cancel = false;
    OrderedWork work;
    work.count = 10;
    work.options.jobs = 1;
    work.options.progress = &progress;
    work.cancelled = [&] { return cancel; };
    std::vector<std::size_t> worked;
    std::vector<std::size_t> delivered;
    const WorkOutcome outcome = runOrderedWork(
        work,
        [&](std::size_t index, std::size_t /*slot*/) {
            worked.push_back(index);
            if (index == 5 && c.workThrows) {
                throw std::runtime_error("five");
            }
            cancel = cancel || (index == 5 && c.cancels);
        },
        [&](std::size_t index, std::size_t /*slot*/) {
            if (index == 5 && c.deliveryThrows) {
                throw std::runtime_error("five");
            }
            delivered.push_back(index);
        });
    if (!c.deliveryThrows) {
        EXPECT_EQ(worked, firstIndices(6));
    }
    const std::size_t deliveredCount = c.cancels ? 6 : 5;
    EXPECT_EQ(delivered, firstIndices(deliveredCount));
    EXPECT_EQ(progress.units(), static_cast<long>(deliveredCount));
    EXPECT_EQ(outcome.cancelled, c.cancels);
    ASSERT_EQ(outcome.failure.has_value(), !c.cancels);
    if (outcome.failure) {
        EXPECT_EQ(outcome.failure->index, 5U);
        EXPECT_EQ(messageOf(*outcome.failure), "five");
    }
}

INSTANTIATE_TEST_SUITE_P(OneThread, EndsEarly,
                         testing::Values(StopCase{"WorkThrows", true, false, false},
                                         StopCase{"DeliveryThrows", false, true, false},
                                         StopCase{"Cancelled", false, false, true}),
                         RowName());

// Item 3 fails only after item 7 has failed on the other thread: 3 still wins, with a delivery
// and without one (where nothing is done in order).
TEST(EarliestFailure, IsByIndexNotByTime) {
    for (const bool delivers : {true, false}) {
        std::atomic<bool> sevenFailed{false};
        std::mutex mutex;
        std::set<std::size_t> done;
        std::vector<std::size_t> delivered;
        OrderedWork work;
        work.count = 12;
        work.window = 12;
        work.options.jobs = 2;
        const ItemDelivery deliver = [&](std::size_t index, std::size_t /*slot*/) {
            delivered.push_back(index);
        };
        const WorkOutcome outcome = runOrderedWork(
            work,
            [&](std::size_t index, std::size_t /*slot*/) {
                if (index == 7) {
                    sevenFailed = true;
                    throw std::out_of_range("seven");
                }
                if (index == 3) {
                    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                    while (!sevenFailed && std::chrono::steady_clock::now() < limit) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    }
                    throw std::runtime_error("three");
                }
                const std::lock_guard lock(mutex);
                done.insert(index);
            },
            delivers ? deliver : ItemDelivery{});
        ASSERT_TRUE(outcome.failure.has_value()) << delivers;
        EXPECT_TRUE(sevenFailed);
        EXPECT_EQ(outcome.failure->index, 3U);
        EXPECT_EQ(messageOf(*outcome.failure), "three");
        EXPECT_EQ(std::set<std::size_t>(done.begin(), done.lower_bound(3)),
                  (std::set<std::size_t>{0, 1, 2}));
        EXPECT_EQ(delivered, delivers ? firstIndices(3) : std::vector<std::size_t>{});
    }
}

// Cancelled on several threads with every item in the window at once: the items begun before the
// answer go on and are all delivered, in order; none is begun after it. The answer turns at the
// 101st question, not at some item's work: the stage that begins items may run ahead of the work
// by the whole window.
TEST(Cancellation, BeginsNoItemAfterIt) {
    std::size_t asked = 0;  // asked on one thread at a time
    std::atomic<std::size_t> worked{0};
    std::vector<std::size_t> delivered;
    OrderedWork work;
    work.count = 2000;
    work.window = 2000;
    work.options.jobs = 3;
    work.cancelled = [&] { return ++asked > 100; };
    const WorkOutcome outcome = runOrderedWork(
        work, [&](std::size_t /*index*/, std::size_t /*slot*/) { ++worked; },
        [&](std::size_t index, std::size_t /*slot*/) { delivered.push_back(index); });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.failure.has_value());
    EXPECT_EQ(asked, 101U);
    EXPECT_EQ(worked.load(), 100U);
    EXPECT_EQ(delivered, firstIndices(100));
}

// Runs 100 items on 4 threads as a user allowed one process, where no thread can be started
// beside this one, and says on stderr what came of it; ends the process.
[[noreturn]] void runWithOneProcess() {
    // As root the limit binds only once the process is another user's.
    if (::getuid() == 0 && ::setuid(65534) != 0) {
        std::_Exit(3);
    }
    const rlimit one{1, 1};
    if (::setrlimit(RLIMIT_NPROC, &one) != 0) {
        std::_Exit(4);
    }
    int told = 0;
    std::string sentence;
    std::size_t delivered = 0;
    OrderedWork work;
    work.count = 100;
    work.options.jobs = 4;
    work.options.onFewerThreads = [&](const std::string& s) {
        ++told;
        sentence = s;
    };
    const WorkOutcome outcome = runOrderedWork(
        work, [](std::size_t /*index*/, std::size_t /*slot*/) {},
        [&](std::size_t /*index*/, std::size_t /*slot*/) { ++delivered; });
    std::fprintf(stderr, "told %d: %s; %d thread, %zu delivered\n", told, sentence.c_str(),
                 outcome.threads, delivered);
    std::_Exit(0);
}

// The run goes on on this thread alone, says so once and delivers everything.
TEST(FewerThreads, AreSaidOnceAndTheRunGoesOn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runWithOneProcess(), testing::ExitedWithCode(0),
                "told 1: cannot start 4 threads \\(.*\\); going on with one; 1 thread, 100 "
                "delivered");
}

}  // namespace
}  // namespace vantu
