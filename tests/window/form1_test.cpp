// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The window as it opens: its controls, their places and captions, the list of codes, the
// start state and the Tab key's round.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "setup/triangle_code.h"
#include "tests/test_support.h"
#include "tests/window/window_test_support.h"

namespace vantu::window_test {
namespace {

// The caption a user reads on a control, or its text for the text fields.
QString captionOf(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
        return frame->title();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* field = qobject_cast<const QLineEdit*>(control)) {
        return field->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentText();
    }
    return {};
}

// The part of an option button or check box that its caption may take, beside the indicator.
QRect captionRoomOf(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool radio = qobject_cast<const QRadioButton*>(&button) != nullptr;
    return button.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &button);
}

struct ControlRow {
    friend void PrintTo(const ControlRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QWidget* (*control)(const Form1&);
    std::string container;
    QRect geometry;
    QString caption;
    std::optional<bool> selected;  // for option buttons and the check box
};

#define CONTROL(member) +[](const Form1& f) -> QWidget* { return f.member; }

const ControlRow controlRows[] = {
    {"Combo1", CONTROL(Combo1), "Form1", {16, 8, 177, 20}, "300 2/1:3/1:3/1", {}},
    {"Command1", CONTROL(Command1), "Form1", {16, 32, 177, 25}, "Go!", {}},
    {"Frame1", CONTROL(Frame1), "Form1", {208, 8, 129, 49}, "rotation", {}},
    {"Option1", CONTROL(Option1), "Frame1", {8, 16, 33, 25}, "0", true},
    {"Option2", CONTROL(Option2), "Frame1", {48, 16, 33, 25}, "1", false},
    {"Option3", CONTROL(Option3), "Frame1", {88, 16, 33, 25}, "2", false},
    {"Label1", CONTROL(Label1), "Form1", {352, 16, 17, 17}, "R", {}},
    {"Text7", CONTROL(Text7), "Form1", {376, 8, 33, 26}, "120", {}},
    {"Check2", CONTROL(Check2), "Form1", {344, 32, 73, 25}, "reverse", false},
    {"Frame2", CONTROL(Frame2), "Form1", {432, 8, 201, 49}, "projection", {}},
    {"Option4", CONTROL(Option4), "Frame2", {8, 16, 57, 25}, "stereo", true},
    {"Option5", CONTROL(Option5), "Frame2", {72, 16, 57, 25}, "gnome", false},
    {"Option6", CONTROL(Option6), "Frame2", {136, 16, 57, 25}, "ortho", false},
    {"Picture1", CONTROL(Picture1), "Form1", {0, 64, 649, 489}, "", {}},
};

#undef CONTROL

class ControlTest : public WindowTest, public ::testing::WithParamInterface<ControlRow> {};

TEST_P(ControlTest, OpensInPlaceWithItsCaptionAndState) {
    const ControlRow& row = GetParam();
    QWidget* control = row.control(form);
    EXPECT_EQ(control->objectName().toStdString(), row.name);
    ASSERT_NE(control->parentWidget(), nullptr);
    EXPECT_EQ(control->parentWidget()->objectName().toStdString(), row.container);
    EXPECT_EQ(control->geometry(), row.geometry);
    EXPECT_EQ(captionOf(control), row.caption);
    EXPECT_TRUE(control->isVisible());
    if (row.selected.has_value()) {
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->isChecked(), *row.selected);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()),
                  captionRoomOf(*button).width())
            << "caption clipped";
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
        EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()), row.geometry.width());
    }
}

TEST_P(ControlTest, StaysInPlaceWhenTheWindowIsResized) {
    const ControlRow& row = GetParam();
    for (const QSize size : {QSize(300, 200), QSize(1000, 800), QSize(649, 553)}) {
        form.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(row.control(form)->geometry(), row.geometry)
            << "window " << size.width() << " x " << size.height();
    }
}

INSTANTIATE_TEST_SUITE_P(Form1, ControlTest, ::testing::ValuesIn(controlRows), RowName());

using StartTest = WindowTest;

TEST_F(StartTest, WindowIsVantuWithItsClientAreaAndNoMenu) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vantu"));
    EXPECT_EQ(form.size(), QSize(649, 553));
    EXPECT_TRUE(form.findChildren<QMenuBar*>().isEmpty());
    EXPECT_NE(form.minimumSize(), form.maximumSize()) << "the window can be resized";
    EXPECT_EQ(form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size() +
                  form.Frame1->findChildren<QWidget*>().size() +
                  form.Frame2->findChildren<QWidget*>().size(),
              14);
}

