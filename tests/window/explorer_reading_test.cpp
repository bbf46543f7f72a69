// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Reading the Explorer's picture: each mark switched on paints its lines over the exact picture
// and its labels in their boxes, and switched off again leaves the plain picture; the facts of
// the triangle drawn; the legend of the 21 colours; the usual notation in the code box.

#include <gtest/gtest.h>

#include <QGridLayout>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "drawing/picture_overlay.h"
#include "drawing/prepared_picture.h"
#include "explorer/frame_marks.h"
#include "geometry/draw_error.h"
#include "render/colour_legend.h"
#include "setup/triangle_facts.h"
#include "setup/triangle_notation.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"
#include "tests/window/explorer_test_support.h"

namespace vantu::window_test {
namespace {

using testing_support::drawRequest;

using explorer::FrameLabel;
using explorer::LabelKind;

// The number of pixels in which two images of one size differ, leaving out those inside any of
// `boxes`.
int differingOutside(const QImage& a, const QImage& b, const std::vector<FrameLabel>& boxes) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int j = 0; j < x.height(); ++j) {
        for (int i = 0; i < x.width(); ++i) {
            bool boxed = false;
            for (const FrameLabel& label : boxes) {
                boxed = boxed || label.box.toRect().contains(i, j);
            }
            differing += !boxed && x.pixel(i, j) != y.pixel(i, j) ? 1 : 0;
        }
    }
    return differing;
}

