// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Two descriptions of a picture compared field by field, every double bit for bit, so that
// even the sign of a zero counts.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "drawing/draw_procedure.h"

namespace vantu::testing_support {

inline std::uint64_t bitsOf(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

inline void expectSameDescription(const PictureDescription& got,
                                  const PictureDescription& expected) {
    EXPECT_EQ(got.request.triangleCode, expected.request.triangleCode);
    EXPECT_EQ(got.request.notation, expected.request.notation);
    EXPECT_EQ(got.request.rotation, expected.request.rotation);
    EXPECT_EQ(got.request.reverse, expected.request.reverse);
    EXPECT_EQ(bitsOf(got.request.scale), bitsOf(expected.request.scale)) << got.request.scale;
    EXPECT_EQ(got.request.projection, expected.request.projection);
    EXPECT_EQ(bitsOf(got.view.lon), bitsOf(expected.view.lon)) << got.view.lon;
    EXPECT_EQ(bitsOf(got.view.lat), bitsOf(expected.view.lat)) << got.view.lat;
    EXPECT_EQ(bitsOf(got.view.roll), bitsOf(expected.view.roll)) << got.view.roll;
    EXPECT_EQ(got.size, expected.size);
    EXPECT_EQ(bitsOf(got.sampling.ratio), bitsOf(expected.sampling.ratio)) << got.sampling.ratio;
    EXPECT_EQ(got.sampling.antialias, expected.sampling.antialias);
}

}  // namespace vantu::testing_support
