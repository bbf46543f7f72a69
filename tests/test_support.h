// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <string>

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
