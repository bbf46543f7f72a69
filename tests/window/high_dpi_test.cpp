// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The picture on a screen with a device pixel ratio other than 1: every device pixel a sample of
// its own, shown one to one, and switches of ratio between drawings, nested ones included.
// The suite runs at several scale factors (tests/window/CMakeLists.txt); the picture box's own
// cases set their ratios themselves.

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <QPixmap>

#include "drawing/draw_procedure.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"
#include "tests/window/window_test_support.h"

namespace vantu::window_test {
namespace {

using testing_support::drawRequest;

using HighDpiTest = WindowTest;

// The screen shows the picture box's image one to one: each device pixel of the raster on the
// screen is the sample the core computed for it, and the drawing still yields once per window
// row.
TEST_F(HighDpiTest, ScreenShowsEveryDevicePixelOfThePicture) {
    clickGo();
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(pictureHeight));
    const double ratio = form.Picture1->devicePixelRatioF();
    const QImage picture = raster();
    EXPECT_EQ(picture.devicePixelRatio(), ratio);
    EXPECT_EQ(picture.size(),
              QSize(devicePixels(pictureWidth, ratio), devicePixels(pictureHeight, ratio)));
    const QImage screen = form.Picture1->grab().toImage();
    // Where the raster's top-left corner falls on the screen.
    const QPoint corner = form.Picture1->contentsRect().topLeft() * ratio;
    QImage shown = screen.copy(QRect(corner, picture.size()));
    shown.setDevicePixelRatio(ratio);
    EXPECT_TRUE(sameRows(shown, corePicture({}), 0, pictureHeight - 1));
}

// ---------------------------------------------------------------------------------------------
// The picture box keeps the ratio of the last drawing that passed its set-up. A drawing that
// resumes after a nested one switched the ratio paints its remaining rows at the new ratio.

// Draws `request` into `box` as the window does at `ratio`.
void drawInto(PictureBox& box, const DrawRequest& request, double ratio) {
    if (ratio == 1.0) {
        runDrawing(request, box);
    } else {
        PictureBox::DeviceDrawing target(box, ratio);
        runDrawing(PictureDescription{request, {}, {}, Sampling{ratio}}, target);
    }
}

struct SwitchRow {
    friend void PrintTo(const SwitchRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    double first;
    double second;
};

const SwitchRow switchRows[] = {
    {"oneToTwo", 1.0, 2.0},
    {"twoToOne", 2.0, 1.0},
    {"oneAndAHalfToOneAndAQuarter", 1.5, 1.25},
    {"oneAndThreeQuartersToThree", 1.75, 3.0},
};

DrawRequest ortho() {
    return drawRequest().projection(Projection::orthographic);
}

class RatioSwitchTest : public ::testing::TestWithParam<SwitchRow> {
protected:
    void SetUp() override {
        box.resize(649, 489);
        box.show();
    }
    PictureBox box;
};

TEST_P(RatioSwitchTest, NextDrawingIsAtItsOwnRatio) {
    drawInto(box, DrawRequest{}, GetParam().first);
    EXPECT_EQ(box.image().devicePixelRatio(), GetParam().first);
    drawInto(box, ortho(), GetParam().second);
    EXPECT_EQ(box.image().devicePixelRatio(), GetParam().second);
    EXPECT_TRUE(sameRows(box.picture(), corePicture(ortho(), GetParam().second), 0, 480));
    for (const QRect& area : areaOutsideRaster(box)) {
        EXPECT_TRUE(showsBackground(box, area));
    }
}

TEST_P(RatioSwitchTest, InterruptedDrawingFinishesAtTheNewRatio) {
    const double outer = GetParam().first;
    const double inner = GetParam().second;
    bool nested = false;
    QObject::connect(&box, &PictureBox::rowFinished, &box, [&](int row) {
        if (row == 100 && !nested) {
            nested = true;
            drawInto(box, ortho(), inner);
        }
    });
    drawInto(box, DrawRequest{}, outer);
    ASSERT_TRUE(nested);
    EXPECT_EQ(box.image().devicePixelRatio(), inner);
    EXPECT_TRUE(sameRows(box.picture(), corePicture(ortho(), inner), 0, 100));
    // Below, each device pixel shows one of the outer drawing's samples within a device pixel of
    // it: the outer picture, scaled to the new ratio.
    const QImage picture = box.picture();
    const QImage before = corePicture(DrawRequest{}, outer);
    int wrong = 0;
    for (int y = devicePixels(101, inner); y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            // The outer drawing's device pixels that overlap this one or its neighbours.
            const auto from = [&](int v) { return static_cast<int>((v - 1) / inner * outer); };
            const auto to = [&](int v) { return static_cast<int>((v + 2) / inner * outer); };
            bool found = false;
            for (int v = from(y); v <= to(y) && !found; ++v) {
                for (int u = from(x); u <= to(x) && !found; ++u) {
                    found = before.rect().contains(u, v) &&
                            before.pixel(u, v) == (picture.pixel(x, y) | 0xff000000U);
                }
            }
            wrong += found ? 0 : 1;
        }
    }
    EXPECT_EQ(wrong, 0) << "device pixels that show none of the outer drawing's samples near them";
}

INSTANTIATE_TEST_SUITE_P(PictureBox, RatioSwitchTest, ::testing::ValuesIn(switchRows), RowName());

}  // namespace
}  // namespace vantu::window_test
