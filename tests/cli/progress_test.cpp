// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The progress bar: redrawn in place, only when its percentage changes, and nowhere without a
// stream.

#include "cli/progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace vantu::cli {
namespace {

std::string drawn(long total, const std::vector<long>& steps, bool finish) {
    std::FILE* file = std::tmpfile();
    {
        ProgressBar bar(file, "work", total);
        for (const long s : steps) {
            bar.advance(s);
        }
        if (finish) {
            bar.finish();
            bar.finish();
        }
    }
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text += static_cast<char>(c);
    }
    std::fclose(file);
    return text;
}

TEST(ProgressBar, RedrawsInPlaceOnlyWhenThePercentageChanges) {
    const std::string bar(30, '-');
    EXPECT_EQ(drawn(4, {1, 1, 2}, true), "\rwork [" + bar + "]   0%" + "\rwork [#######" +
                                             bar.substr(7) + "]  25%" + "\rwork [###############" +
                                             bar.substr(15) + "]  50%" + "\rwork [" +
                                             std::string(30, '#') + "] 100%\n");
    // A thousand small steps draw at most 101 states.
    const std::string many = drawn(1000, std::vector<long>(1000, 1), true);
    EXPECT_EQ(std::count(many.begin(), many.end(), '\r'), 101);
    EXPECT_TRUE(many.ends_with("] 100%\n"));
}

TEST(ProgressBar, EndsItsLineWhenStoppedEarly) {
    const std::string text = drawn(10, {3}, false);
    EXPECT_TRUE(text.ends_with("]  30%\n")) << text;
}

TEST(ProgressBar, DrawsNothingWithoutAStream) {
    ProgressBar bar(nullptr, "work", 10);
    bar.advance(10);
    bar.finish();
    EXPECT_EQ(bar.redraws(), 0);
}

}  // namespace
}  // namespace vantu::cli
