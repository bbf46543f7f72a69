// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The picture box as a run sink: runs land in its image clipped to the drawing area, the scale
// mode follows the drawing, and rows reach the screen a frame at a time.

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include <QColor>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>

#include "tests/test_support.h"
#include "window/picture_box.h"

namespace vantu {
namespace {

struct RunRow {
    friend void PrintTo(const RunRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    int row;
    int first;
    int end;
};

// Runs inside, across and outside the edges of the drawing area of a picture box of the
// window's size (645 x 485 pixels inside its frame).
const RunRow runRows[] = {
    {"inside", 10, 100, 200},         {"wholeRaster", 480, 0, 640},
    {"leftOfTheArea", 3, -20, 5},     {"beyondTheRightEdge", 7, 630, 5000},
    {"lastColumn", 484, 644, 645},    {"empty", 2, 50, 50},
    {"backwards", 2, 60, 50},         {"rowAboveTheArea", -1, 0, 640},
    {"rowBelowTheArea", 485, 0, 640}, {"farOutside", 100000, -100000, 100000},
};

class PictureRunTest : public ::testing::TestWithParam<RunRow> {};

TEST_P(PictureRunTest, PaintsExactlyTheRunClippedToTheArea) {
    PictureBox picture;
    picture.resize(649, 489);
    picture.show();
    const QImage& image = picture.image();
    ASSERT_EQ(image.size(), QSize(645, 485));
    const RunRow& run = GetParam();
    const PackedColour colour = 1 + 256 * 170 + 65536 * 170;
    picture.drawRun(run.row, run.first, run.end, colour);

    const QRgb background = picture.background().rgb();
    const int from = std::max(run.first, 0);
    const int to = std::min(run.end, image.width());
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inRun = y == run.row && x >= from && x < to;
            wrong += image.pixel(x, y) != (inRun ? qRgb(1, 170, 170) : background) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(PictureBox, PictureRunTest, ::testing::ValuesIn(runRows), RowName());

// Records the areas Qt repaints on a widget.
class PaintLog : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            areas.push_back(static_cast<QPaintEvent*>(event)->rect());
        }
        return false;
    }
    std::vector<QRect> areas;
};

// The screen follows the rows at the display's pace, a frame (16 ms) at a time, and always gets
// the last row: a quick drawing is one or two repaints, a slow one about one a frame.
TEST(PictureBoxPaints, FollowTheRowsAFrameAtATimeAndAfterTheLast) {
    for (const int microsecondsPerRow : {0, 200}) {
        PictureBox picture;
        picture.resize(649, 489);
        picture.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picture));
        PaintLog log;
        picture.installEventFilter(&log);
        QElapsedTimer drawing;
        drawing.start();
        for (int row = 0; row < pictureHeight; ++row) {
            picture.drawRun(row, 0, pictureWidth, 1 + 256 * 170 + 65536 * 170);
            const QDeadlineTimer rowDone{std::chrono::microseconds(microsecondsPerRow)};
            while (!rowDone.hasExpired()) {
            }
            picture.endRow(row);
        }
        const auto frames = static_cast<std::size_t>(drawing.elapsed() / 16);
        ASSERT_FALSE(log.areas.empty());
        EXPECT_LE(log.areas.size(), frames + 2) << microsecondsPerRow << " us a row";
        EXPECT_GE(log.areas.size(), frames / 2) << microsecondsPerRow << " us a row";
        const QRect lastRow(picture.contentsRect().left(), picture.contentsRect().top() + 480,
                            pictureWidth, 1);
        EXPECT_TRUE(log.areas.back().contains(lastRow)) << "the last row reached the screen";
    }
}

// Without memory for a larger image, a drawing at a new ratio changes nothing before it fails,
// and a picture box made larger keeps its image and shows the background beyond it.
TEST(PictureBoxMemory, AnImageThatCannotBeMadeLeavesTheOneThereWas) {
    PictureBox picture;
    picture.resize(649, 489);
    picture.show();
    picture.drawRun(10, 100, 200, 1 + 256 * 170 + 65536 * 170);
    const QImage before = picture.image();
    PictureBox::setImageByteLimit(before.sizeInBytes());
    PictureBox::DeviceDrawing drawing(picture, 2.0);
    EXPECT_THROW(drawing.setPixelScale(), std::bad_alloc);
    EXPECT_EQ(picture.scaleMode(), PictureBox::twipScaleMode);
    picture.resize(900, 700);
    PictureBox::setImageByteLimit(PictureBox::noImageByteLimit);
    EXPECT_TRUE(picture.image() == before) << "the image changed";
    EXPECT_EQ(picture.image().devicePixelRatio(), 1.0);
    const QImage shown = picture.grab().toImage();
    const QPoint beyond = picture.contentsRect().topLeft() + QPoint(800, 600);
    EXPECT_EQ(shown.pixel(beyond * shown.devicePixelRatio()), picture.background().rgb());
    picture.resize(901, 701);
    EXPECT_GT(picture.image().width(), before.width()) << "with memory again it grows";
}

}  // namespace
}  // namespace vantu
