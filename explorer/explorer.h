// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include <QAction>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QPointF>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include "desktop/input_controls.h"
#include "desktop/picture_file.h"
#include "drawing/draw_procedure.h"
#include "drawing/picture_overlay.h"
#include "explorer/frame_source.h"
#include "explorer/generating_point.h"
#include "explorer/picture_view.h"
#include "explorer/polyhedron_view.h"
#include "explorer/reading_panels.h"
#include "geometry/geometry.h"
#include "geometry/vec3.h"
#include "polyhedron/wythoff.h"

namespace vantu::explorer {

// The Explorer, "Vantu Explorer": a panel of the drawing's inputs and the view beside a picture
// that fills the rest of the window, at the screen's device pixel ratio, and turns under the
// mouse. Every change draws a new frame at once, away from the interface thread; the picture
// shows whole frames only, each the exact picture of its description, with the marks that are
// switched on painted over it (the mirrors, the group's mirrors, the triangle, the snub points,
// with their labels, and the edges of the generating point's polyhedron). A fault is said beside
// the controls in the main window's words, and the last good picture stays. Beside the picture, the
// triangle's facts and the legend of the colours.
class Explorer : public QMainWindow {
    Q_OBJECT

public:
    // Opens with the drawing's inputs and the view of `opening` (its size and sampling come from
    // the window); Home goes back to its R. Not shown yet.
    explicit Explorer(const PictureDescription& opening = {}, QWidget* parent = nullptr,
                      FrameOptions frames = {});
    ~Explorer() override;

    // The vantu-render command line that draws a description with the marks of a frame (those
    // it can draw), quoted for a POSIX shell.
    using CommandText =
        std::function<QString(const PictureDescription& description, const OverlayOptions& marks)>;

    // Sets what "Copy Command Line" puts on the clipboard; without it (at first) the action is
    // disabled.
    void setCommandText(CommandText commandText);

    // Keeps the window's size and place and its docks in `settings` between runs: restores them
    // now, when `settings` holds them, and leaves them there when the window closes (as a
    // window, not the full screen F11 gives). Without it (at first), the Explorer opens on most
    // of its screen's available area, centred, and keeps nothing.
    void keepLayoutIn(std::shared_ptr<QSettings> settings);

    // Replaces the dialogs of "Save Picture As..." (the platform's file dialog, for PNG and
    // WebP, and showSaveErrorBox at first).
    void setSaveDialogs(SaveDialogs dialogs) { m_saveDialogs = std::move(dialogs); }

    // Replaces the dialogs of "Save Polyhedron As..." (the platform's file dialog, for the four
    // model types, and showModelSaveErrorBox at first).
    void setModelDialogs(SaveDialogs dialogs) { m_modelDialogs = std::move(dialogs); }

    // The generating point chosen on the picture (W), or nothing before the first.
    [[nodiscard]] const std::optional<GeneratingPoint>& generatingPoint() const noexcept {
        return m_point;
    }

    // The polyhedron the 3D view shows (the dual when "Dual" is on), or nothing.
    [[nodiscard]] const std::optional<Polyhedron>& polyhedron() const noexcept {
        return m_polyhedron;
    }

    // The description the controls, the view and the picture's size and ratio give now.
    [[nodiscard]] const PictureDescription& wanted() const noexcept { return m_wanted; }

    // The frame on the screen, or nothing before the first.
    [[nodiscard]] const std::optional<Frame>& shown() const noexcept { return m_shown; }

    // Whether the screen answers the newest request: its frame or its fault is shown.
    [[nodiscard]] bool isCurrent() const noexcept;

