// Indexed work shared among threads: every index once, the earliest failure by index, the
// progress bar and the workers.

#include "cli/indexed_work.h"

#include <gtest/gtest.h>

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
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }
};

class EveryIndex : public testing::TestWithParam<CountCase> {};

TEST_P(EveryIndex, IsDoneOnceWithOneWorkerPerThread) {
    const CountCase& c = GetParam();
    std::mutex mutex;
    std::multiset<std::size_t> done;
    std::atomic<int> workers{0};
    const auto failure = runIndexedWork(
        c.count, c.threads,
        [&]() -> IndexWorker {
            ++workers;
            return [&](std::size_t index) {
                const std::lock_guard lock(mutex);
                done.insert(index);
            };
        },
        nullptr);
    EXPECT_FALSE(failure.has_value());
    ASSERT_EQ(done.size(), c.count);
    std::size_t expected = 0;
    for (const std::size_t index : done) {
        EXPECT_EQ(index, expected++);
    }
    const int mostThreads =
        c.threads > 0 ? c.threads
                      : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    EXPECT_GE(workers.load(), 1);
    EXPECT_LE(workers.load(), std::max(1, std::min(mostThreads, static_cast<int>(c.count))));
}

INSTANTIATE_TEST_SUITE_P(Runs, EveryIndex,
                         testing::Values(CountCase{"NoIndex", 0, 3}, CountCase{"OneIndex", 1, 4},
                                         CountCase{"OneThread", 50, 1},
                                         CountCase{"MoreThreadsThanIndices", 2, 8},
                                         CountCase{"ManyIndices", 1000, 3},
                                         CountCase{"OnePerCore", 200, 0}),
                         RowName());

// On one thread the order is fixed: the failure at 5 ends the run before 6 is started.
TEST(EarliestFailure, StopsTheIndicesAfterIt) {
    std::vector<std::size_t> done;
    const auto failure = runIndexedWork(
        10, 1,
        [&]() -> IndexWorker {
            return [&](std::size_t index) {
                done.push_back(index);
                if (index == 5) {
                    throw std::runtime_error("five");
                }
            };
        },
        nullptr);
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
    const auto failure = runIndexedWork(
        12, 2,
        [&]() -> IndexWorker {
            return [&](std::size_t index) {
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
            };
        },
        nullptr);
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(sevenFailed);
    EXPECT_EQ(failure->index, 3U);
    EXPECT_EQ(messageOf(*failure), "three");
    EXPECT_EQ(std::set<std::size_t>(done.begin(), done.lower_bound(3)),
              (std::set<std::size_t>{0, 1, 2}));
    EXPECT_EQ(done.count(8) + done.count(9) + done.count(10) + done.count(11), 0U)
        << "indices after the first failure were started";
}

TEST(EarliestFailure, IsRethrownWhenAWorkerCannotBeMade) {
    EXPECT_THROW_MSG(
        (void)runIndexedWork(
            5, 2, []() -> IndexWorker { throw std::runtime_error("no worker"); }, nullptr),
        std::runtime_error, "no worker");
}

// The bar counts the indices done: all of them, or those before a failure.
TEST(IndexedWorkProgress, CountsTheIndicesDone) {
    for (const bool fails : {false, true}) {
        std::FILE* file = std::tmpfile();
        {
            ProgressBar bar(file, "work", 10);
            (void)runIndexedWork(
                10, 1,
                [&]() -> IndexWorker {
                    return [&](std::size_t index) {
                        if (fails && index == 5) {
                            throw std::runtime_error("five");
                        }
                    };
                },
                &bar);
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

}  // namespace
}  // namespace vantu::cli
