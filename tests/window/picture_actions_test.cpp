// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The picture's actions as the user meets them: "Copy Picture" and "Save Picture As..." from the
// keyboard and from the picture's context menu, on the picture as shown, during a drawing too.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "tests/test_support.h"
#include "tests/window/window_test_support.h"

namespace vantu::window_test {
namespace {

class PictureActionsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        answer = folder.filePath(QStringLiteral("picture.png"));
        form.setSaveDialogs({[this](QWidget*, const QString& proposed) {
                                 proposals.push_back(proposed);
                                 return answer;
                             },
                             [this](QWidget*, const QString& path, const QString& reason) {
                                 failures.push_back(path + QStringLiteral(": ") + reason);
                             }});
    }

    // The image saved to `answer`, at the picture's device pixel ratio.
    [[nodiscard]] QImage saved() const {
        QImage image(answer);
        image.setDevicePixelRatio(form.Picture1->devicePixelRatioF());
        return image;
    }

    [[nodiscard]] static QImage clipboardImage() { return QGuiApplication::clipboard()->image(); }

    // Whether the clipboard gives back a text put on it.
    [[nodiscard]] static bool clipboardHoldsText() {
        const QString probe = QStringLiteral("vantu clipboard probe");
        QGuiApplication::clipboard()->setText(probe);
        return QGuiApplication::clipboard()->text() == probe;
    }

    QTemporaryDir folder;
    QString answer;         // what the file dialog answers
    QStringList proposals;  // what the file dialog proposed, in order
    QStringList failures;   // "PATH: REASON" for every save that failed
};

// The ways a user reaches the two actions; each takes the picture as shown at that moment.
struct WayRow {
    friend void PrintTo(const WayRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    std::function<void(Form1&)> copy;
    std::function<void(Form1&)> save;
};

// Opens the picture's context menu as `reason` does and clicks its entry `index`.
void chooseFromMenu(Form1& form, QContextMenuEvent::Reason reason, int index) {
    // The platform turns a right click or the Menu key into this event for the widget under the
    // mouse or with the focus, which a click gives the picture.
    if (reason == QContextMenuEvent::Keyboard) {
        QTest::mouseClick(form.Picture1, Qt::LeftButton);
    }
    QWidget* target =
        reason == QContextMenuEvent::Keyboard ? QApplication::focusWidget() : form.Picture1;
    ASSERT_EQ(target, form.Picture1);
    const QPoint at(100, 100);
    QContextMenuEvent event(reason, at, form.Picture1->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no context menu";
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Copy Picture"));
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("Save Picture As\u2026"));
    EXPECT_EQ(menu->actions()[2]->text(), QStringLiteral("Explore\u2026"));
    QAction* action = menu->actions()[index];
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

const WayRow wayRows[] = {
    {"shortcuts", [](Form1& f) { QTest::keyClick(&f, Qt::Key_C, Qt::ControlModifier); },
     [](Form1& f) { QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier); }},
    {"rightClick", [](Form1& f) { chooseFromMenu(f, QContextMenuEvent::Mouse, 0); },
     [](Form1& f) { chooseFromMenu(f, QContextMenuEvent::Mouse, 1); }},
    {"menuKey", [](Form1& f) { chooseFromMenu(f, QContextMenuEvent::Keyboard, 0); },
     [](Form1& f) { chooseFromMenu(f, QContextMenuEvent::Keyboard, 1); }},
};

class PictureWayTest : public PictureActionsTest, public ::testing::WithParamInterface<WayRow> {};

TEST_P(PictureWayTest, CopyAndSaveDuringADrawingTakeWhatIsDrawnSoFar) {
    const bool clipboard = clipboardHoldsText();
    QImage shown;
    duringYield(1, 100, [&] {
        shown = raster();
        GetParam().copy(form);
        GetParam().save(form);
    });
    clickGo();
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(pictureHeight)) << "the drawing finished";
    EXPECT_TRUE(sameRows(shown, corePicture({}), 0, 100));
    EXPECT_TRUE(sameRows(saved(), shown, 0, pictureHeight - 1));
    EXPECT_FALSE(sameRows(saved(), raster(), 101, pictureHeight - 1)) << "rows not yet drawn";
    if (!clipboard) {
        GTEST_SKIP() << "saved; the platform has no clipboard here (a compositor without a seat)";
    }
    EXPECT_TRUE(sameRows(clipboardImage(), shown, 0, pictureHeight - 1));
}

INSTANTIATE_TEST_SUITE_P(Form1, PictureWayTest, ::testing::ValuesIn(wayRows), RowName());

