// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "window/form1.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include <QClipboard>
#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScopeGuard>

#include "desktop/qt_values.h"
#include "drawing/draw_procedure.h"
#include "setup/triangle_code.h"

namespace vantu {

namespace {

// The size of the window's client area.
constexpr int formWidth = 649;
constexpr int formHeight = 553;

// The key code both Enter keys give.
constexpr int enterKeyCode = 13;

// Windows-style key code of a key event: 13 for Return and keypad Enter, Qt's key otherwise.
int keyCodeOf(const QKeyEvent& event) {
    const int key = event.key();
    return key == Qt::Key_Return || key == Qt::Key_Enter ? enterKeyCode : key;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      Combo1(new QComboBox(this)),
      Command1(new QPushButton(QStringLiteral("Go!"), this)),
      Frame1(new QGroupBox(QStringLiteral("rotation"), this)),
      Option1(new QRadioButton(Frame1)),
      Option2(new QRadioButton(Frame1)),
      Option3(new QRadioButton(Frame1)),
      Label1(new QLabel(QStringLiteral("R"), this)),
      Text7(new QLineEdit(QStringLiteral("120"), this)),
      Check2(new QCheckBox(this)),
      Frame2(new QGroupBox(QStringLiteral("projection"), this)),
      Option4(new QRadioButton(Frame2)),
      Option5(new QRadioButton(Frame2)),
      Option6(new QRadioButton(Frame2)),
      Picture1(new PictureBox(this)),
      CopyPicture(new QAction(QStringLiteral("Copy Picture"), this)),
      SavePicture(new QAction(QStringLiteral("Save Picture As\u2026"), this)),
      ExplorePicture(new QAction(QStringLiteral("Explore\u2026"), this)),
      m_saveDialogs(platformSaveDialogs(SavedTypes::png)),
      m_inputs(
          Combo1, {Option1, Option2, Option3}, Check2, Text7, {Option4, Option5, Option6},
          {QStringLiteral("The triangle: a label, then three fractions p/q; each is a "
                          "corner angle of q/p of a half turn"),
           QStringLiteral("Triangle code"),
           QStringLiteral("R: the radius of the sphere, in pixels; Enter draws the picture")}) {
    setWindowTitle(QStringLiteral("Vantu"));
    resize(formWidth, formHeight);
    // A small face, like the classic 8-point dialog font, so that every caption fits its box.
    QFont face = font();
    face.setPixelSize(11);
    setFont(face);

    // Each control's name and place in pixels, from the top-left of the client area or, for the
    // option buttons, of their frame. There is no layout: nothing moves when the window is
    // resized.
    const struct {
        QWidget* control;
        const char* name;
        QRect geometry;
    } places[] = {
        {Combo1, "Combo1", {16, 8, 177, 20}},    {Command1, "Command1", {16, 32, 177, 25}},
        {Frame1, "Frame1", {208, 8, 129, 49}},   {Option1, "Option1", {8, 16, 33, 25}},
        {Option2, "Option2", {48, 16, 33, 25}},  {Option3, "Option3", {88, 16, 33, 25}},
        {Label1, "Label1", {352, 16, 17, 17}},   {Text7, "Text7", {376, 8, 33, 26}},
        {Check2, "Check2", {344, 32, 73, 25}},   {Frame2, "Frame2", {432, 8, 201, 49}},
        {Option4, "Option4", {8, 16, 57, 25}},   {Option5, "Option5", {72, 16, 57, 25}},
        {Option6, "Option6", {136, 16, 57, 25}}, {Picture1, "Picture1", {0, 64, 649, 489}},
    };
    setObjectName(QStringLiteral("Form1"));
    for (const auto& place : places) {
        place.control->setObjectName(QString::fromLatin1(place.name));
        place.control->setGeometry(place.geometry);
    }
    // Every control has a tooltip and a name for screen readers; the inputs' come from their group.
    describe(Command1, QStringLiteral("Draw the picture"), QStringLiteral("Go!"));
    describe(Frame1, InputControls::rotationToolTip, QStringLiteral("Rotation"));
    describe(Label1, QStringLiteral("R: the radius of the sphere, in pixels"), QStringLiteral("R"));
    describe(Frame2, InputControls::projectionsToolTip, QStringLiteral("Projection"));
    describe(Picture1, QStringLiteral("The picture; right-click to copy or save it"),
             QStringLiteral("Picture"));

    // Enter starts a drawing only in Text7, never through a default button.
    Command1->setAutoDefault(false);
    Command1->setDefault(false);

    // A little less room between indicator and caption than the style gives, so that "gnome"
    // fits its 57 pixels.
    for (QGroupBox* frame : {Frame1, Frame2}) {
        frame->setStyleSheet(QStringLiteral("QRadioButton { spacing: 4px; }"));
    }

    Option1->setChecked(true);
    Option4->setChecked(true);
    Check2->setTristate(false);
    Check2->setCheckState(Qt::Unchecked);

    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The Tab key's round: the picture first, then the tab index order of the controls that
    // take the focus.
    QWidget* const tabOrder[] = {Picture1, Command1, Text7,   Combo1,  Option1, Option2,
                                 Option3,  Check2,   Option4, Option5, Option6};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    // The picture has the first tab index, so it has the focus when the window opens.
    Picture1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    Text7->installEventFilter(this);
    Command1->installEventFilter(this);
    Combo1->installEventFilter(this);

    CopyPicture->setShortcut(QKeySequence::Copy);
    SavePicture->setShortcut(QKeySequence::Save);
    addAction(CopyPicture);
    addAction(SavePicture);
    connect(CopyPicture, &QAction::triggered, this, &Form1::copyPicture);
    connect(SavePicture, &QAction::triggered, this, &Form1::savePictureAs);
    ExplorePicture->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ExplorePicture->setToolTip(QStringLiteral(
        "Open these inputs in the Explorer, where the sphere turns under the mouse"));
    ExplorePicture->setEnabled(false);
    addAction(ExplorePicture);
    connect(ExplorePicture, &QAction::triggered, this, &Form1::explore);
    Picture1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Picture1, &QWidget::customContextMenuRequested, this, &Form1::showPictureMenu);
    connect(Picture1, &PictureBox::drawingStarted, this, [this] { m_shown = m_starting; });

    Form_Load();
}

void Form1::Form_Load() {
    m_inputs.fillCatalogue(qText(catalogue.front()));
}

void Form1::Command1_Click() noexcept {
    if (Picture1->drawingsStopped() || m_drawingsInProgress >= maxNestedDrawings) {
        return;
    }
    ++m_drawingsInProgress;
    const auto done = qScopeGuard([this] { --m_drawingsInProgress; });
    reportingFailures([this] {
        const DrawRequest request = m_inputs.request();
        m_starting = request;
        // The screen's ratio now: a window moved to another screen draws at that one's.
        const Sampling sampling{Picture1->devicePixelRatioF()};
        try {
            if (sampling.ratio == 1.0 || !isSupported(sampling)) {
                runDrawing(request, *Picture1);
            } else {
                PictureBox::DeviceDrawing target(*Picture1, sampling.ratio);
                runDrawing(PictureDescription{request, {}, {}, sampling}, target);
            }
        } catch (const DrawingStopped&) {
            // The window was closed during a yield: this drawing ends here, quietly.
        }
    });
}

void Form1::reportingFailures(const std::function<void()>& step) noexcept {
    try {
        step();
    } catch (...) {
        report(failureSentence());
    }
}

void Form1::setExploreHandler(ExploreHandler handler) {
    m_explore = std::move(handler);
    ExplorePicture->setEnabled(static_cast<bool>(m_explore));
}

void Form1::explore() noexcept {
    if (!m_explore) {
        return;
    }
    reportingFailures([this] { m_explore(m_inputs.request()); });
}

void Form1::reportNoMemory(const QString& failure) {
    if (m_reportPictureError) {
        m_reportPictureError(this, failure, notEnoughMemory());
    }
}

void Form1::copyPicture() noexcept {
    try {
        const QImage picture = Picture1->picture();
        if (picture.isNull()) {
            reportNoMemory(QStringLiteral("The picture could not be copied."));
            return;
        }
        QGuiApplication::clipboard()->setImage(picture);
    } catch (...) {
        // The clipboard keeps what it held.
    }
}

void Form1::savePictureAs() noexcept {
    try {
        // What the picture box shows now, before a drawing goes on during the dialog.
        const QImage picture = Picture1->picture();
        // Qt cannot paint a window it has no memory for, and crashes trying: the dialog needs
        // about as much as this window does; twice that, to be safe.
        const QSize window = size() * devicePixelRatioF();
        if (picture.isNull() ||
            !PictureBox::roomForImage(QSize(window.width(), 2 * window.height()))) {
            reportNoMemory(QStringLiteral("The picture could not be saved."));
            return;
        }
        const QString name = qText(pictureFileName(m_shown.value_or(m_inputs.choices())));
        vantu::savePictureAs(this, picture, name, m_saveDialogs, SavedTypes::png);
    } catch (...) {
        // Nothing is left to tell the user with; the window goes on as it is.
    }
}

void Form1::showPictureMenu(const QPoint& position) {
    auto* menu = new QMenu(Picture1);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(CopyPicture);
    menu->addAction(SavePicture);
    menu->addAction(ExplorePicture);
    menu->popup(Picture1->mapToGlobal(position));
}

void Form1::Text7_KeyDown(int keyCode, Qt::KeyboardModifiers /*shift*/) {
    if (keyCode == enterKeyCode) {
        Command1_Click();
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    Picture1->stopDrawings();
    QWidget::closeEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text7 && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        Text7_KeyDown(keyCodeOf(key), key.modifiers());
    }
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<const QKeyEvent&>(*event).matches(QKeySequence::Copy)) {
        const QLineEdit* field = watched == Text7    ? Text7
                                 : watched == Combo1 ? Combo1->lineEdit()
                                                     : nullptr;
        if (field != nullptr && !field->hasSelectedText()) {
            // Nothing for the field to copy: the key goes on to "Copy Picture".
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride && (watched == Text7 || watched == Combo1) &&
        QKeySequence(static_cast<const QKeyEvent&>(*event).keyCombination()) ==
            ExplorePicture->shortcut()) {
        // A text field would take Ctrl+E as the end of the line: it goes on to "Explore...".
        event->ignore();
        return true;
    }
    if (watched == Command1 && event->type() == QEvent::KeyPress &&
        keyCodeOf(static_cast<const QKeyEvent&>(*event)) == enterKeyCode) {
        // As Space does; "Go!" is still not the default button, so Enter elsewhere does not.
        Command1->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::report(const QString& message) noexcept {
    try {
        if (m_reportError && !Picture1->drawingsStopped()) {
            m_reportError(this, message);
        }
    } catch (...) {
        // Nothing is left to tell the user with; the window goes on as it is.
    }
}

}  // namespace vantu
