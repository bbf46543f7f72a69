// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// What users may type, through the core: each input of the table either draws exactly this
// picture or stops with exactly this fault, after exactly these rows.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "tests/bad_inputs.h"
#include "tests/checking_sink.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

using testing_support::BadInput;
using testing_support::CheckingSink;

class BadInputs : public testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, ThroughTheCore) {
    const BadInput& c = GetParam();
    DrawRequest request =
        drawRequest(c.code).rotation(c.rotation).reverse(c.reverse).projection(c.projection);
    CheckingSink sink;
    std::optional<DrawError> fault;
    try {
        request.scale = readScale(c.scale);
        runDrawing(request, sink);
    } catch (const DrawError& e) {
        fault = e;
    }
    sink.finish(fault.has_value());
    EXPECT_EQ(sink.problem, "");
    if (c.fault) {
        ASSERT_TRUE(fault.has_value()) << "drawn: " << sink.runs << " runs";
        EXPECT_EQ(std::string(fault->what()), c.fault->message);
        EXPECT_EQ(fault->kind(), c.fault->kind);
        EXPECT_EQ(sink.rowsFinished, 0);
        EXPECT_EQ(sink.runs, 0);
        EXPECT_EQ(sink.pixelScaleSet, fault->stage() == FaultStage::scan);
        return;
    }
    ASSERT_FALSE(fault.has_value()) << fault->what();
    EXPECT_EQ(sink.runs, c.runs);
    EXPECT_EQ(sink.hash, c.hash) << std::hex << sink.hash;
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputs, testing::ValuesIn(testing_support::badInputs),
                         RowName());

}  // namespace
}  // namespace vantu
