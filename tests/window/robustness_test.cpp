// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The window under pressure: Enter held down while drawings pile up, drawings nested as deep as
// they may go, a failure inside a nested drawing while the outer ones go on, and no memory for
// the picture.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include "tests/picture_support.h"
#include "tests/window/window_test_support.h"

namespace vantu::window_test {
namespace {

using testing_support::drawRequest;

using RobustnessTest = WindowTest;

// How many drawings finished their last row, and the deepest nesting seen.
struct DrawingLog {
    int finished = 0;
    int deepest = 0;
};

TEST_F(RobustnessTest, EnterHeldDownForASecondWhileDrawingsPileUp) {
    DrawingLog log;
    QObject::connect(form.Picture1, &PictureBox::rowFinished, form.Picture1, [&](int row) {
        log.deepest = std::max(log.deepest, form.drawingsInProgress());
        if (row == pictureHeight - 1) {
            ++log.finished;
        }
    });
    // The keyboard repeats a held Enter every 10 ms, faster than a drawing ends, for a second.
    QElapsedTimer held;
    int repeats = 0;
    QTimer keyboard;
    QObject::connect(&keyboard, &QTimer::timeout, [&] {
        if (held.elapsed() >= 1000) {
            keyboard.stop();
            return;
        }
        // Queued like the window system's own key events: the next yield handles it.
        QApplication::postEvent(form.Text7,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier,
                                              QStringLiteral("\r"), repeats > 0));
        ++repeats;
    });
    // Meanwhile other events keep being handled.
    int ticks = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (keyboard.isActive()) {
            ++ticks;
        }
    });
    form.Text7->setFocus();
    held.start();
    keyboard.start(10);
    probe.start(50);
    QTest::qWait(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !keyboard.isActive(); }, 5000));
    probe.stop();

    EXPECT_GE(repeats, 10);
    EXPECT_GT(log.deepest, 1) << "drawings nested";
    EXPECT_LE(log.deepest, Form1::maxNestedDrawings);
    EXPECT_EQ(log.finished, drawingsStarted()) << "every drawing that started has ended";
    EXPECT_EQ(form.drawingsInProgress(), 0);
    EXPECT_GE(ticks, 5) << "the window kept handling events";
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 480));
    EXPECT_EQ(form.Text7->text(), QStringLiteral("120")) << "Enter edits nothing";
}

TEST_F(RobustnessTest, NestingStopsAtItsLimitAndEveryDrawingEnds) {
    // Each drawing starts another in the yield after its first row, as a user who keeps pressing
    // "Go!" faster than drawings end would.
    int finished = 0;
    int deepest = 0;
    QObject::connect(form.Picture1, &PictureBox::rowFinished, form.Picture1, [&](int row) {
        deepest = std::max(deepest, form.drawingsInProgress());
        if (row == 0) {
            QMetaObject::invokeMethod(
                &form, [this] { clickGo(); }, Qt::QueuedConnection);
        } else if (row == pictureHeight - 1) {
            ++finished;
        }
    });
    clickGo();
    EXPECT_EQ(deepest, Form1::maxNestedDrawings);
    EXPECT_EQ(drawingsStarted(), Form1::maxNestedDrawings) << "starts beyond the limit ignored";
    EXPECT_EQ(finished, Form1::maxNestedDrawings);
    EXPECT_EQ(form.drawingsInProgress(), 0);
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 480));

    // Nothing is left over: the next drawing draws once.
    QObject::disconnect(form.Picture1, &PictureBox::rowFinished, form.Picture1, nullptr);
    rows.clear();
    QObject::connect(form.Picture1, &PictureBox::rowFinished, form.Picture1,
                     [this](int row) { rows.push_back(row); });
    clickGo();
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(pictureHeight));
}

TEST_F(RobustnessTest, FailureInsideANestedDrawingWhileTheOuterOnesGoOn) {
    // Three drawings deep, the innermost fails in its set-up; the two outer ones finish.
    duringYield(1, 300, [this] {
        QTest::mouseClick(form.Option6, Qt::LeftButton);
        clickGo();
    });
    duringYield(2, 150, [this] {
        typeScale(QStringLiteral("0"));
        clickGo();
    });
    clickGo();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0], "the scale R is 0: division by zero in row 0");
    EXPECT_TRUE(sameRows(raster(), corePicture(drawRequest().projection(Projection::orthographic)),
                         0, 300));
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 301, 480));
    EXPECT_EQ(form.drawingsInProgress(), 0);
}

// Every image of the picture box fails as an allocation without memory does, from before the
// window is made until the test lifts it.
struct NoMemoryForImages {
    NoMemoryForImages() { PictureBox::setImageByteLimit(0); }
    ~NoMemoryForImages() { PictureBox::setImageByteLimit(PictureBox::noImageByteLimit); }
    NoMemoryForImages(const NoMemoryForImages&) = delete;
    NoMemoryForImages& operator=(const NoMemoryForImages&) = delete;
};

class NoMemoryTest : private NoMemoryForImages, public WindowTest {};

TEST_F(NoMemoryTest, DrawingCopyAndSaveSaySoAndTheWindowGoesOn) {
    std::vector<std::string> said;
    form.setPictureErrorReporter([&](QWidget*, const QString& failure, const QString& reason) {
        said.push_back((failure + QStringLiteral(" ") + reason).toStdString());
    });
    int dialogs = 0;
    form.setSaveDialogs({[&](QWidget*, const QString&) {
                             ++dialogs;
                             return QString();
                         },
                         [&](QWidget*, const QString&, const QString&) { ++dialogs; }});
    const QString held = QStringLiteral("held");
    QGuiApplication::clipboard()->setText(held);
    // Not on a compositor without a seat, whose clipboard holds nothing.
    const bool clipboardHolds = QGuiApplication::clipboard()->text() == held;

    clickGo();
    EXPECT_EQ(errors, std::vector<std::string>{"not enough memory"});
    EXPECT_TRUE(rows.empty()) << "rows drawn into no image";
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(said,
              (std::vector<std::string>{"The picture could not be copied. not enough memory",
                                        "The picture could not be saved. not enough memory"}));
    EXPECT_EQ(dialogs, 0);
    if (clipboardHolds) {
        EXPECT_EQ(QGuiApplication::clipboard()->text(), held) << "the clipboard changed";
    }

    PictureBox::setImageByteLimit(PictureBox::noImageByteLimit);
    clickGo();
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, pictureHeight - 1));

    // Memory for the picture, not for the dialog's window: Copy copies, Save says so.
    const QSize window = form.size() * form.devicePixelRatioF();
    PictureBox::setImageByteLimit(qsizetype{window.width()} * window.height() * 4);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(said.size(), 3U);
    EXPECT_EQ(said.back(), "The picture could not be saved. not enough memory");
    EXPECT_EQ(dialogs, 0);
    if (clipboardHolds) {
        EXPECT_TRUE(
            sameRows(QGuiApplication::clipboard()->image(), raster(), 0, pictureHeight - 1));
    }
}

}  // namespace
}  // namespace vantu::window_test
