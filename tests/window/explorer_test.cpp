// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The Explorer as a user meets it: drags, the wheel and the keys turn and zoom the sphere, and
// every frame on the screen is the core's picture of its view, size and device pixel ratio; a
// burst of views ends on the last; spinning; faults beside the controls; copying and saving;
// closing during a frame. The suite runs at several scale factors (tests/window/CMakeLists.txt).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "desktop/error_reporter.h"
#include "drawing/draw_procedure.h"
#include "drawing/picture_point.h"
#include "explorer/explorer.h"
#include "explorer/frame_renderer.h"
#include "explorer/navigation.h"
#include "explorer/render_command.h"
#include "geometry/correctly_rounded.h"
#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "geometry/text.h"
#include "geometry/view.h"
#include "options/picture_options.h"
#include "setup/draw_request.h"
#include "setup/triangle_notation.h"
#include "tests/picture_support.h"
#include "tests/run_program.h"
#include "tests/same_description.h"
#include "tests/test_support.h"
#include "tests/window/explorer_test_support.h"
#include "tests/window/window_test_support.h"

namespace vantu::window_test {
namespace {

using testing_support::drawRequest;

using explorer::FrameRenderer;

// A drag from `from` to `to` in the picture, as the mouse gives it: press, moves, release.
void drag(QWidget* picture, QPointF from, QPointF to, Qt::KeyboardModifiers keys = {}) {
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, picture->mapToGlobal(at), button, buttons, keys);
        QApplication::sendEvent(picture, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step) {
        send(QEvent::MouseMove, from + (to - from) * (step / 4.0), Qt::NoButton, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// `notches` turns of the wheel over the picture's centre, up for positive.
void wheel(QWidget* picture, int notches) {
    const QPointF at(picture->width() / 2.0, picture->height() / 2.0);
    QWheelEvent event(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &event);
}

void press(Explorer& e, std::initializer_list<Qt::Key> keys) {
    for (const Qt::Key key : keys) {
        QTest::keyClick(partsOf(e).picture, key);
    }
}

QPointF centreOf(const QWidget* w) {
    return {w->width() / 2.0, w->height() / 2.0};
}

// What each input does to the view and R, from the opening view 0, 0, 0 and R 120.
struct InputRow {
    friend void PrintTo(const InputRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    std::function<void(Explorer&)> input;
    View view;
    double scale;
};

const InputRow inputRows[] = {
    // A drag across half the picture's height turns 90 degrees.
    {"dragRightHalfTheHeight",
     [](Explorer& e) {
         const double h = partsOf(e).picture->height();
         drag(partsOf(e).picture, centreOf(partsOf(e).picture),
              centreOf(partsOf(e).picture) + QPointF(h / 2, 0));
     },
     {90, 0, 0},
     120},
    {"dragUpAndLeft",
     [](Explorer& e) {
         const double h = partsOf(e).picture->height();
         drag(partsOf(e).picture, centreOf(partsOf(e).picture),
              centreOf(partsOf(e).picture) + QPointF(-h / 3, -h / 6));
     },
     {-60, -30, 0},
     120},
    {"dragDownPastThePole",
     [](Explorer& e) {
         const double h = partsOf(e).picture->height();
         drag(partsOf(e).picture, {10, 1}, {10, 1 + h});
     },
     {0, 90, 0},
     120},
    // Shift+drag a quarter of the way round the centre, counter-clockwise.
    {"shiftDragAQuarterTurn",
     [](Explorer& e) {
         const QPointF c = centreOf(partsOf(e).picture);
         drag(partsOf(e).picture, c + QPointF(100, 0), c + QPointF(0, -100), Qt::ShiftModifier);
     },
     {0, 0, 90},
     120},
    {"wheelUp", [](Explorer& e) { wheel(partsOf(e).picture, 1); }, {}, 132},
    {"wheelDownTwice",
     [](Explorer& e) {
         wheel(partsOf(e).picture, -1);
         wheel(partsOf(e).picture, -1);
     },
     {},
     99.1736},
    {"right", [](Explorer& e) { press(e, {Qt::Key_Right}); }, {5, 0, 0}, 120},
    {"leftTwice",
     [](Explorer& e) {
         press(e, {Qt::Key_Left, Qt::Key_Left});
     },
     {-10, 0, 0},
     120},
    {"up", [](Explorer& e) { press(e, {Qt::Key_Up}); }, {0, -5, 0}, 120},
    {"down", [](Explorer& e) { press(e, {Qt::Key_Down}); }, {0, 5, 0}, 120},
    {"pageUp", [](Explorer& e) { press(e, {Qt::Key_PageUp}); }, {0, 0, 5}, 120},
    {"pageDown", [](Explorer& e) { press(e, {Qt::Key_PageDown}); }, {0, 0, -5}, 120},
    {"plus", [](Explorer& e) { press(e, {Qt::Key_Plus}); }, {}, 150},
    {"equalsIsPlus", [](Explorer& e) { press(e, {Qt::Key_Equal}); }, {}, 150},
    {"minus", [](Explorer& e) { press(e, {Qt::Key_Minus}); }, {}, 96},
    // Zooming holds R at the largest finite size, never infinite or 0, and leads back.
    {"plusTwiceThenMinusFromTheLargestR",
     [](Explorer& e) {
         partsOf(e).scale->setText(QStringLiteral("1.7e308"));
         Q_EMIT partsOf(e).scale->textEdited(partsOf(e).scale->text());
         press(e, {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus});
     },
     {},
     1.43815e308},
    {"homeAfterTurnsAndZoom",
     [](Explorer& e) {
         press(e, {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_Plus});
         wheel(partsOf(e).picture, 3);
         press(e, {Qt::Key_Home});
     },
     {},
     120},
};

class ExplorerInputTest : public ExplorerTest, public ::testing::WithParamInterface<InputRow> {};

TEST_P(ExplorerInputTest, ChangesTheViewAndRAndShowsTheCorePicture) {
    GetParam().input(explorer);
    ASSERT_TRUE(waitCurrent());
    const PictureDescription& shown = explorer.shown()->description;
    EXPECT_EQ(shown.view, GetParam().view);
    EXPECT_EQ(shown.request.scale, GetParam().scale);
    expectShowsTheCorePicture();
    // The angle boxes and R say the same.
    EXPECT_EQ(partsOf(explorer).lon->value(), GetParam().view.lon);
    EXPECT_EQ(partsOf(explorer).lat->value(), GetParam().view.lat);
    EXPECT_EQ(partsOf(explorer).roll->value(), GetParam().view.roll);
    EXPECT_EQ(readScale(partsOf(explorer).scale->text().toStdString()), GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Explorer, ExplorerInputTest, ::testing::ValuesIn(inputRows), RowName());

// A click on the indicator of a radio button or check box.
void clickIndicator(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Each control draws at once, with no Go!.
TEST_F(ExplorerTest, EveryControlRedrawsAtOnce) {
    const std::function<void()> changes[] = {
        [&] { partsOf(explorer).code->setCurrentIndex(5); },
        [&] { clickIndicator(partsOf(explorer).rotation[2]); },
        [&] { clickIndicator(partsOf(explorer).reverse); },
        [&] { clickIndicator(partsOf(explorer).projection[2]); },
        [&] {
            partsOf(explorer).scale->selectAll();
            QTest::keyClicks(partsOf(explorer).scale, QStringLiteral("77"));
        },
        [&] {
            partsOf(explorer).lat->selectAll();
            QTest::keyClicks(partsOf(explorer).lat, QStringLiteral("12.5"));
        },
    };
    for (const auto& change : changes) {
        const std::uint64_t before = explorer.frames().newestRequest();
        change();
        EXPECT_GT(explorer.frames().newestRequest(), before);
        ASSERT_TRUE(waitCurrent());
    }
    const PictureDescription& d = explorer.shown()->description;
    EXPECT_EQ(d.request.triangleCode, partsOf(explorer).code->itemText(5).toStdString());
    EXPECT_EQ(d.request.rotation, 2);
    EXPECT_TRUE(d.request.reverse);
    EXPECT_EQ(d.request.projection, Projection::orthographic);
    EXPECT_EQ(d.request.scale, 77.0);
    EXPECT_EQ(d.view, (View{0, 12.5, 0}));
    expectShowsTheCorePicture();
}

// The screen shows the frame one image pixel to one device pixel, never scaled.
TEST_F(ExplorerTest, ScreenShowsTheFrameOneToOne) {
    QTest::keyClick(partsOf(explorer).picture, Qt::Key_Down);
    ASSERT_TRUE(waitCurrent());
    const QImage frame = explorer.shown()->image.convertToFormat(QImage::Format_RGB32);
    const QImage screen =
        partsOf(explorer).picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage shown = screen.copy(QRect(partsOf(explorer).picture->frameOrigin(), frame.size()));
    ASSERT_EQ(shown.size(), frame.size());
    EXPECT_TRUE(testing_support::samePixels([&](int x, int y) { return shown.pixel(x, y); },
                                            [&](int x, int y) { return frame.pixel(x, y); },
                                            {0, 0, frame.width(), frame.height()}));
}

// The picture follows the window's size, at the screen's device pixel ratio.
TEST_F(ExplorerTest, FollowsTheWindowsSize) {
    const QSize least = explorer.minimumSizeHint();
    for (const QSize size :
         {least + QSize(50, 10), least + QSize(300, 100), least + QSize(121, 37)}) {
        explorer.resize(size);
        ASSERT_TRUE(QTest::qWaitFor([&] { return explorer.size() == size; }, 5000));
        ASSERT_TRUE(waitCurrent());
        expectShowsTheCorePicture();
        const double ratio = partsOf(explorer).picture->devicePixelRatioF();
        const PictureSize drawn = explorer.shown()->description.size;
        EXPECT_EQ(explorer.shown()->image.size(),
                  QSize(devicePixels(drawn.width, ratio), devicePixels(drawn.height, ratio)));
    }
}

// On a desktop of screens of different device pixel ratios (the offscreen platform with
// tests/window/two_screens.json), the Explorer moved to another screen draws at that one's
// ratio. Skipped where there is one screen.
TEST_F(ExplorerTest, MovedToAScreenOfAnotherRatioDrawsAtIt) {
    if (QGuiApplication::screens().size() < 2) {
        GTEST_SKIP() << "one screen here: the case runs as window.ExplorerAcrossScreens";
    }
    for (int move = 0; move < 2; ++move) {
        QScreen* other = nullptr;
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen->devicePixelRatio() != partsOf(explorer).picture->devicePixelRatioF()) {
                other = screen;
            }
        }
        ASSERT_NE(other, nullptr) << "no screen of another ratio";
        explorer.windowHandle()->setScreen(other);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return explorer.isCurrent() &&
                       explorer.shown()->description.sampling.ratio == other->devicePixelRatio();
            },
            30000))
            << "no frame at the ratio " << other->devicePixelRatio();
        expectShowsTheCorePicture();
    }
}

// A hundred views in a row: frames come in order, the last one is the last view's, and no
// frame comes after it.
TEST_F(ExplorerTest, BurstOfViewsEndsWithTheLastViewsFrame) {
    std::vector<std::uint64_t> generations;
    QObject::connect(&explorer.frames(), &explorer::FrameSource::frameReady, &explorer,
                     [&](const Frame& frame) { generations.push_back(frame.generation); });
    for (int i = 0; i < 100; ++i) {
        QTest::keyClick(partsOf(explorer).picture, Qt::Key_Right);
    }
    const std::uint64_t last = explorer.frames().newestRequest();
    ASSERT_TRUE(waitCurrent());
    QTest::qWait(200);
    ASSERT_FALSE(generations.empty());
    EXPECT_EQ(generations.back(), last);
    EXPECT_TRUE(std::is_sorted(generations.begin(), generations.end()));
    EXPECT_LT(generations.size(), 100U) << "frames of older views were abandoned";
    EXPECT_EQ(explorer.shown()->description.view, (View{140, 0, 0}));
    expectShowsTheCorePicture();
}

TEST_F(ExplorerTest, SpaceStartsAndStopsSpinning) {
    int frames = 0;
    QObject::connect(&explorer.frames(), &explorer::FrameSource::frameReady, &explorer,
                     [&] { ++frames; });
    QTest::keyClick(partsOf(explorer).picture, Qt::Key_Space);
    EXPECT_TRUE(partsOf(explorer).spin->isChecked());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return explorer.shown() && explorer.shown()->description.view.lon >= 6.0; }, 10000));
    EXPECT_GE(frames, 2) << "a frame at each step";
    QTest::keyClick(partsOf(explorer).picture, Qt::Key_Space);
    EXPECT_FALSE(partsOf(explorer).spin->isChecked());
    ASSERT_TRUE(waitCurrent());
    const View stopped = explorer.shown()->description.view;
    EXPECT_GT(stopped.lon, 0.0);
    EXPECT_EQ(stopped.lat, 0.0);
    QTest::qWait(100);
    EXPECT_EQ(explorer.shown()->description.view, stopped) << "still after the second Space";
    expectShowsTheCorePicture();
}

