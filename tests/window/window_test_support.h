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

// The picture the core draws for `request`, as a 640 x 481 image; pixels it leaves unpainted
// are transparent black.
[[nodiscard]] QImage corePicture(const DrawRequest& request);

// The message the core fails with for `request`, or "" when it draws the whole picture.
[[nodiscard]] std::string coreFailure(const DrawRequest& request);

// Whether `actual` equals `expected` in the `rows` of the raster; the failure message names the
// first differing pixel and the number of differing pixels.
[[nodiscard]] ::testing::AssertionResult sameRows(const QImage& actual, const QImage& expected,
                                                  int firstRow, int lastRow);

// Whether every pixel of `area` of the picture box's image shows its background.
[[nodiscard]] ::testing::AssertionResult showsBackground(const PictureBox& picture,
                                                         const QRect& area);

// The drawing area of Picture1 outside the raster: right of column 639 and below row 480.
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

    // The raster of the picture as painted so far.
    [[nodiscard]] QImage raster() const;

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
