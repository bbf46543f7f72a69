// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// A run sink that checks what a drawing hands it: rows in order, runs without gaps from column
// 0 to 640, one endRow per finished row, nothing after a fault, and only the colours a drawing
// can give. Shared by the tests and the fuzz targets; it reports the first violation in
// `problem` instead of asserting, so that either can decide what to do with it.

#include <cstdint>
#include <string>

#include "render/run_sink.h"

namespace vantu::testing_support {

// True for grey and the 21 colours of the colouring: each channel 255, 170 or 85 ("fails") or
// 1, 1 or 0 ("holds") by side count 3, 2, 1, with not all three tests holding.
[[nodiscard]] inline bool isDrawingColour(PackedColour c) {
    if (c == grey) {
        return true;
    }
    const int channels[] = {redOf(c), greenOf(c), blueOf(c)};
    if ((c & ~0xFFFFFF) != 0) {
        return false;
    }
    for (const int k : {1, 2, 3}) {
        const int failed = 255 * k / 3;
        const int held = k == 1 ? 0 : 1;
        int fails = 0;
        bool ok = true;
        for (const int v : channels) {
            ok = ok && (v == failed || v == held);
            fails += v == failed ? 1 : 0;
        }
        if (ok && fails > 0) {
            return true;
        }
    }
    return false;
}

class CheckingSink : public RunSink {
public:
    void drawRun(int row, int first, int end, PackedColour colour) override {
        ++runs;
        for (const int value : {row, first, end, colour}) {
            hash = (hash ^ static_cast<std::uint32_t>(value)) * std::uint64_t{1099511628211U};
        }
        if (faulted) {
            fail("a run after the fault");
        } else if (!pixelScaleSet) {
            fail("a run before the switch to pixels");
        } else if (row != rowsFinished) {
            fail("a run of row " + std::to_string(row) + " while row " +
                 std::to_string(rowsFinished) + " is open");
        } else if (first != nextColumn || end < first || end > pictureWidth) {
            fail("run " + std::to_string(first) + "-" + std::to_string(end) + " in row " +
                 std::to_string(row) + " after column " + std::to_string(nextColumn));
        } else if (end == first && !(first == 0 && colour == grey)) {
            fail("an empty run that does not open its row");
        } else if (!isDrawingColour(colour)) {
            fail("colour " + std::to_string(colour) + " no drawing gives");
        }
        nextColumn = end;
    }

    void endRow(int row) override {
        if (faulted) {
            fail("an end of row after the fault");
        } else if (row != rowsFinished || nextColumn != pictureWidth) {
            fail("end of row " + std::to_string(row) + " at column " + std::to_string(nextColumn));
        }
        ++rowsFinished;
        nextColumn = 0;
    }

    void setPixelScale() override {
        if (pixelScaleSet) {
            fail("switched to pixels twice");
        }
        pixelScaleSet = true;
    }

    // Call when the drawing has thrown its fault, or returned.
    void finish(bool fault) {
        faulted = fault;
        if (!fault && rowsFinished != pictureHeight) {
            fail("returned after " + std::to_string(rowsFinished) + " rows");
        }
    }

    std::string problem;  // the first violation, empty when none
    int rowsFinished = 0;
    int runs = 0;
    bool pixelScaleSet = false;
    bool faulted = false;
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a over the runs

private:
    void fail(const std::string& what) {
        if (problem.empty()) {
            problem = what;
        }
    }

    int nextColumn = 0;
};

}  // namespace vantu::testing_support