// A code or scale that cannot be drawn: the message beside the controls in the main window's
// words, no message box, the last good picture kept; then good input draws again.
struct FaultRow {
    friend void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QString code;
    QString scale;
};

const FaultRow faultRows[] = {
    {"codeWithoutADivisor", QStringLiteral("300 x/1:3/1:3/1"), QStringLiteral("120")},
    {"triangleThatCannotBeSolved", QStringLiteral("300 2/1:2/1:1/1"), QStringLiteral("120")},
    {"scaleZero", QStringLiteral("300 2/1:3/1:3/1"), QStringLiteral("0")},
    {"scaleBeyondTheDoubles", QStringLiteral("300 2/1:3/1:3/1"), QStringLiteral("1e999")},
    // Without a colon, the usual notation, whose faults end with its form.
    {"notationOfTwoNumbers", QStringLiteral("2 3"), QStringLiteral("120")},
    {"notationWithACommaAndASign", QStringLiteral("2, 3 -3"), QStringLiteral("120")},
    {"notationWithAZero", QStringLiteral("2 0/1 3"), QStringLiteral("120")},
};

class ExplorerFaultTest : public ExplorerTest, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(ExplorerFaultTest, ShowsBesideTheControlsAndKeepsThePicture) {
    const FaultRow& row = GetParam();
    const QImage before = explorer.shown()->image;
    for (const auto& [field, text] : {std::pair{partsOf(explorer).code->lineEdit(), row.code},
                                      std::pair{partsOf(explorer).scale, row.scale}}) {
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    ASSERT_TRUE(waitCurrent());
    // The message the main window's Go! would give for the same inputs.
    const std::string code = row.code.toStdString();
    DrawRequest request = drawRequest(code, notationOf(code));
    std::string message;
    try {
        request.scale = readScale(row.scale.toStdString());
        message = coreFailure(request);
    } catch (const DrawError& e) {
        message = e.what();
    }
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(partsOf(explorer).faultText->text(),
              drawingStoppedText(QString::fromStdString(message)));
    EXPECT_TRUE(partsOf(explorer).faultText->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no message box";
    EXPECT_FALSE(partsOf(explorer).picture->frame().isNull());
    expectShowsTheCorePictureOfItsOwn();
    if (row.code == QStringLiteral("300 2/1:3/1:3/1") && row.scale == QStringLiteral("0")) {
        EXPECT_EQ(partsOf(explorer).picture->frame(), before) << "typing 0 drew nothing new";
    }

    partsOf(explorer).code->setEditText(QStringLiteral("300 2/1:3/1:3/1"));
    partsOf(explorer).scale->setText(QStringLiteral("120"));
    QTest::keyClicks(partsOf(explorer).scale, QStringLiteral("5"));
    ASSERT_TRUE(waitCurrent());
    EXPECT_EQ(partsOf(explorer).faultText->text(), QString());
    EXPECT_EQ(explorer.shown()->description.request.scale, 1205.0);
    expectShowsTheCorePicture();
}

INSTANTIATE_TEST_SUITE_P(Explorer, ExplorerFaultTest, ::testing::ValuesIn(faultRows), RowName());

// A picture the core refuses after one of (2 3 7) was drawn in the option `projection`: the
// core's words beside the controls, the last picture kept and the status bar saying it is not
// current; Home and the first option lead back to a picture.
struct RefusalRow {
    friend void PrintTo(const RefusalRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QString triangle;
    std::size_t projection;  // 3: "halfplane"
    View view;
};

const RefusalRow refusalRows[] = {
    {"halfPlaneOfTheSphere", QStringLiteral("2 3 4"), 3, {}},
    {"moveTooLong", QStringLiteral("2 3 7"), 0, {40000, 40000, 0}},
};

class ExplorerRefusalTest : public ExplorerTest,
                            public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(ExplorerRefusalTest, KeepsTheLastPictureSaysWhyAndLeadsBack) {
    const RefusalRow& row = GetParam();
    const ExplorerParts parts = partsOf(explorer);
    parts.code->setEditText(QStringLiteral("2 3 7"));
    clickIndicator(row.projection < 3 ? parts.projection[row.projection] : parts.halfPlane);
    ASSERT_TRUE(waitCurrent());
    const Frame before = *explorer.shown();
    parts.code->setEditText(row.triangle);
    parts.lon->setValue(row.view.lon);
    parts.lat->setValue(row.view.lat);
    ASSERT_TRUE(waitCurrent());
    std::string message;
    try {
        (void)PreparedPicture(explorer.wanted());
    } catch (const std::exception& e) {
        message = e.what();
    }
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(parts.faultText->text(), drawingStoppedText(QString::fromStdString(message)));
    EXPECT_EQ(explorer.shown()->generation, before.generation) << "the last picture stays";
    EXPECT_EQ(parts.picture->frame(), before.image);
    const QString stale = QStringLiteral("the drawing stopped; this is the last picture drawn");
    EXPECT_TRUE(parts.viewStatus->text().endsWith(stale)) << parts.viewStatus->text().toStdString();

    parts.resetView->trigger();
    clickIndicator(parts.projection[0]);
    ASSERT_TRUE(waitCurrent());
    EXPECT_TRUE(parts.faultText->text().isEmpty());
    EXPECT_FALSE(parts.viewStatus->text().contains(stale));
    expectShowsTheCorePicture();
}

INSTANTIATE_TEST_SUITE_P(Explorer, ExplorerRefusalTest, ::testing::ValuesIn(refusalRows),
                         RowName());

// ---------------------------------------------------------------------------------------------
// Copying and saving the picture as shown, and the command line.

class ExplorerFilesTest : public ExplorerTest {
protected:
    void SetUp() override {
        ExplorerTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        explorer.setSaveDialogs({[this](QWidget*, const QString& proposed) {
                                     proposals.push_back(proposed);
                                     return answer;
                                 },
                                 [this](QWidget*, const QString& path, const QString& reason) {
                                     failures.push_back(path + QStringLiteral(": ") + reason);
                                 }});
    }

    QTemporaryDir folder;
    QString answer;
    QStringList proposals;
    QStringList failures;
};

TEST_F(ExplorerFilesTest, SavesPngOrWebpByTheNameAndRefusesOtherNames) {
    QTest::keyClick(partsOf(explorer).picture, Qt::Key_Right);
    ASSERT_TRUE(waitCurrent());
    const Frame frame = *explorer.shown();
    answer = folder.filePath(QStringLiteral("turned.png"));
    QTest::keyClick(&explorer, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(proposals.size(), 1);
    EXPECT_EQ(QFileInfo(proposals[0]).fileName(),
              QString::fromStdString(pictureFileName(frame.description, ".png")));
    EXPECT_TRUE(isCorePicture(QImage(answer), frame.description));

    answer = folder.filePath(QStringLiteral("turned.webp"));
    partsOf(explorer).savePicture->trigger();
    QFile webp(answer);
    ASSERT_TRUE(webp.open(QIODevice::ReadOnly));
    const QByteArray head = webp.read(12);
    EXPECT_TRUE(head.startsWith("RIFF") && head.endsWith("WEBP")) << head.toStdString();

    answer = folder.filePath(QStringLiteral("turned.jpg"));
    partsOf(explorer).savePicture->trigger();
    EXPECT_EQ(failures,
              QStringList{answer + QStringLiteral(": use a name ending in .png or .webp")});
    EXPECT_FALSE(QFile::exists(answer));

    // The ending in any case; a name that is nothing but its ending is refused.
    answer = folder.filePath(QStringLiteral("Turned.PNG"));
    partsOf(explorer).savePicture->trigger();
    EXPECT_TRUE(isCorePicture(QImage(answer, "PNG"), frame.description));
    answer = folder.filePath(QStringLiteral(".png"));
    partsOf(explorer).savePicture->trigger();
    ASSERT_EQ(failures.size(), 2);
    EXPECT_EQ(failures[1], answer + QStringLiteral(": use a name ending in .png or .webp"));
    EXPECT_FALSE(QFile::exists(answer));

    answer = folder.filePath(QStringLiteral("missing/turned.png"));
    partsOf(explorer).savePicture->trigger();
    ASSERT_EQ(failures.size(), 3);
    EXPECT_EQ(failures[2], answer + QStringLiteral(": No such file or directory"));

    // A FIFO that nobody reads is refused at once, not waited for.
    answer = folder.filePath(QStringLiteral("fifo.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(answer).constData(), 0600), 0);
    partsOf(explorer).savePicture->trigger();
    ASSERT_EQ(failures.size(), 4);
    EXPECT_EQ(failures[3], answer + QStringLiteral(": nothing is reading from '") + answer +
                               QStringLiteral("'"));
}

// Pictures whose command line Ctrl+Shift+C copies, from the start-up picture.
struct CommandRow {
    friend void PrintTo(const CommandRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    std::function<void(Explorer&)> change;
};

const CommandRow commandRows[] = {
    {"turnedLeft", [](Explorer& e) { QTest::keyClick(partsOf(e).picture, Qt::Key_Left); }},
    {"everyControl",
     [](Explorer& e) {
         partsOf(e).code->setEditText(QStringLiteral("412 4/1:2/1:3/1"));
         partsOf(e).rotation[2]->setChecked(true);
         partsOf(e).reverse->setChecked(true);
         partsOf(e).projection[1]->setChecked(true);
         partsOf(e).scale->setText(QStringLiteral("77.25 px"));
         partsOf(e).lat->setValue(-12.5);
         partsOf(e).roll->setValue(0.01);
     }},
    {"usualNotation", [](Explorer& e) { partsOf(e).code->setEditText(QStringLiteral("5/2 3 3")); }},
    // (2 3 7) in the Poincaré disk, the plane moved and rolled.
    {"hyperbolicMoved",
     [](Explorer& e) {
         partsOf(e).code->setEditText(QStringLiteral("2 3 7"));
         partsOf(e).projection[0]->setChecked(true);
         partsOf(e).lon->setValue(37.5);
         partsOf(e).lat->setValue(-20.25);
         partsOf(e).roll->setValue(15);
     }},
    // (2 3 8) in the upper half-plane, moved further than a sphere's view goes.
    {"halfPlaneMovedFar",
     [](Explorer& e) {
         partsOf(e).code->setEditText(QStringLiteral("2 3 8"));
         partsOf(e).halfPlane->setChecked(true);
         partsOf(e).lon->setValue(1234.56);
         partsOf(e).lat->setValue(-300);
     }},
    // Quotes, a blank and a dollar sign in the code go through the shell as they are.
    {"codeThatNeedsQuoting",
     [](Explorer& e) {
         partsOf(e).code->setEditText(QStringLiteral("300 2/1:3/1:3/1 it's $HOME"));
     }},
    // Control characters and a right-to-left override, which the line writes as escapes.
    {"codeWithControlAndBidiCharacters",
     [](Explorer& e) {
         partsOf(e).code->setEditText(QStringLiteral("300 2/1:3/1:3/1 \u202e\x01x\ry\nz"));
     }},
};

class ExplorerCommandTest : public ExplorerTest,
                            public ::testing::WithParamInterface<CommandRow> {};

// The command line copied is the one vantu-render reads back, through its own parser, as the
// picture shown, drawn into the file Save proposes; the picture copied is the one shown.
TEST_P(ExplorerCommandTest, CopiesTheCommandLineOfThePictureShown) {
    EXPECT_FALSE(partsOf(explorer).copyCommand->isEnabled()) << "no command line without its maker";
    std::vector<QString> copied;
    explorer.setCommandText([&](const PictureDescription& d, const OverlayOptions& marks) {
        copied.push_back(explorer::renderCommandLine(d, marks));
        return copied.back();
    });
    EXPECT_TRUE(partsOf(explorer).copyCommand->isEnabled());
    GetParam().change(explorer);
    ASSERT_TRUE(waitCurrent());
    ASSERT_EQ(partsOf(explorer).faultText->text(), QString());
    const QString probe = QStringLiteral("vantu clipboard probe");
    QGuiApplication::clipboard()->setText(probe);
    const bool clipboard = QGuiApplication::clipboard()->text() == probe;
    QTest::keyClick(&explorer, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(copied.size(), 1U);
    // The line reads as what runs: nothing in it that a message would escape.
    EXPECT_EQ(escapeText(copied[0].toStdString()), copied[0].toStdString());

    const PictureDescription& shown = explorer.shown()->description;
    const std::vector<std::string> words = testing_support::shellWords(copied[0].toStdString());
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words[0], "vantu-render");
    const cli::ParsedLine parsed =
        cli::parseCommandLine(std::vector<std::string>(words.begin() + 1, words.end()));
    ASSERT_EQ(parsed.action, cli::Action::run);
    EXPECT_EQ(parsed.command.mode, cli::Mode::picture);
    EXPECT_EQ(parsed.command.output, pictureFileName(shown, ".png"));
    const PictureDescription read = options::describedPicture(parsed.command.picture);
    testing_support::expectSameDescription(read, shown);
    EXPECT_TRUE(isCorePicture(explorer.shown()->image, read)) << "vantu-render's picture";

    if (!clipboard) {
        GTEST_SKIP() << "the platform has no clipboard here (a compositor without a seat)";
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied[0]);
    QTest::keyClick(&explorer, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(isCorePicture(QGuiApplication::clipboard()->image(), shown));
}

INSTANTIATE_TEST_SUITE_P(Explorer, ExplorerCommandTest, ::testing::ValuesIn(commandRows),
                         RowName());

// ---------------------------------------------------------------------------------------------
// The boxes in the user's locale, the command line in the program's own numbers.

// The Explorer of a German user, who writes 12,5 and groups thousands with '.'.
struct GermanLocale {
    GermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~GermanLocale() { QLocale::setDefault(before); }
    QLocale before;
};

class ExplorerInGermanTest : public GermanLocale, public ExplorerTest {};

TEST_F(ExplorerInGermanTest, BoxesReadTheLocalesNumbersAndTheCommandLineItsOwn) {
    const struct {
        QWidget* box;
        const char* typed;
    } typing[] = {
        {partsOf(explorer).lon, "12.5"},   // a '.' is a decimal point too, never a group separator
        {partsOf(explorer).lat, "-7,25"},  // the locale's own decimal comma
        {partsOf(explorer).roll, "-0,004"},  // at hundredths, 0 and not -0
        {partsOf(explorer).scale, "77,5"},
    };
    for (const auto& [box, typed] : typing) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QString::fromUtf8(typed));
    }
    partsOf(explorer).picture->setFocus();
    ASSERT_TRUE(waitCurrent());
    EXPECT_EQ(partsOf(explorer).lon->text(), QStringLiteral("12,50\u00b0"));
    QTest::keyClick(partsOf(explorer).picture, Qt::Key_Plus);
    ASSERT_TRUE(waitCurrent());
    EXPECT_EQ(partsOf(explorer).scale->text(), QStringLiteral("96,875"));
    const std::string line =
        explorer::renderCommandLine(explorer.shown()->description).toStdString();
    EXPECT_NE(line.find(" --scale 96.875 --projection stereo --view 12.5,-7.25,0 "),
              std::string::npos)
        << line;
}

// ---------------------------------------------------------------------------------------------
// The window's size: most of the screen at first, then what the last Explorer closed with.

// On a screen of 1600 x 1000 (the offscreen platform with tests/window/wide_screen.json) the
// Explorer opens on most of it, centred, and the picture has the most of the window's width.
// Skipped on other screens.
TEST(ExplorerOpening, TakesMostOfTheScreenForThePicture) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    if (area.size() != QSize(1600, 1000)) {
        GTEST_SKIP() << "a screen of another size: the case runs as window.ExplorerOnAWideScreen";
    }
    Explorer explorer;
    explorer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&explorer));
    const QRect frame = explorer.frameGeometry();
    EXPECT_TRUE(area.contains(frame));
    EXPECT_GE(frame.width(), area.width() * 8 / 10);
    EXPECT_GE(frame.height(), area.height() * 8 / 10);
    EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 1);
    EXPECT_GE(partsOf(explorer).picture->width(), explorer.width() * 6 / 10);
}

// The size, the place and the docks an Explorer closed with are the next one's.
TEST(ExplorerOpening, KeepsItsSizeAndDocksBetweenRuns) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto settings = std::make_shared<QSettings>(folder.filePath(QStringLiteral("vantu.conf")),
                                                      QSettings::IniFormat);
    const QSize size(760, 560);
    {
        Explorer first;
        first.keepLayoutIn(settings);
        first.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
        partsOf(first).showFacts->trigger();
        first.resize(size);
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.size() == size; }, 5000));
        first.close();
    }
    Explorer next;
    next.keepLayoutIn(settings);
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    EXPECT_EQ(next.size(), size);
    EXPECT_FALSE(partsOf(next).factsDock->isVisible());
}

