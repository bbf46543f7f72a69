#include "tests/window/window_test_support.h"

#include <utility>

#include <QApplication>
#include <QMetaObject>
#include <QTest>

#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "render/image_sink.h"

namespace vantu::window_test {

QImage corePicture(const DrawRequest& request) {
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
    int differing = 0;
    QString first;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = 0; col < pictureWidth; ++col) {
            const QRgb a = actual.pixel(col, row);
            const QRgb e = expected.pixel(col, row);
            if (a != e) {
                if (differing == 0) {
                    first = QStringLiteral("(%1, %2) is #%3, not #%4")
                                .arg(col)
                                .arg(row)
                                .arg(a, 8, 16, QChar(u'0'))
                                .arg(e, 8, 16, QChar(u'0'));
                }
                ++differing;
            }
        }
    }
    if (differing == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << differing << " pixels differ in rows " << firstRow
                                         << " to " << lastRow << "; pixel " << first.toStdString();
}

::testing::AssertionResult showsBackground(const PictureBox& picture, const QRect& area) {
    const QRgb background = picture.background().rgb();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (picture.image().pixel(x, y) != background) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is painted";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<QRect> areaOutsideRaster(const PictureBox& picture) {
    const QSize size = picture.image().size();
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
    return form.Picture1->image().copy(0, 0, pictureWidth, pictureHeight);
}

}  // namespace vantu::window_test