// Each mark, its key, what it asks of the overlay and the labels it brings, for the start-up
// triangle (2 3 3), whose snub point 1 is the generating point, or for a triangle typed.
struct MarkRow {
    friend void PrintTo(const MarkRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QAction* ExplorerParts::*action;
    Qt::Key key;
    OverlayOptions overlays;
    std::vector<std::pair<LabelKind, QString>> labels;
    QString triangle;  // typed into the code box; the start-up triangle when empty
};

OverlayOptions only(bool OverlayOptions::*mark) {
    OverlayOptions options;
    options.*mark = true;
    return options;
}

const MarkRow markRows[] = {
    {"mirrors",
     &ExplorerParts::markMirrors,
     Qt::Key_M,
     only(&OverlayOptions::mirrors),
     {{LabelKind::mirror, "1"}, {LabelKind::mirror, "2"}, {LabelKind::mirror, "3"}},
     {}},
    {"group", &ExplorerParts::markGroup, Qt::Key_G, only(&OverlayOptions::groupMirrors), {}, {}},
    {"triangle",
     &ExplorerParts::markTriangle,
     Qt::Key_T,
     only(&OverlayOptions::triangle),
     {{LabelKind::vertex, QStringLiteral("A 90\u00b0")},
      {LabelKind::vertex, QStringLiteral("B 60\u00b0")},
      {LabelKind::vertex, QStringLiteral("C 60\u00b0")}},
     {}},
    {"snubPoints",
     &ExplorerParts::markSnubPoints,
     Qt::Key_S,
     only(&OverlayOptions::snubPoints),
     {{LabelKind::generatingPoint, "1"},
      {LabelKind::snubPoint, "2"},
      {LabelKind::snubPoint, "3"},
      {LabelKind::snubPoint, "4"}},
     {}},
    // (2 3 7) in the Poincaré disk: the marks as geodesics, the labels where the core puts them.
    {"hyperbolicMirrors",
     &ExplorerParts::markMirrors,
     Qt::Key_M,
     only(&OverlayOptions::mirrors),
     {{LabelKind::mirror, "1"}, {LabelKind::mirror, "2"}, {LabelKind::mirror, "3"}},
     QStringLiteral("2 3 7")},
    {"hyperbolicGroup",
     &ExplorerParts::markGroup,
     Qt::Key_G,
     only(&OverlayOptions::groupMirrors),
     {},
     QStringLiteral("2 3 7")},
    {"hyperbolicTriangle",
     &ExplorerParts::markTriangle,
     Qt::Key_T,
     only(&OverlayOptions::triangle),
     {{LabelKind::vertex, QStringLiteral("A 90\u00b0")},
      {LabelKind::vertex, QStringLiteral("B 60\u00b0")},
      {LabelKind::vertex, QStringLiteral("C 25.71\u00b0")}},
     QStringLiteral("2 3 7")},
    {"hyperbolicSnubPoints",
     &ExplorerParts::markSnubPoints,
     Qt::Key_S,
     only(&OverlayOptions::snubPoints),
     {{LabelKind::generatingPoint, "1"}},
     QStringLiteral("2 3 7")},
};

class ExplorerMarkTest : public ExplorerTest, public ::testing::WithParamInterface<MarkRow> {
protected:
    void SetUp() override {
        ExplorerTest::SetUp();
        explorer.resize(900, 600);
        ASSERT_TRUE(QTest::qWaitFor([&] { return explorer.size() == QSize(900, 600); }, 5000));
        // Small enough that the whole triangle and every snub point lie in the picture.
        partsOf(explorer).scale->setText(QStringLiteral("50"));
        QTest::keyClicks(partsOf(explorer).scale, QStringLiteral(" "));
        if (!GetParam().triangle.isEmpty()) {
            partsOf(explorer).code->setEditText(GetParam().triangle);
        }
        ASSERT_TRUE(waitCurrent());
    }
};

TEST_P(ExplorerMarkTest, KeySwitchesItsLinesAndLabelsOnAndOff) {
    const MarkRow& row = GetParam();
    QAction* const action = partsOf(explorer).*row.action;
    EXPECT_FALSE(action->isChecked());
    EXPECT_FALSE(action->toolTip().isEmpty());
    QTest::keyClick(partsOf(explorer).picture, row.key);
    EXPECT_TRUE(action->isChecked());
    ASSERT_TRUE(waitCurrent());
    const Frame& marked = *explorer.shown();
    const PictureDescription& d = marked.description;
    EXPECT_EQ(marked.overlays.mirrors, row.overlays.mirrors);
    EXPECT_EQ(marked.overlays.groupMirrors, row.overlays.groupMirrors);
    EXPECT_EQ(marked.overlays.triangle, row.overlays.triangle);
    EXPECT_EQ(marked.overlays.snubPoints, row.overlays.snubPoints);

    // Outside the labels, the core's picture with the overlay's lines, which mark many pixels.
    const QImage lined = corePicture(d, row.overlays);
    EXPECT_EQ(differingOutside(marked.image, lined, marked.labels), 0);
    EXPECT_GT(differingOutside(lined, corePicture(d), {}), 200) << "the lines are drawn";

    // The labels, in their boxes in the frame, each painted.
    ASSERT_EQ(marked.labels.size(), row.labels.size());
    const QRect frame = marked.image.rect();
    for (std::size_t i = 0; i < row.labels.size(); ++i) {
        const FrameLabel& label = marked.labels[i];
        EXPECT_EQ(label.kind, row.labels[i].first) << i;
        EXPECT_EQ(label.text, row.labels[i].second) << i;
        EXPECT_TRUE(frame.contains(label.box.toRect())) << i;
        const QImage inBox = marked.image.copy(label.box.toRect());
        EXPECT_NE(inBox, lined.copy(label.box.toRect())) << "label " << i << " is painted";
    }

    // Each label beside the core's anchor of what it names.
    const PreparedPicture core(d, row.overlays);
    const OverlayAnchors& anchors = core.overlay()->anchors;
    for (const FrameLabel& label : marked.labels) {
        const auto i = static_cast<std::size_t>(label.index);
        const std::optional<OutputPoint> at = label.kind == LabelKind::mirror ? anchors.mirrors[i]
                                              : label.kind == LabelKind::vertex
                                                  ? anchors.vertices[i]
                                                  : anchors.snubPoints[i];
        ASSERT_TRUE(at.has_value()) << label.text.toStdString();
        const QRectF& box = label.box;
        const double away = std::hypot(std::max({box.left() - at->x, 0.0, at->x - box.right()}),
                                       std::max({box.top() - at->y, 0.0, at->y - box.bottom()}));
        EXPECT_LE(away, 4.0 * box.height()) << label.text.toStdString();
    }

    // Off again: the plain picture.
    QTest::keyClick(partsOf(explorer).picture, row.key);
    EXPECT_FALSE(action->isChecked());
    ASSERT_TRUE(waitCurrent());
    EXPECT_FALSE(explorer.shown()->overlays.any());
    EXPECT_TRUE(explorer.shown()->labels.empty());
    expectShowsTheCorePicture();
}

INSTANTIATE_TEST_SUITE_P(Explorer, ExplorerMarkTest, ::testing::ValuesIn(markRows), RowName());

// ---------------------------------------------------------------------------------------------
// The facts, the legend and the usual notation.

struct FactsRow {
    friend void PrintTo(const FactsRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QString text;  // typed into the code box
    int rotation;
    bool reverse;
    std::string contains;  // a part of the facts
};

const FactsRow factsRows[] = {
    {"tetrahedral", QStringLiteral("300 2/1:3/1:3/1"), 0, false, "group: tetrahedral"},
    {"icosahedralInTheUsualNotation", QStringLiteral("5/2 3 3"), 1, true, "order: 120"},
    {"dihedral", QStringLiteral("2 2 5"), 0, false, "group: dihedral"},
    {"noFiniteGroup", QStringLiteral("2 3 8/3"), 0, false, "order: infinite"},
    {"octahedralCode", QStringLiteral("412 4/1:2/1:3/1"), 2, false, "group: octahedral"},
};

class ExplorerFactsTest : public ExplorerTest, public ::testing::WithParamInterface<FactsRow> {};

// The panel says what vantu-render --info says, for the triangle as the controls give it.
TEST_P(ExplorerFactsTest, ShowTheTrianglesFacts) {
    const FactsRow& row = GetParam();
    EXPECT_TRUE(partsOf(explorer).factsDock->isVisible()) << "shown at first";
    partsOf(explorer).code->setEditText(row.text);
    partsOf(explorer).rotation[static_cast<std::size_t>(row.rotation)]->setChecked(true);
    partsOf(explorer).reverse->setChecked(row.reverse);
    ASSERT_TRUE(waitCurrent());
    const std::string text = row.text.toStdString();
    const DrawRequest request =
        drawRequest(text, notationOf(text)).rotation(row.rotation).reverse(row.reverse);
    const std::string facts = factLines(triangleFacts(request));
    EXPECT_EQ(partsOf(explorer).facts->text().toStdString() + "\n", facts);
    EXPECT_NE(facts.find(row.contains), std::string::npos) << facts;
}

INSTANTIATE_TEST_SUITE_P(Explorer, ExplorerFactsTest, ::testing::ValuesIn(factsRows), RowName());

// A triangle with no facts: the panel says why, in the words of the fault.
TEST_F(ExplorerTest, FactsOfNoTriangleSayWhy) {
    for (const char* text : {"2 3", "1 3 3", "300 2/1:3/1:x/1"}) {
        partsOf(explorer).code->setEditText(QString::fromUtf8(text));
        ASSERT_TRUE(waitCurrent());
        try {
            (void)triangleFacts(drawRequest(text, notationOf(text)));
            ADD_FAILURE() << text << " has facts";
        } catch (const DrawError& e) {
            EXPECT_EQ(partsOf(explorer).facts->text().toStdString(), e.what()) << text;
        }
    }
    partsOf(explorer).code->setEditText(QStringLiteral("2 3 3"));
    ASSERT_TRUE(waitCurrent());
    EXPECT_TRUE(partsOf(explorer).facts->text().startsWith(QStringLiteral("triangle: (2 3 3)\n")));
}

// The legend: the 21 colours, a row per hue and a column per brightness, brightest first, each
// with its meaning in words.
TEST_F(ExplorerTest, LegendShowsEachColourWithItsMeaning) {
    EXPECT_FALSE(partsOf(explorer).legendDock->isVisible()) << "hidden at first";
    QTest::keyClick(&explorer, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(partsOf(explorer).legendDock->isVisible());
    const auto meanings = legend();
    const std::vector<QLabel*>& entries = partsOf(explorer).legend->entries();
    ASSERT_EQ(entries.size(), meanings.size());
    ASSERT_EQ(entries.size(), 21U);
    auto* grid = qobject_cast<QGridLayout*>(partsOf(explorer).legend->layout());
    ASSERT_NE(grid, nullptr);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ColourMeaning& m = meanings[i];
        const QString words = QString::fromStdString(meaningWords(m));
        EXPECT_EQ(entries[i]->accessibleName(), words) << i;
        EXPECT_EQ(entries[i]->toolTip(), words) << i;
        EXPECT_TRUE(entries[i]->text().contains(QString::fromStdString(std::string(m.name))));
        const QString swatch = QStringLiteral("#%1").arg(
            (redOf(m.colour) << 16) | (greenOf(m.colour) << 8) | blueOf(m.colour), 6, 16,
            QLatin1Char('0'));
        EXPECT_TRUE(entries[i]->text().contains(swatch)) << entries[i]->text().toStdString();
        int row = 0;
        int column = 0;
        int rows = 0;
        int columns = 0;
        grid->getItemPosition(grid->indexOf(entries[i]), &row, &column, &rows, &columns);
        EXPECT_EQ(row, 1 + static_cast<int>(i / 3)) << "a row per hue";
        EXPECT_EQ(column, 1 + static_cast<int>(i % 3)) << "brightest first";
        EXPECT_EQ(m.sideCount, 3 - static_cast<int>(i % 3));
    }
    EXPECT_EQ(meaningWords(meanings[0]),
              "red: the triangle; D1 (vertex A) smallest, D2 (vertex B) largest");
    // The words follow the triangle's geometry: no antipode in the planes, and back.
    for (const auto& [text, geometry] : {std::pair{QStringLiteral("2 3 7"), Geometry::hyperbolic},
                                         std::pair{QStringLiteral("2 3 5"), Geometry::spherical}}) {
        partsOf(explorer).code->setEditText(text);
        ASSERT_TRUE(waitCurrent());
        EXPECT_EQ(entries[1]->toolTip().toStdString(), meaningWords(legend(geometry)[1]));
        const auto* heading = qobject_cast<QLabel*>(grid->itemAtPosition(0, 2)->widget());
        EXPECT_EQ(heading->text().toStdString(), sideCountWords(2, geometry));
    }
    QTest::keyClick(&explorer, Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(partsOf(explorer).legendDock->isVisible());
}

// "2 3 3" in the code box draws bit for bit what "300 2/1:3/1:3/1" draws, and so does the same
// triangle rotated and reversed.
TEST_F(ExplorerTest, UsualNotationDrawsWhatItsCodeDraws) {
    for (const std::size_t rotation : {0U, 1U}) {
        partsOf(explorer).rotation[rotation]->setChecked(true);
        partsOf(explorer).reverse->setChecked(rotation == 1);
        partsOf(explorer).code->setEditText(QStringLiteral("300 2/1:3/1:3/1"));
        ASSERT_TRUE(waitCurrent());
        const Frame byCode = *explorer.shown();
        EXPECT_EQ(byCode.description.request.notation, TriangleNotation::code);
        partsOf(explorer).code->setEditText(QStringLiteral("2 3 3"));
        ASSERT_TRUE(waitCurrent());
        const Frame& byNotation = *explorer.shown();
        EXPECT_EQ(byNotation.description.request.notation, TriangleNotation::schwarz);
        EXPECT_EQ(partsOf(explorer).faultText->text(), QString());
        EXPECT_GT(byNotation.generation, byCode.generation);
        EXPECT_EQ(byNotation.description.size, byCode.description.size);
        EXPECT_EQ(byNotation.image, byCode.image) << "rotation " << rotation;
        expectShowsTheCorePicture();
    }
}

}  // namespace
}  // namespace vantu::window_test
