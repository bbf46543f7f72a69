// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-render's work in order: a signal that asks to stop ends it, and its progress bar counts
// the items delivered.

#include "cli/interruption.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/progress.h"

namespace vantu::cli {
namespace {

// The bar counts the items delivered: all of them, or those before a failure.
TEST(InterruptibleWork, CountsTheItemsDeliveredOnTheBar) {
    for (const bool fails : {false, true}) {
        std::FILE* file = std::tmpfile();
        {
            ProgressBar bar(file, "work", 10);
            OrderedWork work;
            work.count = 10;
            work.options = {2, &bar, {}};
            const auto failure = runInterruptibly(work, [&](std::size_t index, std::size_t) {
                if (fails && index == 5) {
                    throw std::runtime_error("five");
                }
            });
            EXPECT_EQ(failure.has_value(), fails);
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

// A signal that asks to stop ends the run before its next item.
TEST(InterruptibleWork, StopsBeforeTheNextItem) {
    std::vector<std::size_t> delivered;
    OrderedWork work;
    work.count = 100;
    work.options.jobs = 1;
    try {
        (void)runInterruptibly(
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
    EXPECT_EQ(delivered.size(), 5U);
}

}  // namespace
}  // namespace vantu::cli
