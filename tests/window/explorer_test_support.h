// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What the Explorer's tests share: the core's picture of a description to compare frames with,
// and a shown, active Explorer whose picture has the focus.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include <vector>

#include "drawing/prepared_picture.h"
#include "explorer/explorer.h"
#include "tests/picture_support.h"

namespace vantu::window_test {

using explorer::Explorer;
using explorer::Frame;

// The core's picture of `description`: PreparedPicture's rows, one after the other, each with
// the lines of the overlays `overlays` asks for painted over it.
inline QImage corePicture(const PictureDescription& description,
                          const OverlayOptions& overlays = {}) {
    const PreparedPicture picture(description, overlays);
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    for (int j = 0; j < picture.height(); ++j) {
        (void)picture.renderRow(j, row);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(j));
        for (std::size_t i = 0; i < row.size(); ++i) {
            line[i] = qRgb(redOf(row[i]), greenOf(row[i]), blueOf(row[i]));
        }
    }
    return image;
}

// Whether `image` is, pixel for pixel, the core's picture of `description`.
inline ::testing::AssertionResult isCorePicture(const QImage& image,
                                                const PictureDescription& description) {
    const QImage expected = corePicture(description);
    if (image.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << "the frame is " << image.width() << " x " << image.height() << ", not "
               << expected.width() << " x " << expected.height();
    }
    const QImage actual = image.convertToFormat(QImage::Format_RGB32);
    return testing_support::samePixels([&](int x, int y) { return actual.pixel(x, y); },
                                       [&](int x, int y) { return expected.pixel(x, y); },
                                       {0, 0, actual.width(), actual.height()});
}

class ExplorerTest : public ::testing::Test {
protected:
    void SetUp() override {
        explorer.resize(640, 420);
        explorer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&explorer));
        QApplication::setActiveWindow(&explorer);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&explorer));
        explorer.picture->setFocus();
        ASSERT_TRUE(waitCurrent());
    }

    // Waits until the screen answers the newest request.
    [[nodiscard]] bool waitCurrent() {
        return QTest::qWaitFor([this] { return explorer.isCurrent(); }, 30000);
    }

    // The frame on the screen is the core's picture of the controls' description, at the
    // picture's size and device pixel ratio.
    void expectShowsTheCorePicture() {
        ASSERT_TRUE(explorer.shown().has_value());
        const Frame& frame = *explorer.shown();
        const PictureDescription& d = frame.description;
        EXPECT_EQ(d.request.triangleCode, explorer.wanted().request.triangleCode);
        EXPECT_EQ(d.view, explorer.wanted().view);
        EXPECT_EQ(d.request.scale, explorer.wanted().request.scale);
        const QSize size = explorer.picture->size();
        EXPECT_EQ(d.size,
                  offAxisSize({size.width(), size.height()}, d.sampling, d.request.projection));
        EXPECT_LE(size.width() - d.size.width, 2);
        EXPECT_LE(size.height() - d.size.height, 2);
        EXPECT_EQ(d.sampling, (Sampling{explorer.picture->devicePixelRatioF()}));
        EXPECT_EQ(frame.image, explorer.picture->frame()) << "the picture shows the frame";
        EXPECT_TRUE(isCorePicture(frame.image, d));
    }

    // The frame on the screen is the core's picture of its own description.
    void expectShowsTheCorePictureOfItsOwn() {
        ASSERT_TRUE(explorer.shown().has_value());
        EXPECT_EQ(explorer.shown()->image, explorer.picture->frame());
        EXPECT_TRUE(isCorePicture(explorer.shown()->image, explorer.shown()->description));
    }

    Explorer explorer;
};

}  // namespace vantu::window_test