// Every action is in a menu and the picture's context menu holds the picture's own.
TEST_F(ExplorerTest, EveryActionIsInAMenu) {
    QList<QAction*> inMenus;
    for (QAction* menu : explorer.menuBar()->actions()) {
        inMenus += menu->menu()->actions();
    }
    for (QAction* action : {partsOf(explorer).copyPicture,    partsOf(explorer).savePicture,
                            partsOf(explorer).copyCommand,    partsOf(explorer).closeExplorer,
                            partsOf(explorer).turnLeft,       partsOf(explorer).turnRight,
                            partsOf(explorer).turnUp,         partsOf(explorer).turnDown,
                            partsOf(explorer).rollLeft,       partsOf(explorer).rollRight,
                            partsOf(explorer).zoomIn,         partsOf(explorer).zoomOut,
                            partsOf(explorer).resetView,      partsOf(explorer).spin,
                            partsOf(explorer).fullScreen,     partsOf(explorer).markMirrors,
                            partsOf(explorer).markGroup,      partsOf(explorer).markTriangle,
                            partsOf(explorer).markSnubPoints, partsOf(explorer).showFacts,
                            partsOf(explorer).showLegend}) {
        EXPECT_TRUE(inMenus.contains(action)) << action->text().toStdString();
        EXPECT_FALSE(action->toolTip().isEmpty()) << action->text().toStdString();
    }
    EXPECT_TRUE(partsOf(explorer).picture->actions().contains(partsOf(explorer).turnLeft));
    EXPECT_TRUE(partsOf(explorer).picture->actions().contains(partsOf(explorer).copyPicture));
    for (QWidget* control : std::initializer_list<QWidget*>{
             partsOf(explorer).code, partsOf(explorer).rotation[0], partsOf(explorer).reverse,
             partsOf(explorer).scale, partsOf(explorer).projection[1], partsOf(explorer).lon,
             partsOf(explorer).lat, partsOf(explorer).roll, partsOf(explorer).picture,
             partsOf(explorer).facts}) {
        EXPECT_FALSE(control->toolTip().isEmpty()) << control->accessibleName().toStdString();
        EXPECT_FALSE(control->accessibleName().isEmpty());
    }
}