// Ctrl+C in a text field copies its selected text, and the picture when none is selected.
struct FieldCopyRow {
    friend void PrintTo(const FieldCopyRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QLineEdit* (*field)(const Form1&);
    bool selected;
};

const FieldCopyRow fieldCopyRows[] = {
    {"scale", [](const Form1& f) { return f.Text7; }, false},
    {"scaleSelected", [](const Form1& f) { return f.Text7; }, true},
    {"code", [](const Form1& f) { return f.Combo1->lineEdit(); }, false},
    {"codeSelected", [](const Form1& f) { return f.Combo1->lineEdit(); }, true},
};

class FieldCopyTest : public PictureActionsTest,
                      public ::testing::WithParamInterface<FieldCopyRow> {};

TEST_P(FieldCopyTest, CtrlCCopiesTheSelectedTextElseThePicture) {
    if (!clipboardHoldsText()) {
        GTEST_SKIP() << "the platform has no clipboard here (a compositor without a seat)";
    }
    // Drawn with Enter in the R box, which keeps the focus.
    QTest::mouseClick(form.Text7, Qt::LeftButton);
    QTest::keyClick(form.Text7, Qt::Key_Return);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(pictureHeight));
    QLineEdit* field = GetParam().field(form);
    QTest::mouseClick(field, Qt::LeftButton);
    if (GetParam().selected) {
        field->selectAll();
    }
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    if (GetParam().selected) {
        EXPECT_EQ(QGuiApplication::clipboard()->text(), field->text());
        EXPECT_TRUE(clipboardImage().isNull());
    } else {
        EXPECT_TRUE(sameRows(clipboardImage(), corePicture({}), 0, pictureHeight - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Form1, FieldCopyTest, ::testing::ValuesIn(fieldCopyRows), RowName());

// The proposed name is that of the picture shown: the last drawing that passed its set-up.
TEST_F(PictureActionsTest, ProposesTheNameOfThePictureShown) {
    QTest::mouseClick(form.Option2, Qt::LeftButton);
    QTest::mouseClick(form.Check2, Qt::LeftButton);
    QTest::mouseClick(form.Option6, Qt::LeftButton);
    clickGo();
    form.savePictureAs();
    typeCode(QStringLiteral("412 x/1"));  // a set-up that fails leaves the picture as it was
    clickGo();
    form.savePictureAs();
    ASSERT_EQ(proposals.size(), 2);
    for (const QString& proposal : proposals) {
        EXPECT_EQ(QFileInfo(proposal).fileName(), QStringLiteral("300-r1-rev-ortho.png"));
    }
}

// A save that cannot be written says why, and leaves what was there; a cancelled one does
// nothing.
struct SaveFailureRow {
    friend void PrintTo(const SaveFailureRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    QString file;    // relative to the test's folder; "" for a cancelled dialog
    QString reason;  // the system's words, "@" for the file's path; "" when nothing fails
    rlim_t fileSizeLimit = RLIM_INFINITY;  // ulimit -f while saving, in bytes
};

const SaveFailureRow saveFailureRows[] = {
    {"cancelled", "", ""},
    {"missingFolder", "missing/picture.png", "No such file or directory"},
    {"aFolder", "folder", "Is a directory"},
    // The picture takes more than 4096 bytes.
    {"beyondTheFileSizeLimit", "old.png", "File too large", 4096},
    // The window never waits for a reader that may never come.
    {"fifoWithoutAReader", "fifo.png", "nothing is reading from '@'"},
};

class SaveFailureTest : public PictureActionsTest,
                        public ::testing::WithParamInterface<SaveFailureRow> {};

TEST_P(SaveFailureTest, TellsWhyAndLeavesWhatWasThere) {
    const QDir files(folder.path());
    ASSERT_TRUE(files.mkdir(QStringLiteral("folder")));
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(files.filePath(QStringLiteral("fifo.png"))).constData(), 0600),
        0);
    QFile old(files.filePath(QStringLiteral("old.png")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    answer = GetParam().file.isEmpty() ? QString() : folder.filePath(GetParam().file);
    clickGo();
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit before = limit;
    limit.rlim_cur = std::min(GetParam().fileSizeLimit, limit.rlim_max);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    form.savePictureAs();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &before), 0);
    const bool fails = !GetParam().reason.isEmpty();
    ASSERT_EQ(failures.size(), fails ? 1 : 0);
    if (fails) {
        EXPECT_EQ(failures[0], answer + QStringLiteral(": ") +
                                   QString(GetParam().reason).replace(QLatin1Char('@'), answer));
    }
    EXPECT_EQ(files.entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("old.png")})
        << "a file was left behind";
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Form1, SaveFailureTest, ::testing::ValuesIn(saveFailureRows), RowName());

}  // namespace
}  // namespace vantu::window_test
