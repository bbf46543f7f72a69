// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QRect>

#include "setup/draw_request.h"
#include "window/form1.h"

namespace vantu::window_test {

// The picture the core draws for `request` at device pixel ratio `ratio`, as an image of the
// raster's 640 x 481 window pixels at that ratio, which it carries; pixels it leaves unpainted
// are transparent black. At a ratio of 1 it is the window's picture, drawn in runs.
[[nodiscard]] QImage corePicture(const DrawRequest& request, double ratio);

// The message the core fails with for `request`, or "" when it draws the whole picture.
[[nodiscard]] std::string coreFailure(const DrawRequest& request);

// Whether `actual` equals `expected` in window rows firstRow to lastRow of the raster, that is
// in their device rows at the device pixel ratio the images carry, which must be the same; the
// failure message names the first differing pixel and the number of differing pixels.
[[nodiscard]] ::testing::AssertionResult sameRows(const QImage& actual, const QImage& expected,
                                                  int firstRow, int lastRow);

// Whether every pixel of the picture box's image in `area`, in window pixels, shows the
// background: every device pixel at the image's ratio whose centre lies in the area.
[[nodiscard]] ::testing::AssertionResult showsBackground(const PictureBox& picture,
                                                         const QRect& area);

// The drawing area of Picture1 outside the raster, in window pixels: right of column 639 and
// below row 480.
[[nodiscard]] std::vector<QRect> areaOutsideRaster(const PictureBox& picture);

// A shown and active Form1 whose errors are recorded instead of shown, with a log of the rows its
// drawings finish and one-shot actions that run during the yield of a chosen row of a chosen
// drawing.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs `action` as a pending window event, so that the yield after row `row` of drawing
    // number `drawing` (1 for the first drawing started in this test) handles it.
    void duringYield(int drawing, int row, std::function<void()> action);

    // A left click on "Go!", as the mouse gives it; returns when the drawing is over.
    void clickGo();

    // Clicks into Combo1's field, deletes all its text and types `text`, as a user would.
    void typeCode(const QString& text);

    // Clicks into Text7, deletes all its text and types `text`, as a user would.
    void typeScale(const QString& text);

    // The raster of the picture as painted so far, at the picture box's device pixel ratio.
    [[nodiscard]] QImage raster() const;

    // The picture the core draws for `request` at the window's device pixel ratio: what the
    // window shows once it has drawn it.
    [[nodiscard]] QImage corePicture(const DrawRequest& request) const;

    // How many drawings have finished a first row.
    [[nodiscard]] int drawingsStarted() const noexcept { return m_drawingsStarted; }

    Form1 form;
    std::vector<std::string> errors;  // every message reported, in order
    std::vector<int> rows;            // every row finished, in order, all drawings together

private:
    struct Trigger {
        int drawing;
        int row;
        std::function<void()> action;
    };
    std::vector<Trigger> m_triggers;
    int m_drawingsStarted = 0;
};

}  // namespace vantu::window_test