// F11 fills the screen and the picture follows; F11 again goes back.
TEST_F(ExplorerTest, FullScreenAndBack) {
    const QSize before = partsOf(explorer).picture->size();
    QTest::keyClick(&explorer, Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return explorer.isFullScreen(); }, 5000));
    EXPECT_TRUE(partsOf(explorer).fullScreen->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return partsOf(explorer).picture->size() != before; }, 5000));
    ASSERT_TRUE(waitCurrent());
    expectShowsTheCorePicture();
    QTest::keyClick(&explorer, Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !explorer.isFullScreen(); }, 5000));
    EXPECT_FALSE(partsOf(explorer).fullScreen->isChecked());
}

// Closing the window, or dropping the frames, while a frame is drawn ends at once and cleanly:
// the drawing thread leaves the frame within a row and nothing arrives afterwards.
TEST(ExplorerClosing, DuringAFrame) {
    for (int round = 0; round < 3; ++round) {
        auto window = std::make_unique<Explorer>();
        window->resize(1200, 900);
        window->show();
        QTest::keyClick(partsOf(*window).picture, Qt::Key_Right);
        window->close();
        window.reset();
        QTest::qWait(20);
    }
    int arrived = 0;
    {
        explorer::FrameSource frames;
        QObject::connect(&frames, &explorer::FrameSource::frameReady, [&] { ++arrived; });
        PictureDescription big;
        big.size = {4000, 3000};
        frames.request(big);
        QTest::qWait(5);
    }
    QTest::qWait(50);
    EXPECT_EQ(arrived, 0);
}

