// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Drawings as the user starts them: "Go!", the Enter key, changes during a drawing, drawings
// nested in a yield, failures and closing the window while a drawing runs.

#include <gtest/gtest.h>

#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "geometry/draw_error.h"
#include "setup/triangle_code.h"
#include "tests/test_support.h"
#include "tests/window/window_test_support.h"

namespace vantu::window_test {
namespace {

// Rows first to last, in order.
std::vector<int> rowRange(int first, int last) {
    std::vector<int> range(static_cast<std::size_t>(last - first + 1));
    std::iota(range.begin(), range.end(), first);
    return range;
}

std::vector<int> concat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::vector<int> wholeDrawing = rowRange(0, pictureHeight - 1);

DrawRequest requestWith(void (*change)(DrawRequest&)) {
    DrawRequest request;
    change(request);
    return request;
}

// ---------------------------------------------------------------------------------------------
// A click on "Go!" paints what the core draws for the controls, and nothing outside the raster.

struct GoRow {
    friend void PrintTo(const GoRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    void (*arrange)(Form1&);
    void (*expect)(DrawRequest&);
};

const GoRow goRows[] = {
    {"startUp", [](Form1&) {}, [](DrawRequest&) {}},
    {"gnome", [](Form1& f) { QTest::mouseClick(f.Option5, Qt::LeftButton); },
     [](DrawRequest& r) { r.projection = Projection::gnomonic; }},
    {"ortho", [](Form1& f) { QTest::mouseClick(f.Option6, Qt::LeftButton); },
     [](DrawRequest& r) { r.projection = Projection::orthographic; }},
    {"rotation1Reversed",
     [](Form1& f) {
         QTest::mouseClick(f.Option2, Qt::LeftButton);
         QTest::mouseClick(f.Check2, Qt::LeftButton);
     },
     [](DrawRequest& r) {
         r.rotation = 1;
         r.reverse = true;
     }},
    {"rotation2Gnome",
     [](Form1& f) {
         QTest::mouseClick(f.Option3, Qt::LeftButton);
         QTest::mouseClick(f.Option5, Qt::LeftButton);
     },
     [](DrawRequest& r) {
         r.rotation = 2;
         r.projection = Projection::gnomonic;
     }},
    {"greyedReverseReadsAsUnchecked",
     [](Form1& f) {
         f.Check2->setTristate(true);
         f.Check2->setCheckState(Qt::PartiallyChecked);
     },
     [](DrawRequest&) {}},
    {"negativeFractionalScale",
     [](Form1& f) {
         f.Text7->selectAll();
         QTest::keyClicks(f.Text7, "-90.5");
     },
     [](DrawRequest& r) { r.scale = -90.5; }},
    {"scaleWithTrailingText",
     [](Form1& f) {
         f.Text7->selectAll();
         QTest::keyClicks(f.Text7, "60 px");
     },
     [](DrawRequest& r) { r.scale = 60; }},
    {"codePickedFromTheList", [](Form1& f) { f.Combo1->setCurrentIndex(43); },
     [](DrawRequest& r) { r.triangleCode = catalogue[43]; }},
};

class GoTest : public WindowTest, public ::testing::WithParamInterface<GoRow> {};

TEST_P(GoTest, PaintsTheCorePictureInsideTheRasterOnly) {
    GetParam().arrange(form);
    clickGo();
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(rows, wholeDrawing);
    EXPECT_EQ(form.Picture1->scaleMode(), PictureBox::pixelScaleMode);
    EXPECT_TRUE(sameRows(raster(), corePicture(requestWith(GetParam().expect)), 0, 480));
    for (const QRect& area : areaOutsideRaster(*form.Picture1)) {
        EXPECT_TRUE(showsBackground(*form.Picture1, area));
    }
}

INSTANTIATE_TEST_SUITE_P(Form1, GoTest, ::testing::ValuesIn(goRows), RowName());

// ---------------------------------------------------------------------------------------------
// Keys: Enter in Text7 draws, with any modifier and when repeated, and Enter on a focused "Go!"
// clicks it; Enter elsewhere does not draw; other keys in Text7 only edit it.

struct KeyRow {
    friend void PrintTo(const KeyRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QWidget* (*target)(const Form1&);
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool autoRepeat;
    bool draws;
    QString scaleText;  // Text7's text afterwards
};

#define CONTROL(member) +[](const Form1& f) -> QWidget* { return f.member; }

const KeyRow keyRows[] = {
    {"returnInText7", CONTROL(Text7), Qt::Key_Return, Qt::NoModifier, false, true, "120"},
    {"shiftReturnInText7", CONTROL(Text7), Qt::Key_Return, Qt::ShiftModifier, false, true, "120"},
    {"ctrlReturnInText7", CONTROL(Text7), Qt::Key_Return, Qt::ControlModifier, false, true, "120"},
    {"altReturnInText7", CONTROL(Text7), Qt::Key_Return, Qt::AltModifier, false, true, "120"},
    {"keypadEnterInText7", CONTROL(Text7), Qt::Key_Enter, Qt::KeypadModifier, false, true, "120"},
    {"repeatedReturnInText7", CONTROL(Text7), Qt::Key_Return, Qt::NoModifier, true, true, "120"},
    {"digitInText7", CONTROL(Text7), Qt::Key_5, Qt::NoModifier, false, false, "1205"},
    {"backspaceInText7", CONTROL(Text7), Qt::Key_Backspace, Qt::NoModifier, false, false, "12"},
    {"escapeInText7", CONTROL(Text7), Qt::Key_Escape, Qt::NoModifier, false, false, "120"},
    {"returnInCombo1", CONTROL(Combo1), Qt::Key_Return, Qt::NoModifier, false, false, "120"},
    {"keypadEnterInCombo1", CONTROL(Combo1), Qt::Key_Enter, Qt::KeypadModifier, false, false,
     "120"},
    {"returnOnGo", CONTROL(Command1), Qt::Key_Return, Qt::NoModifier, false, true, "120"},
    {"keypadEnterOnGo", CONTROL(Command1), Qt::Key_Enter, Qt::KeypadModifier, false, true, "120"},
    {"returnInPicture1", CONTROL(Picture1), Qt::Key_Return, Qt::NoModifier, false, false, "120"},
    {"returnOnOption1", CONTROL(Option1), Qt::Key_Return, Qt::NoModifier, false, false, "120"},
    {"returnOnCheck2", CONTROL(Check2), Qt::Key_Return, Qt::NoModifier, false, false, "120"},
};

#undef CONTROL

class KeyTest : public WindowTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(KeyTest, EnterInText7OrOnGoDraws) {
    const KeyRow& row = GetParam();
    row.target(form)->setFocus();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, row.target(form));
    // Text7 handles Enter itself only after the drawing that Enter started is over.
    std::vector<std::size_t> rowsDrawnWhenText7HandledEnter;
    QObject::connect(form.Text7, &QLineEdit::returnPressed,
                     [&] { rowsDrawnWhenText7HandledEnter.push_back(rows.size()); });
    if (row.autoRepeat) {
        QKeyEvent press(QEvent::KeyPress, row.key, row.modifiers, QStringLiteral("\r"), true);
        QApplication::sendEvent(focus, &press);
    } else {
        QTest::keyClick(focus, row.key, row.modifiers);
    }
    EXPECT_EQ(rows, row.draws ? wholeDrawing : std::vector<int>{});
    EXPECT_EQ(form.Text7->text(), row.scaleText);
    EXPECT_EQ(rowsDrawnWhenText7HandledEnter, row.draws && focus == form.Text7
                                                  ? std::vector<std::size_t>{wholeDrawing.size()}
                                                  : std::vector<std::size_t>{});
    EXPECT_EQ(form.Combo1->count(), static_cast<int>(catalogue.size()));
    if (row.draws) {
        EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 480));
    }
}

INSTANTIATE_TEST_SUITE_P(Form1, KeyTest, ::testing::ValuesIn(keyRows), RowName());

// ---------------------------------------------------------------------------------------------

// A code typed into Combo1's field is drawn exactly as typed, whether or not the core can draw
// it, and never becomes an entry of the list.

struct TypedCodeRow {
    friend void PrintTo(const TypedCodeRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QString typed;
};

const TypedCodeRow typedCodeRows[] = {
    {"notInTheList", "300 2/1:4/1:3/1"},
    {"beginningOfAnEntry", "300 2/1:3/1:3/"},
    {"entryWithMoreText", "300 2/1:3/1:3/1 again"},
};

class TypedCodeTest : public WindowTest, public ::testing::WithParamInterface<TypedCodeRow> {};

TEST_P(TypedCodeTest, IsUsedAsTypedAndNeverJoinsTheList) {
    const QString& typed = GetParam().typed;
    typeCode(typed);
    QTest::keyClick(form.Combo1->lineEdit(), Qt::Key_Return);
    clickGo();
    EXPECT_EQ(form.Combo1->currentText(), typed);
    EXPECT_EQ(form.Combo1->count(), static_cast<int>(catalogue.size()));
    EXPECT_EQ(form.Combo1->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive), -1);
    DrawRequest request;
    request.triangleCode = typed.toStdString();
    const std::string failure = coreFailure(request);
    if (failure.empty()) {
        EXPECT_TRUE(errors.empty());
        EXPECT_TRUE(sameRows(raster(), corePicture(request), 0, 480));
    } else {
        EXPECT_EQ(errors, std::vector{failure});
    }
}

INSTANTIATE_TEST_SUITE_P(Form1, TypedCodeTest, ::testing::ValuesIn(typedCodeRows), RowName());

// ---------------------------------------------------------------------------------------------
// A change to the controls during a drawing leaves that drawing alone and shapes the next one.

struct ChangeRow {
    friend void PrintTo(const ChangeRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    void (*change)(Form1&);
    void (*expect)(DrawRequest&);
};

const ChangeRow changeRows[] = {
    {"gnome", [](Form1& f) { QTest::mouseClick(f.Option5, Qt::LeftButton); },
     [](DrawRequest& r) { r.projection = Projection::gnomonic; }},
    {"ortho", [](Form1& f) { QTest::mouseClick(f.Option6, Qt::LeftButton); },
     [](DrawRequest& r) { r.projection = Projection::orthographic; }},
    {"rotation2", [](Form1& f) { QTest::mouseClick(f.Option3, Qt::LeftButton); },
     [](DrawRequest& r) { r.rotation = 2; }},
    {"reverse", [](Form1& f) { QTest::mouseClick(f.Check2, Qt::LeftButton); },
     [](DrawRequest& r) { r.reverse = true; }},
    {"scale",
     [](Form1& f) {
         f.Text7->selectAll();
         QTest::keyClicks(f.Text7, "75");
     },
     [](DrawRequest& r) { r.scale = 75; }},
    {"code",
     [](Form1& f) {
         f.Combo1->lineEdit()->selectAll();
         QTest::keyClicks(f.Combo1->lineEdit(), "400 2/1:3/1:4/1");
     },
     [](DrawRequest& r) { r.triangleCode = "400 2/1:3/1:4/1"; }},
};

class ChangeTest : public WindowTest, public ::testing::WithParamInterface<ChangeRow> {};

TEST_P(ChangeTest, ChangeDuringADrawingTakesEffectAtTheNextOne) {
    duringYield(1, 200, [this] { GetParam().change(form); });
    clickGo();
    EXPECT_EQ(rows, wholeDrawing);
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 480)) << "the running drawing";
    clickGo();
    EXPECT_TRUE(sameRows(raster(), corePicture(requestWith(GetParam().expect)), 0, 480))
        << "the next drawing";
    EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Form1, ChangeTest, ::testing::ValuesIn(changeRows), RowName());