TEST_F(StartTest, PictureIsEmptyAndInTwips) {
    EXPECT_GE(form.Picture1->image().width(), pictureWidth);
    EXPECT_GE(form.Picture1->image().height(), pictureHeight);
    EXPECT_TRUE(showsBackground(*form.Picture1, form.Picture1->image().rect()));
    EXPECT_EQ(form.Picture1->scaleMode(), PictureBox::twipScaleMode);
    EXPECT_TRUE(rows.empty()) << "nothing is drawn at start-up";
}

TEST_F(StartTest, GoIsNoDefaultButton) {
    EXPECT_FALSE(form.Command1->isDefault());
    EXPECT_FALSE(form.Command1->autoDefault());
}

// What a screen reader calls each control, through Qt's accessibility interface; each control
// also explains itself in a tooltip.
TEST_F(StartTest, ScreenReadersNameEveryControlAndEachHasATooltip) {
    const std::pair<const char*, const char*> spoken[] = {
        {"Combo1", "Triangle code"},
        {"Command1", "Go!"},
        {"Frame1", "Rotation"},
        {"Option1", "Rotation 0"},
        {"Option2", "Rotation 1"},
        {"Option3", "Rotation 2"},
        {"Label1", "R"},
        {"Text7", "Scale R in pixels"},
        {"Check2", "Reverse"},
        {"Frame2", "Projection"},
        {"Option4", "Stereographic"},
        {"Option5", "Gnomonic"},
        {"Option6", "Orthographic"},
        {"Picture1", "Picture"},
    };
    for (const auto& [name, expected] : spoken) {
        auto* control = form.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        // The code's field is what takes the focus and is read out.
        auto* combo = qobject_cast<QComboBox*>(control);
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(combo ? combo->lineEdit() : control);
        ASSERT_NE(accessible, nullptr) << name;
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(expected)) << name;
        EXPECT_FALSE(control->toolTip().isEmpty()) << name;
    }
}

TEST_F(StartTest, ComboHoldsTheCatalogueWithNoEntrySelected) {
    ASSERT_EQ(form.Combo1->count(), static_cast<int>(catalogue.size()));
    for (int i = 0; i < form.Combo1->count(); ++i) {
        EXPECT_EQ(form.Combo1->itemText(i).toStdString(), catalogue[static_cast<std::size_t>(i)])
            << "entry " << i;
    }
    EXPECT_EQ(form.Combo1->currentIndex(), -1);
    EXPECT_EQ(form.Combo1->currentText(), QStringLiteral("300 2/1:3/1:3/1"));
    EXPECT_TRUE(form.Combo1->isEditable());
    EXPECT_EQ(form.Combo1->insertPolicy(), QComboBox::NoInsert);
}

TEST_F(StartTest, TabVisitsThePictureFirstThenTheTabIndexOrder) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    std::vector<std::string> round{QApplication::focusWidget()->objectName().toStdString()};
    for (int step = 0; step < 20; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const std::string name = QApplication::focusWidget()->objectName().toStdString();
        if (name == round.front()) {
            break;
        }
        round.push_back(name);
    }
    const std::vector<std::string> expected{"Picture1", "Command1", "Text7",  "Combo1",
                                            "Option1",  "Check2",   "Option4"};
    EXPECT_EQ(round, expected);
}

// Each frame is a group of its own: exactly one option of each stays selected.
TEST_F(StartTest, EachFrameKeepsOneOptionSelected) {
    QTest::mouseClick(form.Option3, Qt::LeftButton);
    QTest::mouseClick(form.Option6, Qt::LeftButton);
    EXPECT_FALSE(form.Option1->isChecked());
    EXPECT_FALSE(form.Option2->isChecked());
    EXPECT_TRUE(form.Option3->isChecked());
    EXPECT_FALSE(form.Option4->isChecked());
    EXPECT_FALSE(form.Option5->isChecked());
    EXPECT_TRUE(form.Option6->isChecked());
}

TEST_F(StartTest, ReverseHasTwoStates) {
    std::vector<Qt::CheckState> states;
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(form.Check2, Qt::LeftButton);
        states.push_back(form.Check2->checkState());
    }
    EXPECT_EQ(states, (std::vector{Qt::Checked, Qt::Unchecked, Qt::Checked}));
}

}  // namespace
}  // namespace vantu::window_test