    // The frames, for tests that watch them.
    [[nodiscard]] FrameSource& frames() noexcept { return m_frames; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // "Full Screen" stays checked while the window fills the screen, however it came to.
    void changeEvent(QEvent* event) override;
    // The picture's mouse: drag turns, Shift+drag rolls, the wheel zooms, moving reads.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls, the picture and the status bar's parts, each named as here (the buttons
    // "rotation0" to "rotation2" and "projection0" to "projection3"); the window owns them.
    QComboBox* const code;  // a catalogue entry, a typed code or the usual notation "p q r"
    const std::array<QRadioButton*, 3> rotation;  // "0", "1", "2"
    QCheckBox* const reverse;                     // "reverse"
    QLineEdit* const scale;                       // R
    // "stereo", "gnome", "ortho", and "halfplane", which only the hyperbolic plane has.
    const std::array<QRadioButton*, 4> projection;
    QDoubleSpinBox* const lon;  // the view's three angles, or in a plane its two moves and roll
    QDoubleSpinBox* const lat;
    QDoubleSpinBox* const roll;
    QLabel* const faultText;  // beside the controls: why the picture cannot be drawn
    PictureView* const picture;
    QLabel* const viewStatus;   // the view and R of the frame shown
    QLabel* const pointStatus;  // the point under the cursor, its cell and its hue
    QLabel* const timeStatus;   // how long the last frame took
    FactsPanel* const facts;    // the triangle's facts, in the dock "Facts"
    LegendPanel* const legend;  // the colours' meanings, in the dock "Legend"
    QDockWidget* const factsDock;
    QDockWidget* const legendDock;
    QLabel* const polyhedronFacts;  // its facts, or why there is none, in the dock "Polyhedron"
    QDockWidget* const polyhedronDock;

    // The actions it changes as it goes; all are named as they are made (buildActions).
    QAction* copyCommand = nullptr;     // Ctrl+Shift+C: the vantu-render command line
    QAction* spin = nullptr;            // Space: LON grows by 30 degrees a second
    QAction* fullScreen = nullptr;      // F11
    QAction* markMirrors = nullptr;     // M: the three mirrors, labelled 1, 2, 3
    QAction* markGroup = nullptr;       // G: every mirror of the group
    QAction* markTriangle = nullptr;    // T: the triangle, its vertices labelled with their angles
    QAction* markSnubPoints = nullptr;  // S: the snub points, numbered as --snub lists them
    QAction* markPolyhedron = nullptr;  // P: the edges of the generating point's polyhedron
    QAction* movePoint = nullptr;       // W: a click or a drag on the picture moves P
    QAction* showDual = nullptr;        // D: the dual in the 3D view instead
    QAction* savePolyhedron = nullptr;  // Ctrl+Shift+S: "Save Polyhedron As..."

    InputControls m_inputs;  // code, rotation, reverse, scale and projection as one group

    // Puts together the panel, the menus, the status bar and the connections.
    void buildPanel(QWidget* panel);
    void buildActions();
    void buildDocks();

    // Asks for a frame of the controls' description; a scale that cannot be read is said
    // beside the controls at once instead.
    void redraw();

    // The view becomes `view`: the angle boxes show it and a frame of it is asked for.
    void setView(const View& view);

    // The projection's buttons name the models of `geometry`, and the view's boxes take its
    // ranges: on the sphere LON and ROLL wrap within [-180, 180] and LAT is held within
    // [-90, 90], the view brought there (boxedView); in a plane LON and LAT are moves as long
    // as planeMoveLimit, which the view is held within.
    void fitGeometry(Geometry geometry);

    // R becomes `value`: the R box shows it and a frame of it is asked for.
    void setScale(double value);

    // Says `message` (a drawing's own sentence) beside the controls, as answer to `generation`.
    void showFault(const QString& message, std::uint64_t generation);

    void takeFrame(const Frame& frame);
    // The status bar's view and R of the frame shown, and, while a fault stands, that it is the
    // last picture drawn.
    void showFrameStatus();
    void showPoint(std::optional<QPointF> position);
    void spinStep();
    void copyPictureNow() noexcept;
    void savePictureAs() noexcept;
    void copyCommandNow() noexcept;
    void savePolyhedronAs() noexcept;
    // The generating point becomes the one a click at `position` on the picture chooses.
    void choosePoint(QPointF position);
    // Builds the polyhedron of the triangle wanted and the point chosen, and shows it and its
    // facts, or why there is none.
    void updatePolyhedron();
    // Puts the 3D view above the polyhedron's facts, or, where the platform offers no OpenGL,
    // the label "noPolyhedronView" saying so; once.
    void makePolyhedronView();
    // Leaves the window's size, place and docks in the settings, if it has them.
    void rememberLayout() noexcept;

    QFont m_labelFont;  // of the marks' labels, its size in pixels
    PictureDescription m_opening;
    PictureDescription m_wanted;
    View m_view;
    std::optional<Frame> m_shown;
    std::uint64_t m_faultGeneration = 0;  // the request the fault shown answers; 0: none
    CommandText m_commandText;
    SaveDialogs m_saveDialogs;
    SaveDialogs m_modelDialogs;
    // The triangle of the polyhedra, for the request it was made for, or why it has none; its own
    // points, found at the first click.
    std::optional<DrawRequest> m_wythoffOf;
    std::optional<WythoffTriangle> m_wythoff;
    QString m_wythoffFault;
    std::optional<std::vector<WythoffPoint>> m_ownPoints;
    std::optional<GeneratingPoint> m_point;
    std::optional<Polyhedron> m_polyhedron;
    // The geometry of the frame shown, the sphere's before the first.
    [[nodiscard]] Geometry shownGeometry() const noexcept;
    // The geometry of the triangle wanted, as far as its text tells it (fitGeometry's): what the
    // keys and spinning move in and the boxes hold.
    Geometry m_viewGeometry = Geometry::spherical;
    // The plane's point (movedBack's) and the model's point under `position` in the frame
    // shown, when it is of a plane and shows a point there.
    [[nodiscard]] std::optional<std::pair<Vec3, Vec3>> planePointsAt(QPointF position) const;

    bool m_choosing = false;  // a click or drag moving P
    View m_viewGiven;         // the sphere's view the 3D view was last turned by
    // Made when its dock is first shown (makePolyhedronView): the polyhedron in 3D, above its
    // facts in m_polyhedronColumn; none before, nor without OpenGL.
    PolyhedronView* polyhedronView = nullptr;
    QVBoxLayout* m_polyhedronColumn = nullptr;
    std::shared_ptr<QSettings> m_settings;
    QTimer m_spinTimer;
    QElapsedTimer m_spinClock;
    // A drag in progress: where it began, the view then, and whether it rolls; in a plane the
    // point of the plane grabbed.
    std::optional<QPointF> m_dragFrom;
    View m_dragView;
    bool m_dragRolls = false;
    std::optional<Vec3> m_grabbed;
    std::optional<QPointF> m_cursor;  // over the picture
    FrameSource m_frames;             // last: its thread ends before the rest goes
};

}  // namespace vantu::explorer