// ---------------------------------------------------------------------------------------------
// "Go!" or Enter handled in a yield runs a whole nested drawing; the interrupted drawing then
// paints its remaining rows with its own inputs.

struct NestRow {
    friend void PrintTo(const NestRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    int row;  // the yield of the first drawing that starts the second
    void (*start)(Form1&);
};

void clickGoOn(Form1& f) {
    QTest::mouseClick(f.Command1, Qt::LeftButton);
}
void returnInText7(Form1& f) {
    QTest::keyClick(f.Text7, Qt::Key_Return);
}
void keypadEnterInText7(Form1& f) {
    QTest::keyClick(f.Text7, Qt::Key_Enter, Qt::KeypadModifier);
}

const NestRow nestRows[] = {
    {"goAtRow0", 0, clickGoOn},
    {"goAtRow240", 240, clickGoOn},
    {"returnAtRow100", 100, returnInText7},
    {"keypadEnterAtRow399", 399, keypadEnterInText7},
    {"goAtRow480", 480, clickGoOn},
};

class NestTest : public WindowTest, public ::testing::WithParamInterface<NestRow> {};

TEST_P(NestTest, NewRowsDownToTheInterruptionOldRowsBelow) {
    const int k = GetParam().row;
    duringYield(1, k, [this] {
        QTest::mouseClick(form.Option6, Qt::LeftButton);
        GetParam().start(form);
    });
    clickGo();
    EXPECT_EQ(rows, concat({rowRange(0, k), wholeDrawing, rowRange(k + 1, 480)}));
    DrawRequest ortho;
    ortho.projection = Projection::orthographic;
    EXPECT_TRUE(sameRows(raster(), corePicture(ortho), 0, k)) << "the nested drawing";
    if (k < 480) {
        EXPECT_TRUE(sameRows(raster(), corePicture({}), k + 1, 480)) << "the interrupted one";
    }
    EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Form1, NestTest, ::testing::ValuesIn(nestRows), RowName());

// ---------------------------------------------------------------------------------------------
// A drawing that fails is reported with the core's message; the controls and the picture stay
// as they were, the scale mode changes only once the set-up has passed, and the next drawing
// works.

struct ErrorRow {
    friend void PrintTo(const ErrorRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QString code;
    QString scale;
    bool pixelScale;  // whether the set-up passed
};

const ErrorRow errorRows[] = {
    {"letterAtPosition5", "300 x/1:3/1:3/1", "120", false},
    {"zeroDivisor", "300 0/1:3/1:3/1", "120", false},
    {"anglesFormNoTriangle", "300 3/1:3/1:3/1", "120", false},
    {"emptyCode", "", "120", false},
    {"scaleBeyondDoubles", "300 2/1:3/1:3/1", "1e999", false},
    {"emptyScale", "300 2/1:3/1:3/1", "", true},
    {"lettersForScale", "300 2/1:3/1:3/1", "abc", true},
    {"zeroScale", "300 2/1:3/1:3/1", "0", true},
    {"scaleTooSmall", "300 2/1:3/1:3/1", "1e-320", true},
};

class ErrorTest : public WindowTest, public ::testing::WithParamInterface<ErrorRow> {};

TEST_P(ErrorTest, ReportsAndLeavesEverythingAsItWas) {
    const ErrorRow& row = GetParam();
    typeCode(row.code);
    typeScale(row.scale);
    QTest::mouseClick(form.Option3, Qt::LeftButton);
    clickGo();

    DrawRequest request;
    request.triangleCode = row.code.toStdString();
    request.rotation = 2;
    std::string expected;
    try {
        request.scale = readScale(row.scale.toStdString());
        expected = coreFailure(request);
    } catch (const DrawError& e) {
        expected = e.what();
    }
    ASSERT_FALSE(expected.empty()) << "the core draws this request";
    EXPECT_EQ(errors, std::vector{expected});
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(showsBackground(*form.Picture1, form.Picture1->image().rect()));
    EXPECT_EQ(form.Picture1->scaleMode(),
              row.pixelScale ? PictureBox::pixelScaleMode : PictureBox::twipScaleMode);
    EXPECT_EQ(form.Combo1->currentText(), row.code);
    EXPECT_EQ(form.Text7->text(), row.scale);
    EXPECT_TRUE(form.Option3->isChecked());
    EXPECT_TRUE(form.Option4->isChecked());
    EXPECT_EQ(form.Combo1->count(), static_cast<int>(catalogue.size()));

    typeCode(QStringLiteral("300 2/1:3/1:3/1"));
    typeScale(QStringLiteral("120"));
    clickGo();
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_EQ(rows, wholeDrawing);
    request = {};
    request.rotation = 2;
    EXPECT_TRUE(sameRows(raster(), corePicture(request), 0, 480)) << "the next drawing";
}

INSTANTIATE_TEST_SUITE_P(Form1, ErrorTest, ::testing::ValuesIn(errorRows), RowName());

using FailureTest = WindowTest;

TEST_F(FailureTest, FailedDrawingKeepsThePictureDrawnBefore) {
    clickGo();
    typeScale(QString());
    clickGo();
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 480));
}

