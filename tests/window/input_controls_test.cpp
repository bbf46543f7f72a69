// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The inputs' group that both windows use: what it reads from its controls in each window's
// style, and R written back so that it reads as the same number.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <ostream>
#include <string>

#include <QLocale>
#include <QWidget>

#include "desktop/input_controls.h"
#include "setup/triangle_notation.h"
#include "tests/test_support.h"

namespace vantu::window_test {
namespace {

const QLocale german(QLocale::German, QLocale::Germany);

struct InputRow {
    friend void PrintTo(const InputRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    bool explorerStyle;  // the usual notation too, and R in the locale's numbers
    QString code;
    std::size_t rotation;
    Qt::CheckState reverse;
    QString scale;           // typed into R's box, whose locale is German
    std::size_t projection;  // 3: the Explorer's fourth button, "halfplane"
    // What the request reads.
    TriangleNotation notation;
    int expectedRotation;
    bool reversed;
    double expectedScale;
    Projection expectedProjection;
};

const InputRow inputRows[] = {
    {"form1Code", false, "300 2/1:3/1:3/1", 0, Qt::Unchecked, "120", 0, TriangleNotation::code, 0,
     false, 120.0, Projection::stereographic},
    {"form1TakesNotationAsACode", false, "2 3 3", 2, Qt::Checked, "60 px", 2,
     TriangleNotation::code, 2, true, 60.0, Projection::orthographic},
    {"form1CommaEndsR", false, "2 3 3", 1, Qt::PartiallyChecked, "12,5", 1, TriangleNotation::code,
     1, false, 12.0, Projection::gnomonic},
    {"explorerNotation", true, "2 3 3", 1, Qt::Checked, "12,5", 1, TriangleNotation::schwarz, 1,
     true, 12.5, Projection::gnomonic},
    {"explorerPointToo", true, "300 2/1:3/1:3/1", 0, Qt::Unchecked, "12.5", 2,
     TriangleNotation::code, 0, false, 12.5, Projection::orthographic},
    {"explorerHalfPlane", true, "2 3 7", 0, Qt::Unchecked, "120", 3, TriangleNotation::schwarz, 0,
     false, 120.0, Projection::halfplane},
};

class InputControlsTest : public ::testing::TestWithParam<InputRow> {
protected:
    // The Explorer's style with its fourth button.
    InputControls group(bool explorerStyle) {
        scale->setLocale(german);
        InputControls inputs{code,  rotation,   reverse,
                             scale, projection, {{}, {}, {}, explorerStyle, explorerStyle}};
        if (explorerStyle) {
            inputs.addHalfPlane(halfPlane);
        }
        return inputs;
    }

    // The rotation's buttons and the projection's each in a frame of their own, as in the windows.
    QWidget window;
    QWidget* rotations = new QWidget(&window);
    QWidget* projections = new QWidget(&window);
    QComboBox* code = new QComboBox(&window);
    std::array<QRadioButton*, 3> rotation{new QRadioButton(rotations), new QRadioButton(rotations),
                                          new QRadioButton(rotations)};
    QCheckBox* reverse = new QCheckBox(&window);
    QLineEdit* scale = new QLineEdit(&window);
    std::array<QRadioButton*, 3> projection{new QRadioButton(projections),
                                            new QRadioButton(projections),
                                            new QRadioButton(projections)};
    QRadioButton* halfPlane = new QRadioButton(projections);
};

TEST_P(InputControlsTest, ReadsTheRequestInTheWindowsStyle) {
    const InputRow& row = GetParam();
    const InputControls inputs = group(row.explorerStyle);
    code->setEditText(row.code);
    rotation[row.rotation]->setChecked(true);
    reverse->setCheckState(row.reverse);
    scale->setText(row.scale);
    (row.projection < 3 ? projection[row.projection] : halfPlane)->setChecked(true);
    const DrawRequest request = inputs.request();
    EXPECT_EQ(request.triangleCode, row.code.toStdString());
    EXPECT_EQ(request.notation, row.notation);
    EXPECT_EQ(request.rotation, row.expectedRotation);
    EXPECT_EQ(request.reverse, row.reversed);
    EXPECT_EQ(request.scale, row.expectedScale);
    EXPECT_EQ(request.projection, row.expectedProjection);
    EXPECT_EQ(inputs.choices().scale, DrawRequest{}.scale) << "choices leave R at its default";
}

INSTANTIATE_TEST_SUITE_P(InputControls, InputControlsTest, ::testing::ValuesIn(inputRows),
                         RowName());

// R shown in the Explorer's style is written with the locale's comma and reads back as the same
// double; in Form1's it is written as vantu-render writes it.
TEST_F(InputControlsTest, ShowsRSoThatItReadsBack) {
    for (const bool explorerStyle : {false, true}) {
        InputControls inputs = group(explorerStyle);
        inputs.show(DrawRequest{.scale = 0.1 + 0.2});
        EXPECT_EQ(scale->text(), explorerStyle ? "0,30000000000000004" : "0.30000000000000004");
        EXPECT_EQ(inputs.request().scale, 0.1 + 0.2) << explorerStyle;
    }
}

}  // namespace
}  // namespace vantu::window_test
