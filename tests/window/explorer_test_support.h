// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What the Explorer's tests share: the Explorer's parts found by their names, the core's picture
// of a description to compare frames with, and a shown, active Explorer whose picture has the
// focus.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/prepared_picture.h"
#include "explorer/explorer.h"
#include "tests/picture_support.h"

namespace vantu::window_test {

using explorer::Explorer;
using explorer::Frame;

// The Explorer's controls, picture, panels and actions, found by their object names.
struct ExplorerParts {
    QComboBox* code;
    std::array<QRadioButton*, 3> rotation;
    QCheckBox* reverse;
    QLineEdit* scale;
    std::array<QRadioButton*, 3> projection;
    QRadioButton* halfPlane;  // the fourth projection button
    QDoubleSpinBox* lon;
    QDoubleSpinBox* lat;
    QDoubleSpinBox* roll;
    QLabel* faultText;
    QLabel* viewStatus;
    QLabel* pointStatus;
    explorer::PictureView* picture;
    explorer::FactsPanel* facts;
    explorer::LegendPanel* legend;
    QDockWidget* factsDock;
    QDockWidget* legendDock;
    QAction *copyPicture, *savePicture, *copyCommand, *closeExplorer, *turnLeft, *turnRight,
        *turnUp, *turnDown, *rollLeft, *rollRight, *zoomIn, *zoomOut, *resetView, *spin,
        *fullScreen, *markMirrors, *markGroup, *markTriangle, *markSnubPoints, *showFacts,
        *showLegend;
};

// The child of `window` of type T named `name`; throws when there is none.
template <class T>
T* named(const QObject& window, const std::string& name) {
    T* const part = window.findChild<T*>(QString::fromStdString(name));
    if (part == nullptr) {
        throw std::logic_error("no part named " + name);
    }
    return part;
}

inline ExplorerParts partsOf(const Explorer& e) {
    const auto action = [&e](const char* name) { return named<QAction>(e, name); };
    const auto buttons = [&e](const std::string& name) {
        return std::array{named<QRadioButton>(e, name + "0"), named<QRadioButton>(e, name + "1"),
                          named<QRadioButton>(e, name + "2")};
    };
    return {named<QComboBox>(e, "code"),
            buttons("rotation"),
            named<QCheckBox>(e, "reverse"),
            named<QLineEdit>(e, "scale"),
            buttons("projection"),
            named<QRadioButton>(e, "projection3"),
            named<QDoubleSpinBox>(e, "lon"),
            named<QDoubleSpinBox>(e, "lat"),
            named<QDoubleSpinBox>(e, "roll"),
            named<QLabel>(e, "faultText"),
            named<QLabel>(e, "viewStatus"),
            named<QLabel>(e, "pointStatus"),
            named<explorer::PictureView>(e, "picture"),
            named<explorer::FactsPanel>(e, "facts"),
            named<explorer::LegendPanel>(e, "legend"),
            named<QDockWidget>(e, "facts"),
            named<QDockWidget>(e, "legend"),
            action("copyPicture"),
            action("savePicture"),
            action("copyCommand"),
            action("closeExplorer"),
            action("turnLeft"),
            action("turnRight"),
            action("turnUp"),
            action("turnDown"),
            action("rollLeft"),
            action("rollRight"),
            action("zoomIn"),
            action("zoomOut"),
            action("resetView"),
            action("spin"),
            action("fullScreen"),
            action("markMirrors"),
            action("markGroup"),
            action("markTriangle"),
            action("markSnubPoints"),
            action("showFacts"),
            action("showLegend")};
}

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

// Whether `image` is, pixel for pixel, the core's picture of `description` with `overlays`.
inline ::testing::AssertionResult isCorePicture(const QImage& image,
                                                const PictureDescription& description,
                                                const OverlayOptions& overlays = {}) {
    const QImage expected = corePicture(description, overlays);
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
        partsOf(explorer).picture->setFocus();
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
        const QSize size = partsOf(explorer).picture->size();
        EXPECT_EQ(d.size,
                  offAxisSize({size.width(), size.height()}, d.sampling, d.request.projection));
        EXPECT_LE(size.width() - d.size.width, 2);
        EXPECT_LE(size.height() - d.size.height, 2);
        EXPECT_EQ(d.sampling, (Sampling{partsOf(explorer).picture->devicePixelRatioF()}));
        EXPECT_EQ(frame.image, partsOf(explorer).picture->frame()) << "the picture shows the frame";
        EXPECT_TRUE(isCorePicture(frame.image, d));
    }

    // The frame on the screen is the core's picture of its own description.
    void expectShowsTheCorePictureOfItsOwn() {
        ASSERT_TRUE(explorer.shown().has_value());
        EXPECT_EQ(explorer.shown()->image, partsOf(explorer).picture->frame());
        EXPECT_TRUE(isCorePicture(explorer.shown()->image, explorer.shown()->description));
    }

    Explorer explorer;
};

}  // namespace vantu::window_test