// ---------------------------------------------------------------------------------------------
// The frame renderer: the core's picture, abandoned within a few rows, the lowest row's fault.

struct RendererRow {
    friend void PrintTo(const RendererRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    PictureDescription description;
};

PictureDescription described(Projection projection, View view, PictureSize size, double ratio) {
    PictureDescription d;
    d.request.projection = projection;
    d.view = view;
    d.size = size;
    d.sampling = Sampling{ratio};
    return d;
}

const RendererRow rendererRows[] = {
    {"startUp", {}},
    {"stereoTurnedWide", described(Projection::stereographic, {30, -15, 10}, {401, 123}, 1.0)},
    // 300 columns at 1.25 would put a sample on the vertical axis: the size the Explorer draws.
    {"gnomeAtOneAndAQuarter",
     described(Projection::gnomonic, {-120, 45, 0},
               offAxisSize({300, 200}, Sampling{1.25}, Projection::gnomonic), 1.25)},
    {"orthoAtTwo", described(Projection::orthographic, {0, 90, 135}, {161, 240}, 2.0)},
};

class FrameRendererTest : public ::testing::TestWithParam<RendererRow> {};

TEST_P(FrameRendererTest, DrawsTheCorePictureOnEveryThreadCount) {
    for (const int threads : {1, 2, 3}) {
        FrameRenderer renderer({threads, {}});
        const std::optional<QImage> image = renderer.render(GetParam().description);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->devicePixelRatio(), GetParam().description.sampling.ratio);
        EXPECT_TRUE(isCorePicture(*image, GetParam().description)) << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(Explorer, FrameRendererTest, ::testing::ValuesIn(rendererRows), RowName());

// A frame's image handed back is drawn into again when nothing else holds it, and left alone when
// something still does.
TEST(FrameRenderer, DrawsIntoARecycledImageThatNothingElseHolds) {
    FrameRenderer renderer({2, {}});
    PictureDescription d;
    d.size = {200, 150};
    QImage first = *renderer.render(d);
    const uchar* const bits = first.constBits();
    renderer.recycle(std::move(first));
    d.view = {10, 0, 0};
    const QImage second = *renderer.render(d);
    EXPECT_EQ(second.constBits(), bits);
    EXPECT_TRUE(isCorePicture(second, d));
    renderer.recycle(second);  // still held here
    PictureDescription next = d;
    next.view = {20, 0, 0};
    const QImage third = *renderer.render(next);
    EXPECT_NE(third.constBits(), bits);
    EXPECT_TRUE(isCorePicture(second, d)) << "the image still held is untouched";
    EXPECT_TRUE(isCorePicture(third, next));
}

TEST(FrameRenderer, AbandonsAFrameWithinARowPerThread) {
    PictureDescription d;
    d.size = {300, 1000};
    for (const int threads : {1, 2, 4}) {
        FrameRenderer renderer({threads, {}});
        std::atomic<int> asked{0};
        const std::optional<QImage> image = renderer.render(d, [&] { return ++asked > 10; });
        EXPECT_FALSE(image.has_value());
        EXPECT_LE(asked.load(), 10 + threads) << threads << " threads";
    }
}

TEST(FrameRenderer, ThrowsTheLowestRowsFault) {
    FrameRenderer renderer({2, {}});
    PictureDescription d;
    d.request.scale = 0.0;
    d.size = {200, 300};
    EXPECT_THROW_MSG((void)renderer.render(d), DrawError,
                     "the scale R is 0: division by zero in row 0");
    d.request.scale = 120.0;
    d.request.triangleCode = "300 0/1:3/1:3/1";
    EXPECT_THROW_MSG((void)renderer.render(d), DrawError,
                     "the triangle code has the divisor 0 at position 5 (fraction 1): division by "
                     "zero (a code reads as a label, a blank and three fractions p/q, as in "
                     "\"300 2/1:3/1:3/1\")");
    d.request.triangleCode = "300 2/1:3/1:3/1";
    d.size = {0, 10};
    EXPECT_THROW((void)renderer.render(d), std::invalid_argument);
}

// ---------------------------------------------------------------------------------------------
// How the inputs move the view and R, at the hundredths the Explorer keeps.

TEST(Navigation, AnglesWrapAndHoldAtHundredths) {
    using explorer::clampedLatitude;
    using explorer::wrappedAngle;
    const std::pair<double, double> wraps[] = {
        {0, 0},         {180, 180},      {-180, 180},     {185, -175},  {-185, 175},     {540, 180},
        {-725.5, -5.5}, {12.344, 12.34}, {12.345, 12.35}, {359.999, 0}, {-179.996, 180},
    };
    for (const auto& [in, out] : wraps) {
        EXPECT_EQ(wrappedAngle(in), out) << in;
    }
    EXPECT_EQ(clampedLatitude(95), 90);
    EXPECT_EQ(clampedLatitude(-90.004), -90);
    EXPECT_EQ(clampedLatitude(45.678), 45.68);
    // Hundredths read back from their shortest text.
    EXPECT_EQ(std::stod("12.35"), wrappedAngle(12.345));
}

// The keys move a plane's view as far as its boxes go, and turn the sphere's round; the boxes'
// limit in the hyperbolic plane is the longest move whose cosh is finite.
TEST(Navigation, PlanesMoveAsFarAsTheirBoxesGo) {
    using explorer::movedBy;
    const double far = explorer::hyperbolicMoveLimit;
    const struct {
        Geometry geometry;
        View view;
        double lon, lat;
        View moved;
    } rows[] = {
        {Geometry::spherical, {180, 90, 0}, 5, 5, {-175, 90, 0}},
        {Geometry::hyperbolic, {180, 90, 0}, 5, 5, {185, 95, 0}},
        {Geometry::hyperbolic, {-far + 1, far - 2, 0}, -5, 5, {-far, far, 0}},
        {Geometry::euclidean, {1e9, 0, 0}, 5, 0, {1e9, 0, 0}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(movedBy(row.view, row.lon, row.lat, 0, row.geometry), row.moved)
            << geometryName(row.geometry) << " from " << row.view.lon << ", " << row.view.lat;
    }
    const auto cosh = [](double degrees) { return cr::cosh((degrees * std::numbers::pi) / 180); };
    EXPECT_TRUE(std::isfinite(cosh(far)));
    EXPECT_FALSE(std::isfinite(cosh(far + 0.01)));
}

// A view beyond the boxes' ranges is the same turn with angles the boxes show; one within them
// stays as it is.
TEST(Navigation, BoxedViewIsTheSameTurnWithinTheBoxes) {
    const std::pair<View, View> rows[] = {
        {{1e308, 1e308, 0}, {-64, -64, 0}},  {{0, 100, 0}, {180, 80, 180}},
        {{30, -135, -170}, {-150, -45, 10}}, {{200, 0, -1e20}, {-160, 0, 80}},
        {{-180, 90, 180}, {-180, 90, 180}},  {{12.345, -89.99, 1e-300}, {12.345, -89.99, 1e-300}},
    };
    const Mirrors normals = {{{1, 0, 0}, {0, 1, 0}, {0.6, 0, 0.8}}};
    for (const auto& [in, out] : rows) {
        EXPECT_EQ(explorer::boxedView(in), out) << in.lon << ", " << in.lat << ", " << in.roll;
        const Mirrors a = turned(normals, in, std::numbers::pi);
        const Mirrors b = turned(normals, out, std::numbers::pi);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(length(a[i] - b[i]), 0.0, 1e-12) << in.lat << ", normal " << i;
        }
    }
}

// Opened at a long move in a plane, the Explorer draws it, and its boxes show it; the status bar
// reads the point under the cursor in the plane's own terms, briefly however far it lies.
TEST(ExplorerOpening, AtALongMoveInAPlaneDrawsIt) {
    const struct {
        const char* triangle;
        View view;
    } rows[] = {{"2 3 7", {5000, -3000, 10}}, {"2 4 4", {-123456.78, 2e6, -90}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.triangle);
        PictureDescription opening;
        opening.request = drawRequest(row.triangle, TriangleNotation::schwarz);
        opening.view = row.view;
        Explorer e(opening);
        e.resize(640, 420);
        e.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
        ASSERT_TRUE(QTest::qWaitFor([&e] { return e.isCurrent(); }, 30000));
        ASSERT_TRUE(e.shown().has_value());
        EXPECT_EQ(e.shown()->description.view, row.view);
        EXPECT_EQ(row.view, (View{partsOf(e).lon->value(), partsOf(e).lat->value(),
                                  partsOf(e).roll->value()}));
        EXPECT_TRUE(isCorePicture(e.shown()->image, e.shown()->description));
        // A roll by Shift+drag leaves the moves as they are, and the status bar reads the point
        // under the cursor.
        const QPointF centre = centreOf(partsOf(e).picture);
        drag(partsOf(e).picture, centre + QPointF(60, 0), centre + QPointF(0, -60),
             Qt::ShiftModifier);
        ASSERT_TRUE(QTest::qWaitFor([&e] { return e.isCurrent(); }, 30000));
        EXPECT_EQ(e.shown()->description.view.lon, row.view.lon);
        EXPECT_EQ(e.shown()->description.view.lat, row.view.lat);
        EXPECT_NE(e.shown()->description.view.roll, row.view.roll);
        const QString point = partsOf(e).pointStatus->text();
        EXPECT_LT(point.size(), 160) << point.toStdString();
        // The Euclidean point is (x, y); the hyperboloid's (x, y, z).
        EXPECT_EQ(point.section(QLatin1Char(')'), 0, 0).count(QLatin1Char(',')),
                  e.shown()->picture->setup().geometry == Geometry::euclidean ? 1 : 2)
            << point.toStdString();
    }
}

// Opened at such a view, the Explorer draws the turn its boxes show.
TEST(ExplorerOpening, BeyondTheBoxesDrawsWhatTheyShow) {
    PictureDescription opening;
    opening.view = {1e308, 1e308, 100};
    Explorer e(opening);
    e.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    ASSERT_TRUE(QTest::qWaitFor([&e] { return e.isCurrent(); }, 30000));
    ASSERT_TRUE(e.shown().has_value());
    const View shown = e.shown()->description.view;
    EXPECT_EQ(shown, (View{-64, -64, 100}));
    EXPECT_EQ(shown,
              (View{partsOf(e).lon->value(), partsOf(e).lat->value(), partsOf(e).roll->value()}));
    EXPECT_TRUE(isCorePicture(e.shown()->image, e.shown()->description));
}

TEST(Navigation, SweptAngleIsCounterClockwiseOnTheScreen) {
    using explorer::sweptAngle;
    EXPECT_EQ(sweptAngle(100, 0, 0, -100), 90);   // right to top
    EXPECT_EQ(sweptAngle(0, -100, 100, 0), -90);  // top to right
    EXPECT_EQ(sweptAngle(100, 0, -100, 0), 180);
    EXPECT_EQ(sweptAngle(10, 10, 20, 20), 0);
    EXPECT_EQ(sweptAngle(0, 0, 20, 20), 0);
}

TEST(Navigation, ZoomKeepsSixSignificantDigits) {
    using explorer::zoomed;
    EXPECT_EQ(zoomed(120, 1.1), 132);
    EXPECT_EQ(zoomed(132, 1.1), 145.2);
    EXPECT_EQ(zoomed(120, 1 / 1.1), 109.091);
    EXPECT_EQ(zoomed(120, 1.25), 150);
    EXPECT_EQ(zoomed(0.001, 0.5), 0.0005);
    EXPECT_EQ(zoomed(123456789, 1), 123457000);
    // Held within the finite, normal doubles; an R typed beyond them goes no further.
    EXPECT_EQ(zoomed(-1.7e308, 1.25), -explorer::largestZoomedScale);
    EXPECT_EQ(zoomed(120, std::pow(1.1, -8000)), explorer::smallestZoomedScale);
    EXPECT_EQ(zoomed(explorer::smallestZoomedScale, 1.1), 2.44759e-308);
    EXPECT_EQ(zoomed(DBL_MAX, 1.25), DBL_MAX);
    EXPECT_EQ(zoomed(1e-320, 0.8), 1e-320);
}

// How far apart two homogeneous points of a plane are: the hyperbolic distance, or the Euclidean.
double planeDistance(const Vec3& a, const Vec3& b, Geometry geometry) {
    if (geometry == Geometry::euclidean) {
        return std::hypot((a.x / a.z) - (b.x / b.z), (a.y / a.z) - (b.y / b.z));
    }
    const auto form = [](const Vec3& u, const Vec3& v) {
        return (u.z * v.z) - ((u.y * v.y) + (u.x * v.x));
    };
    return std::acosh(std::max(1.0, form(a, b) / std::sqrt(form(a, a) * form(b, b))));
}

// A plane grabbed at one point of the picture and let go at another: the view grabbedView finds
// brings the grabbed point of the plane to the second point, at every model and from views
// moved and rolled, a long way too, where the grabbed point's coordinates are near 1e60.
TEST(Navigation, GrabbedPlaneFollowsTheCursor) {
    struct Row {
        Projection projection;
        Geometry geometry;
        View start;
        // The model's X and Y (the picture's offsets over R; Y' = 1 + Y in the half-plane).
        double fromX, fromY, toX, toY;
    };
    const Row rows[] = {
        {Projection::stereographic, Geometry::hyperbolic, {0, 0, 0}, 0.1, 0.2, 0.4, -0.3},
        {Projection::stereographic, Geometry::hyperbolic, {40, -25, 30}, -0.6, 0.5, 0.7, 0.2},
        {Projection::stereographic, Geometry::hyperbolic, {-120, 20, -90}, 0.3, 0.0, -0.2, 0.1},
        {Projection::gnomonic, Geometry::hyperbolic, {10, 20, 0}, 0.3, 0.3, -0.5, -0.6},
        {Projection::gnomonic, Geometry::hyperbolic, {0, 0, 135}, -0.5, 0.1, 0.2, 0.4},
        {Projection::orthographic, Geometry::hyperbolic, {-30, 15, 45}, 1.0, -0.5, -0.8, 0.6},
        {Projection::halfplane, Geometry::hyperbolic, {0, 0, 0}, 0.2, 1.1, -0.7, 0.5},
        {Projection::halfplane, Geometry::hyperbolic, {50, 10, 170}, 0.5, 2.0, -0.3, 0.8},
        {Projection::stereographic, Geometry::euclidean, {0, 0, 0}, 0.5, 0.5, -1.0, 2.0},
        {Projection::gnomonic, Geometry::euclidean, {100, 10, -60}, -0.5, 0.5, 0.8, -0.3},
        {Projection::stereographic, Geometry::hyperbolic, {5000, -3000, 10}, 0.3, -0.2, -0.4, 0.5},
        {Projection::gnomonic, Geometry::euclidean, {-1e6, 2e6, 0}, -0.5, 0.5, 0.8, -0.3},
    };
    const double pi = std::numbers::pi;
    for (const Row& row : rows) {
        const auto pointOf = [&](double x, double y) {
            const std::optional<Vec3> p = detail::withMapping(
                row.projection, row.geometry, [&]<class P>() { return P::pointOf(x, y); });
            EXPECT_TRUE(p.has_value());
            // On the sheet, as the Explorer takes it before moving it back.
            const Vec3 q = p.value_or(Vec3{});
            const double scale = row.geometry == Geometry::hyperbolic
                                     ? std::sqrt((q.z * q.z) - ((q.y * q.y) + (q.x * q.x)))
                                     : 1.0;
            return Vec3{q.x / scale, q.y / scale, q.z / scale};
        };
        const Vec3 grabbed = movedBack(pointOf(row.fromX, row.fromY), row.start, pi, row.geometry);
        const Vec3 shown = pointOf(row.toX, row.toY);
        const std::optional<View> view =
            explorer::grabbedView(row.start, grabbed, shown, pi, row.geometry);
        ASSERT_TRUE(view.has_value()) << row.start.lon;
        EXPECT_EQ(view->roll, row.start.roll);
        // To the hundredths of a degree the view keeps; far away, where distances computed from
        // the coordinates are lost to rounding, to as many of their digits.
        const Vec3 back = movedBack(shown, *view, pi, row.geometry);
        EXPECT_LT(std::abs(row.start.lon) > 1000 ? length(back - grabbed) / length(grabbed)
                                                 : planeDistance(back, grabbed, row.geometry),
                  1e-3)
            << projectionName(row.projection) << " from view " << row.start.lon << ", "
            << row.start.lat << ", " << row.start.roll << " to " << view->lon << ", " << view->lat;
    }
    // Nothing for a point off the plane.
    EXPECT_FALSE(explorer::grabbedView({}, {2, 0, 1}, {0, 0, 1}, pi, Geometry::hyperbolic));
    EXPECT_FALSE(explorer::grabbedView({}, {0, 0, 1}, {1, 0, 0}, pi, Geometry::euclidean));
}

// In the Explorer: the projection's buttons, the fourth "halfplane" among them, name the models
// of the triangle's geometry, the fourth disabled on the sphere; each draws the core's picture;
// and a drag in a plane keeps the point grabbed under the cursor, to a pixel.
TEST_F(ExplorerTest, PlanesNameTheirModelsAndFollowADrag) {
    struct Row {
        const char* triangle;
        std::size_t projection;            // 3: "halfplane"
        std::array<const char*, 4> names;  // of the buttons stereo, gnome, ortho and halfplane
    };
    const std::array<const char*, 4> hyperbolic = {"Poincaré disk", "Beltrami–Klein disk",
                                                   "Gans model", "Upper half-plane"};
    const Row rows[] = {
        {"2 3 7", 0, hyperbolic},
        {"3 3 4", 1, hyperbolic},
        {"2 4 5", 2, hyperbolic},
        {"2 3 8", 3, hyperbolic},
        {"3 3 3", 3, {"Euclidean plane", "Euclidean plane", "Euclidean plane", "Euclidean plane"}},
        {"2 3 4", 0, {"Stereographic", "Gnomonic", "Orthographic", "Upper half-plane"}},
    };
    auto* const picture = partsOf(explorer).picture;
    const QPointF centre = centreOf(picture);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.triangle);
        const ExplorerParts parts = partsOf(explorer);
        const std::array<QRadioButton*, 4> buttons = {parts.projection[0], parts.projection[1],
                                                      parts.projection[2], parts.halfPlane};
        parts.code->setEditText(QString::fromUtf8(row.triangle));
        clickIndicator(buttons[row.projection]);
        ASSERT_TRUE(waitCurrent());
        EXPECT_EQ(explorer.shown()->description.request.projection,
                  projectionNames[row.projection].projection);
        expectShowsTheCorePicture();
        const Geometry geometry = explorer.shown()->picture->setup().geometry;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i]->accessibleName(), QString::fromUtf8(row.names[i]));
            // Disabled where it cannot show the geometry, saying why.
            const std::optional<std::string> refusal =
                projectionRefusal(projectionNames[i].projection, geometry);
            EXPECT_EQ(buttons[i]->isEnabled(), !refusal);
            EXPECT_TRUE(refusal ? buttons[i]->toolTip() == QString::fromStdString(*refusal)
                                : buttons[i]->toolTip().startsWith(QString::fromUtf8(row.names[i]) +
                                                                   QStringLiteral(": ")));
        }
        // The picture and the view's boxes say what a drag and LON do: turn the sphere, or move
        // the plane.
        for (const QWidget* part : {static_cast<QWidget*>(picture), parts.lon->parentWidget()}) {
            EXPECT_EQ(part->toolTip().contains(QStringLiteral("the plane")),
                      geometry != Geometry::spherical);
        }
        if (geometry == Geometry::spherical) {
            continue;
        }
        const auto planePoint = [&](QPointF at) {
            const std::optional<QPoint> pixel = picture->framePixelAt(at);
            EXPECT_TRUE(pixel.has_value());
            return explorer.shown()->picture->pointAt(pixel->x(), pixel->y())->point;
        };
        const QPointF from = centre + QPointF(-40, 30);
        const QPointF to = centre + QPointF(50, -20);
        const Vec3 grabbed = planePoint(from);
        drag(picture, from, to);
        ASSERT_TRUE(waitCurrent());
        // Within the length of two pixels there.
        const double pixel =
            planeDistance(planePoint(to), planePoint(to + QPointF(1, 0)), geometry);
        EXPECT_LT(planeDistance(planePoint(to), grabbed, geometry), 2 * pixel);
    }
}