TEST_F(FailureTest, FailedNestedDrawingLetsTheInterruptedOneFinish) {
    duringYield(1, 100, [this] {
        typeCode(QStringLiteral("300 x/1:3/1:3/1"));
        clickGo();
    });
    clickGo();
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_EQ(rows, wholeDrawing);
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 480));
}

TEST_F(FailureTest, ProgramReportsInAMessageBoxTitledVantu) {
    form.setErrorReporter(showErrorBox);
    QString title;
    QString text;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    poll.start(10);
    QTimer::singleShot(10000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    typeScale(QStringLiteral("0"));
    clickGo();
    DrawRequest request;
    request.scale = 0;
    EXPECT_EQ(title, QStringLiteral("Vantu"));
    EXPECT_TRUE(text.contains(QString::fromStdString(coreFailure(request)))) << text.toStdString();
}

// ---------------------------------------------------------------------------------------------

using SizeTest = WindowTest;

TEST_F(SizeTest, SmallWindowStillGetsTheWholeRaster) {
    form.resize(320, 200);
    QApplication::processEvents();
    ASSERT_LT(form.width(), 649);
    clickGo();
    EXPECT_EQ(rows, wholeDrawing);
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 480));
    for (const QRect& area : areaOutsideRaster(*form.Picture1)) {
        EXPECT_TRUE(showsBackground(*form.Picture1, area));
    }
}

