// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// Expects `statement` to throw `exception` whose what() is exactly `message`.
#define EXPECT_THROW_MSG(statement, exception, message)                           \
    do {                                                                          \
        try {                                                                     \
            statement;                                                            \
            ADD_FAILURE() << "no " #exception " thrown by " #statement;           \
        } catch (const exception& e) {                                            \
            EXPECT_EQ(std::string(e.what()), std::string(message)) << #statement; \
        }                                                                         \
    } while (false)

// Names the rows of a table of cases after their `name` member.
struct RowName {
    template <class Row>
    std::string operator()(const testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

namespace vantu::testing_support {

// A new, empty folder for a test's files: `name` in the test's temporary folder, made unique to
// this process.
inline std::filesystem::path scratchFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) /
                                         ("vantu-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// The names of what `folder` holds, sorted.
inline std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vantu::testing_support