// ---------------------------------------------------------------------------------------------
// The main window's "Explore...": the controls as Go! reads them, nothing drawn in Form1.

TEST_F(WindowTest, ExploreHandsOverTheControlsAsGoReadsThem) {
    EXPECT_FALSE(form.ExplorePicture->isEnabled()) << "nothing to open without a handler";
    std::vector<DrawRequest> opened;
    form.setExploreHandler([&](const DrawRequest& request) { opened.push_back(request); });
    QTest::mouseClick(form.Option3, Qt::LeftButton);
    QTest::mouseClick(form.Check2, Qt::LeftButton);
    QTest::mouseClick(form.Option5, Qt::LeftButton);
    typeCode(QStringLiteral("412 4/1:2/1:3/1"));
    typeScale(QStringLiteral("90.5abc"));
    // Ctrl+E where the user typed last: in the R box, and in the code's field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(form.Text7->text(), QStringLiteral("90.5abc"));
    QTest::mouseClick(form.Combo1->lineEdit(), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(opened.size(), 2U);
    opened.pop_back();
    EXPECT_EQ(opened[0].triangleCode, "412 4/1:2/1:3/1");
    EXPECT_EQ(opened[0].rotation, 2);
    EXPECT_TRUE(opened[0].reverse);
    EXPECT_EQ(opened[0].scale, 90.5);
    EXPECT_EQ(opened[0].projection, Projection::gnomonic);
    EXPECT_TRUE(rows.empty()) << "Form1 draws nothing";
    EXPECT_EQ(form.Picture1->scaleMode(), PictureBox::twipScaleMode);

    // From the picture's context menu, its third entry.
    const QPoint at(100, 100);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, form.Picture1->mapToGlobal(at));
    QApplication::sendEvent(form.Picture1, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    QAction* explore = menu->actions()[2];
    EXPECT_EQ(explore->text(), QStringLiteral("Explore\u2026"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(explore).center());
    EXPECT_EQ(opened.size(), 2U);

    // A scale that Go! cannot read is reported as Go! reports it, and nothing opens.
    typeScale(QStringLiteral("1e999"));
    form.ExplorePicture->trigger();
    EXPECT_EQ(opened.size(), 2U);
    ASSERT_EQ(errors.size(), 1U);
    try {
        (void)readScale("1e999");
    } catch (const DrawError& e) {
        EXPECT_EQ(errors[0], e.what());
    }
}

}  // namespace
}  // namespace vantu::window_test
