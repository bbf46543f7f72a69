// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "tests/window/window_test_support.h"

#include <cmath>
#include <span>
#include <utility>

#include <QApplication>
#include <QMetaObject>
#include <QTest>

#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "render/device_row_sink.h"
#include "render/fine_picture.h"
#include "render/image_sink.h"
#include "tests/picture_support.h"

namespace vantu::window_test {

namespace {

// Records a drawing at a device pixel ratio into an image of its raster.
class DeviceImage : public DeviceRowSink {
public:
    explicit DeviceImage(double ratio)
        : image(devicePixels(pictureWidth, ratio), devicePixels(pictureHeight, ratio),
                QImage::Format_ARGB32) {
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
    }
    void drawDeviceRow(int row, std::span<const PackedColour> colours) override {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (std::size_t col = 0; col < colours.size(); ++col) {
            line[col] = qRgb(redOf(colours[col]), greenOf(colours[col]), blueOf(colours[col]));
        }
    }
    void endRow(int /*windowRow*/) override {}

    QImage image;
};

// The device pixels of `area`, in window pixels, at `ratio`: those whose centres lie in it.
QRect deviceArea(const QRect& area, double ratio) {
    const double pixels = ratio;
    const int left = devicePixels(area.left(), pixels);
    const int top = devicePixels(area.top(), pixels);
    return QRect(QPoint(left, top), QPoint(devicePixels(area.right() + 1, pixels) - 1,
                                           devicePixels(area.bottom() + 1, pixels) - 1));
}

}  // namespace

QImage corePicture(const DrawRequest& request, double ratio) {
    if (ratio != 1.0) {
        DeviceImage sink{ratio};
        try {
            runDrawing(PictureDescription{request, {}, {}, Sampling{ratio}}, sink);
        } catch (const DrawError&) {
            // What was drawn before the fault is the picture.
        }
        return sink.image;
    }
    ImageSink sink;
    try {
        runDrawing(request, sink);
    } catch (const DrawError&) {
        // What was drawn before the fault is the picture.
    }
    QImage picture(pictureWidth, pictureHeight, QImage::Format_RGB32);
    for (int row = 0; row < pictureHeight; ++row) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(row));
        for (int col = 0; col < pictureWidth; ++col) {
            const PackedColour c = sink.at(col, row);
            line[col] = c == ImageSink::unpainted ? qRgba(0, 0, 0, 0)
                                                  : qRgb(redOf(c), greenOf(c), blueOf(c));
        }
    }
    return picture;
}

std::string coreFailure(const DrawRequest& request) {
    ImageSink sink;
    try {
        runDrawing(request, sink);
    } catch (const DrawError& e) {
        return e.what();
    }
    return {};
}

::testing::AssertionResult sameRows(const QImage& actual, const QImage& expected, int firstRow,
                                    int lastRow) {
    const double ratio = expected.devicePixelRatio();
    if (actual.devicePixelRatio() != ratio) {
        return ::testing::AssertionFailure() << "the picture is at device pixel ratio "
                                             << actual.devicePixelRatio() << ", not " << ratio;
    }
    const QRect rows = deviceArea(QRect(0, firstRow, pictureWidth, lastRow - firstRow + 1), ratio);
    ::testing::AssertionResult same =
        testing_support::samePixels([&](int x, int y) { return actual.pixel(x, y); },
                                    [&](int x, int y) { return expected.pixel(x, y); },
                                    {rows.left(), rows.top(), rows.width(), rows.height()});
    if (!same) {
        same << ", in rows " << firstRow << " to " << lastRow << " (device rows " << rows.top()
             << " to " << rows.bottom() << ")";
    }
    return same;
}

::testing::AssertionResult showsBackground(const PictureBox& picture, const QRect& area) {
    const QRgb background = picture.background().rgb();
    const QImage& image = picture.image();
    const QRect pixels = deviceArea(area, image.devicePixelRatio()) & image.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            if (image.pixel(x, y) != background) {
                return ::testing::AssertionFailure()
                       << "device pixel (" << x << ", " << y << ") is painted";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<QRect> areaOutsideRaster(const PictureBox& picture) {
    const QImage& image = picture.image();
    const auto windowPixels = [&](int devicePixels) {
        return static_cast<int>(std::ceil(devicePixels / image.devicePixelRatio()));
    };
    const QSize size(windowPixels(image.width()), windowPixels(image.height()));
    return {QRect(pictureWidth, 0, size.width() - pictureWidth, size.height()),
            QRect(0, pictureHeight, pictureWidth, size.height() - pictureHeight)};
}

void WindowTest::SetUp() {
    form.setErrorReporter([this](QWidget* /*window*/, const QString& message) {
        errors.push_back(message.toStdString());
    });
    QObject::connect(form.Picture1, &PictureBox::rowFinished, form.Picture1, [this](int row) {
        rows.push_back(row);
        if (row == 0) {
            ++m_drawingsStarted;
        }
        for (Trigger& trigger : m_triggers) {
            if (trigger.action && trigger.drawing == m_drawingsStarted && trigger.row == row) {
                QMetaObject::invokeMethod(&form, std::exchange(trigger.action, {}),
                                          Qt::QueuedConnection);
            }
        }
    });
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

void WindowTest::TearDown() {
    for (const Trigger& trigger : m_triggers) {
        EXPECT_FALSE(trigger.action)
            << "drawing " << trigger.drawing << " never yielded after row " << trigger.row;
    }
}

void WindowTest::duringYield(int drawing, int row, std::function<void()> action) {
    m_triggers.push_back({drawing, row, std::move(action)});
}

void WindowTest::clickGo() {
    QTest::mouseClick(form.Command1, Qt::LeftButton);
}

void WindowTest::typeCode(const QString& text) {
    QTest::mouseClick(form.Combo1->lineEdit(), Qt::LeftButton);
    form.Combo1->lineEdit()->selectAll();
    QTest::keyClick(form.Combo1->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(form.Combo1->lineEdit(), text);
}

void WindowTest::typeScale(const QString& text) {
    QTest::mouseClick(form.Text7, Qt::LeftButton);
    form.Text7->selectAll();
    QTest::keyClick(form.Text7, Qt::Key_Backspace);
    QTest::keyClicks(form.Text7, text);
}

QImage WindowTest::raster() const {
    return form.Picture1->picture();
}

QImage WindowTest::corePicture(const DrawRequest& request) const {
    return window_test::corePicture(request, form.Picture1->devicePixelRatioF());
}

}  // namespace vantu::window_test