// ---------------------------------------------------------------------------------------------
// Closing the window during a drawing stops every drawing in progress at its next yield.

using CloseTest = WindowTest;

TEST_F(CloseTest, ClosingStopsTheDrawingAfterTheRow) {
    duringYield(1, 100, [this] { form.close(); });
    clickGo();
    EXPECT_EQ(rows, rowRange(0, 100));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 0, 100));
    EXPECT_TRUE(showsBackground(*form.Picture1, QRect(0, 101, 640, 380)));
    EXPECT_TRUE(errors.empty());
}

TEST_F(CloseTest, ClosingInANestedDrawingStopsBothAndAnyLater) {
    duringYield(1, 100, [this] {
        QTest::mouseClick(form.Option6, Qt::LeftButton);
        clickGo();
    });
    duringYield(2, 20, [this] { form.close(); });
    clickGo();
    EXPECT_EQ(rows, concat({rowRange(0, 100), rowRange(0, 20)}));
    DrawRequest ortho;
    ortho.projection = Projection::orthographic;
    EXPECT_TRUE(sameRows(raster(), corePicture(ortho), 0, 20));
    EXPECT_TRUE(sameRows(raster(), corePicture({}), 21, 100));
    EXPECT_TRUE(showsBackground(*form.Picture1, QRect(0, 101, 640, 380)));

    form.Command1_Click();
    EXPECT_EQ(rows.size(), 122U) << "a closed window draws nothing";
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace vantu::window_test
