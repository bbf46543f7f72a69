// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// window/: the Qt window, which reads its controls into a DrawRequest and shows the drawing;
// it sits on top of the core and holds no drawing logic of its own.

#include <functional>
#include <optional>
#include <utility>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "desktop/error_reporter.h"
#include "desktop/input_controls.h"
#include "desktop/picture_file.h"
#include "window/picture_box.h"

namespace vantu {

// The program's one window, "Vantu": a band of controls that set up a drawing above the
// picture box that shows it. The controls sit at fixed pixel positions and keep them when the
// window is resized. Three handlers run the program's own logic: loading the window
// (Form_Load), a click of "Go!" (Command1_Click) and a key pressed in the scale box
// (Text7_KeyDown); closing the window stops the drawings in progress, and the picture box
// repaints what the drawings painted into it.
class Form1 : public QWidget {
    Q_OBJECT

public:
    // Creates the window with its controls and loads it (Form_Load); it is not shown yet.
    explicit Form1(QWidget* parent = nullptr);

    // Draws the picture the controls describe into Picture1, row by row, yielding to the
    // window's events after each row. On a screen with a device pixel ratio other than 1 (read
    // from Picture1 as the drawing starts) every device pixel gets a sample of its own, and the
    // drawing still yields once per window row. Reads every control before the first row; a click
    // of "Go!" or Enter in Text7 handled during a yield runs a whole nested drawing. A drawing that
    // fails is reported to the user through the error reporter and leaves the controls and what was
    // drawn as they are. Returns at once, drawing nothing, once the window has been closed. Never
    // throws.
    void Command1_Click() noexcept;

    // How deep drawings may nest. A start handled while this many drawings are in progress is
    // ignored, so that holding Enter down while drawings pile up never exhausts the stack.
    static constexpr int maxNestedDrawings = 48;

    // Drawings in progress, interrupted ones included.
    [[nodiscard]] int drawingsInProgress() const noexcept { return m_drawingsInProgress; }

    // Replaces the reporter that shows a failed drawing's message (showErrorBox at first).
    void setErrorReporter(ErrorReporter reporter) { m_reportError = std::move(reporter); }

    // Replaces the dialogs of "Save Picture As..." (the platform's file dialog and
    // showSaveErrorBox at first).
    void setSaveDialogs(SaveDialogs dialogs) { m_saveDialogs = std::move(dialogs); }

    // Replaces the reporter that tells why "Copy Picture" or "Save Picture As..." cannot take
    // the picture (showPictureErrorBox at first).
    void setPictureErrorReporter(PictureErrorReporter reporter) {
        m_reportPictureError = std::move(reporter);
    }

    // Puts the picture as shown (Picture1's raster at its device pixel ratio) on the clipboard as
    // an image. Without memory for the picture it says so and leaves the clipboard as it is.
    // Never throws.
    void copyPicture() noexcept;

    // Opens the picture the controls describe somewhere else: told the drawing's five inputs.
    using ExploreHandler = std::function<void(const DrawRequest& request)>;

    // Sets what "Explore..." does; without one (at first) the action is disabled.
    void setExploreHandler(ExploreHandler handler);

    // Reads the controls as "Go!" does and hands the request to the explore handler, drawing
    // nothing here. A scale that cannot be read is reported as "Go!" reports it, and nothing
    // opens. Never throws.
    void explore() noexcept;

    // Takes the picture as shown, asks for a file name, proposing one made from the code, the
    // rotation, "reverse" and the projection of the last drawing that passed its set-up (of the
    // controls before the first), and writes it there as a PNG. Tells the user when it cannot;
    // without memory for the picture or the dialog's window, before any dialog. Never throws.
    void savePictureAs() noexcept;

    // The controls, in the order of the window's layout; the window owns them.
    QComboBox* const Combo1;      // the triangle code: a catalogue entry or typed text
    QPushButton* const Command1;  // "Go!"
    QGroupBox* const Frame1;      // "rotation"
    QRadioButton* const Option1;  // rotation "0"
    QRadioButton* const Option2;  // rotation "1"
    QRadioButton* const Option3;  // rotation "2"
    QLabel* const Label1;         // "R"
    QLineEdit* const Text7;       // the scale R
    QCheckBox* const Check2;      // "reverse"
    QGroupBox* const Frame2;      // "projection"
    QRadioButton* const Option4;  // "stereo"
    QRadioButton* const Option5;  // "gnome"
    QRadioButton* const Option6;  // "ortho"
    PictureBox* const Picture1;   // the picture

    // The picture's actions: in its context menu (right click or the Menu key) and, while the
    // window is active, on Ctrl+C and Ctrl+S. In a text field Ctrl+C copies the field's selected
    // text, and the picture when none is selected.
    QAction* const CopyPicture;  // "Copy Picture"
    QAction* const SavePicture;  // "Save Picture As..."
    // "Explore...", in the picture's context menu and on Ctrl+E: the same inputs in the Explorer.
    QAction* const ExplorePicture;

protected:
    // Closing the window stops the drawings in progress at their next yield.
    void closeEvent(QCloseEvent* event) override;

    // Hands every key pressed in Text7 to Text7_KeyDown before Text7 itself handles it, clicks
    // "Go!" on Enter while it has the focus, gives Ctrl+C to "Copy Picture" in a text field
    // with no text selected, and Ctrl+E to "Explore..." in a text field.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills Combo1 with the catalogue and shows its first code, with no entry selected.
    void Form_Load();

    // Starts a drawing when the key is Enter (key code 13), whatever the shift state.
    void Text7_KeyDown(int keyCode, Qt::KeyboardModifiers shift);

    // Runs `step`, reporting what it throws as a failed drawing is reported.
    void reportingFailures(const std::function<void()>& step) noexcept;

    // Shows `message` through the reporter; a reporter that fails is ignored.
    void report(const QString& message) noexcept;

    // Tells the user, with `failure`, that there is no memory for it.
    void reportNoMemory(const QString& failure);

    // Opens the picture's context menu at `position` in Picture1.
    void showPictureMenu(const QPoint& position);

    ErrorReporter m_reportError = showErrorBox;
    ExploreHandler m_explore;
    SaveDialogs m_saveDialogs;
    PictureErrorReporter m_reportPictureError = showPictureErrorBox;
    InputControls m_inputs;              // Combo1, the options, Check2 and Text7 as one group
    DrawRequest m_starting;              // the request of the drawing being set up
    std::optional<DrawRequest> m_shown;  // the last one that passed its set-up
    int m_drawingsInProgress = 0;
};

}  // namespace vantu
