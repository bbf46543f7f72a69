// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "render/run_sink.h"

namespace vantu::testing_support {

// One call on a sink: a run, the end of a row, or the switch to pixel units.
struct SinkCall {
    enum Kind { drawn, rowEnd, pixelScale } kind;
    int row = -1;
    int first = -1;
    int end = -1;
    PackedColour colour = 0;
    friend bool operator==(const SinkCall&, const SinkCall&) = default;
};

// Records every call, in order.
class RunRecorder : public RunSink {
public:
    void drawRun(int row, int first, int end, PackedColour colour) override {
        calls.push_back({SinkCall::drawn, row, first, end, colour});
    }
    void endRow(int row) override { calls.push_back({SinkCall::rowEnd, row}); }
    void setPixelScale() override { calls.push_back({SinkCall::pixelScale}); }

    // The runs of one row, without the end-of-row notices.
    [[nodiscard]] std::vector<SinkCall> runsOf(int row) const {
        std::vector<SinkCall> runs;
        for (const SinkCall& c : calls) {
            if (c.kind == SinkCall::drawn && c.row == row) {
                runs.push_back(c);
            }
        }
        return runs;
    }

    std::vector<SinkCall> calls;
};

[[nodiscard]] inline SinkCall run(int row, int first, int end, int r, int g, int b) {
    return {SinkCall::drawn, row, first, end, r + 256 * g + 65536 * b};
}

}  // namespace vantu::testing_support
