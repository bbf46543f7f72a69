// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Indexed work shared among threads and delivered in order: every index once, a bounded window,
// the earliest failure by index, the progress bar and interruption.

#include "cli/indexed_work.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cli/interruption.h"
#include "tests/test_support.h"

namespace vantu::cli {
namespace {

// The message of the exception a failure holds.
std::string messageOf(const IndexedFailure& failure) {
    try {
        std::rethrow_exception(failure.error);
    } catch (const std::exception& e) {
        return e.what();
    }
}

struct CountCase {
    const char* name;
    std::size_t count;
    int threads;
    std::size_t window;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }
};

class EveryIndex : public testing::TestWithParam<CountCase> {};

// Each index is worked once and delivered once, in order; no two indices in flight share a
// slot, and no more than the window are in flight.
TEST_P(EveryIndex, IsDoneOnceAndDeliveredInOrderWithinTheWindow) {
    const CountCase& c = GetParam();
    IndexedWork work;
    work.count = c.count;
    work.threads = c.threads;
    work.window = c.window;
    const std::size_t window = windowOf(work);
    std::mutex mutex;
    std::multiset<std::size_t> done;
    std::vector<std::size_t> delivered;
    std::vector<std::size_t> slotHolder(window, c.count);  // the index filling each slot
    std::atomic<std::size_t> begun{0};
    std::size_t mostInFlight = 0;
    const auto failure = runIndexedWork(
        work,
        [&](std::size_t index, std::size_t slot) {
            ++begun;
            const std::lock_guard lock(mutex);
            done.insert(index);
            ASSERT_LT(slot, window);
            slotHolder[slot] = index;
        },
        [&](std::size_t index, std::size_t slot) {
            EXPECT_EQ(slotHolder[slot], index) << "another index took the slot";
            delivered.push_back(index);
            mostInFlight = std::max(mostInFlight, begun.load() - delivered.size() + 1);
        });
    EXPECT_FALSE(failure.has_value());
    ASSERT_EQ(done.size(), c.count);
    std::size_t expected = 0;
    for (const std::size_t index : done) {
        EXPECT_EQ(index, expected++);
    }
    ASSERT_EQ(delivered.size(), c.count);
    for (std::size_t i = 0; i < delivered.size(); ++i) {
        EXPECT_EQ(delivered[i], i);
    }
    EXPECT_LE(mostInFlight, window);
}

INSTANTIATE_TEST_SUITE_P(Runs, EveryIndex,
                         testing::Values(CountCase{"NoIndex", 0, 3, 0},
                                         CountCase{"OneIndex", 1, 4, 0},
                                         CountCase{"OneThread", 50, 1, 0},
                                         CountCase{"MoreThreadsThanIndices", 2, 8, 0},
                                         CountCase{"ManyIndicesNarrowWindow", 1000, 3, 2},
                                         CountCase{"OnePerCore", 200, 0, 0}),
                         RowName());

// On one thread the order is fixed: the failure at 5 ends the run before 6 is started.
TEST(EarliestFailure, StopsTheIndicesAfterIt) {
    std::vector<std::size_t> done;
    IndexedWork work;
    work.count = 10;
    work.threads = 1;
    const auto failure = runIndexedWork(work, [&](std::size_t index, std::size_t /*slot*/) {
        done.push_back(index);
        if (index == 5) {
            throw std::runtime_error("five");
        }
    });
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->index, 5U);
    EXPECT_EQ(messageOf(*failure), "five");
    EXPECT_EQ(done, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
}

// Index 3 fails only after index 7 has failed on the other thread: 3 still wins.
TEST(EarliestFailure, IsByIndexNotByTime) {
    std::atomic<bool> sevenFailed{false};
    std::mutex mutex;
    std::set<std::size_t> done;
    std::vector<std::size_t> delivered;
    IndexedWork work;
    work.count = 12;
    work.threads = 2;
    work.window = 12;
    const auto failure = runIndexedWork(
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
        [&](std::size_t index, std::size_t /*slot*/) { delivered.push_back(index); });
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(sevenFailed);
    EXPECT_EQ(failure->index, 3U);
    EXPECT_EQ(messageOf(*failure), "three");
    EXPECT_EQ(std::set<std::size_t>(done.begin(), done.lower_bound(3)),
              (std::set<std::size_t>{0, 1, 2}));
    EXPECT_EQ(delivered, (std::vector<std::size_t>{0, 1, 2}));
}

// A delivery that throws is a failure of its index like any other.
TEST(EarliestFailure, CountsAFailedDelivery) {
    std::vector<std::size_t> delivered;
    IndexedWork work;
    work.count = 40;
    work.threads = 3;
    const auto failure = runIndexedWork(
        work, [](std::size_t /*index*/, std::size_t /*slot*/) {},
        [&](std::size_t index, std::size_t /*slot*/) {
            if (index == 9) {
                throw std::runtime_error("disk full");
            }
            delivered.push_back(index);
        });
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->index, 9U);
    EXPECT_EQ(messageOf(*failure), "disk full");
    EXPECT_EQ(delivered.size(), 9U);
}

// The bar counts the indices delivered: all of them, or those before a failure.
TEST(IndexedWorkProgress, CountsTheIndicesDelivered) {
    for (const bool fails : {false, true}) {
        std::FILE* file = std::tmpfile();
        {
            ProgressBar bar(file, "work", 10);
            IndexedWork work;
            work.count = 10;
            work.threads = 2;
            work.progress = &bar;
            (void)runIndexedWork(work, [&](std::size_t index, std::size_t /*slot*/) {
                if (fails && index == 5) {
                    throw std::runtime_error("five");
                }
            });
        }
        std::rewind(file);
        std::string text;
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
            text += static_cast<char>(c);
        }
        std::fclose(file);
        EXPECT_TRUE(text.ends_with(fails ? "]  50%\n" : "] 100%\n")) << text;
    }
}

// A signal that asks to stop ends the run before its next index.
TEST(IndexedWorkInterruption, StopsBeforeTheNextIndex) {
    std::vector<std::size_t> delivered;
    IndexedWork work;
    work.count = 100;
    work.threads = 1;
    try {
        (void)runIndexedWork(
            work,
            [](std::size_t index, std::size_t /*slot*/) {
                if (index == 4) {
                    detail::setInterruption(SIGTERM);
                }
            },
            [&](std::size_t index, std::size_t /*slot*/) { delivered.push_back(index); });
        ADD_FAILURE() << "not interrupted";
    } catch (const Interrupted& e) {
        EXPECT_EQ(e.signal(), SIGTERM);
        EXPECT_STREQ(e.what(), "interrupted by SIGTERM");
    }
    detail::setInterruption(0);
    EXPECT_LE(delivered.size(), 5U + windowOf(work));
}

}  // namespace
}  // namespace vantu::cli
