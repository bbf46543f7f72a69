// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/explorer.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <tuple>
#include <utility>

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "desktop/error_reporter.h"
#include "desktop/qt_values.h"
#include "drawing/picture_point.h"
#include "explorer/navigation.h"
#include "explorer/render_command.h"
#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "polyhedron/dual.h"
#include "polyhedron/polyhedron_facts.h"
#include "setup/triangle_code.h"
#include "setup/triangle_notation.h"

namespace vantu::explorer {
namespace {

QString number(double value) {
    return QString::fromStdString(formatNumber(value));
}

// `object`, named `name`, by which tests find it.
template <class T>
T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// A box for one angle of the view, in hundredths of a degree, as the user's locale writes them
// ("12,5" with a decimal comma). A '.' is a decimal point too, never a group separator, so that
// "12.5" is 12.5 in every locale.
class AngleBox : public QDoubleSpinBox {
public:
    AngleBox(double limit, bool wraps) {
        QLocale local = locale();
        local.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        setLocale(local);
        setDecimals(2);
        setRange(wraps ? -180.0 : -limit, limit);
        setWrapping(wraps);
        setSingleStep(keyTurnDegrees);
        setSuffix(QStringLiteral("\u00b0"));
        setKeyboardTracking(true);
    }

    QValidator::State validate(QString& text, int& position) const override {
        text = withLocalPoint(text, locale());
        return QDoubleSpinBox::validate(text, position);
    }

    [[nodiscard]] double valueFromText(const QString& text) const override {
        return QDoubleSpinBox::valueFromText(withLocalPoint(text, locale()));
    }
};

// The geometry the triangle of `request` is drawn in, as prepareDrawing decides it (a code on
// the sphere), or nothing when its text bounds no triangle.
std::optional<Geometry> geometryOf(const DrawRequest& request) noexcept {
    if (request.notation == TriangleNotation::code) {
        return Geometry::spherical;
    }
    try {
        requireProperTriangle(request.triangleCode, request.notation);
        return triangleGeometry(exactFractions(request.triangleCode, request.notation));
    } catch (...) {
        return std::nullopt;
    }
}

// What the picture, the view's box and LON and LAT say they do in `geometry`: turn the sphere, or
// move a plane.
struct ViewToolTips {
    QString picture, view, lon, lat;
};

ViewToolTips viewToolTips(Geometry geometry) {
    if (geometry == Geometry::spherical) {
        return {QStringLiteral("Drag to turn the sphere, Shift+drag to roll it, the wheel to zoom; "
                               "right-click for more"),
                QStringLiteral("How the sphere is turned: drag the picture, or type"),
                QStringLiteral("About the vertical axis; positive moves the front to the right"),
                QStringLiteral("About the horizontal axis; positive moves the front down")};
    }
    const QString move = QStringLiteral(
        "A move along the %1 line through the centre, a degree for \u03c0/180 of %2; positive "
        "moves the plane %3");
    const QString unit = geometry == Geometry::hyperbolic ? QStringLiteral("the curvature radius")
                                                          : QStringLiteral("the triangle's side c");
    return {QStringLiteral("Drag to move the plane, the point under the cursor staying under it; "
                           "Shift+drag to roll it, the wheel to zoom; right-click for more"),
            QStringLiteral("How the plane is moved and rolled: drag the picture, or type"),
            move.arg(QStringLiteral("horizontal"), unit, QStringLiteral("to the right")),
            move.arg(QStringLiteral("vertical"), unit, QStringLiteral("down"))};
}

// The share of the screen's available area the window takes at first, as an image viewer
// opens: the picture has the most of it beside the panel and the facts.
constexpr double openingShare = 0.9;

// Where the window's size and place and its docks are kept.
const QString geometryKey = QStringLiteral("explorer/geometry");
const QString stateKey = QStringLiteral("explorer/state");

}  // namespace

Explorer::Explorer(const PictureDescription& opening, QWidget* parent, FrameOptions frames)
    : QMainWindow(parent),
      code(named(new QComboBox, "code")),
      rotation{named(new QRadioButton, "rotation0"), named(new QRadioButton, "rotation1"),
               named(new QRadioButton, "rotation2")},
      reverse(named(new QCheckBox, "reverse")),
      scale(named(new QLineEdit, "scale")),
      projection{named(new QRadioButton, "projection0"), named(new QRadioButton, "projection1"),
                 named(new QRadioButton, "projection2"), named(new QRadioButton, "projection3")},
      lon(named(new AngleBox(180.0, true), "lon")),
      lat(named(new AngleBox(90.0, false), "lat")),
      roll(named(new AngleBox(180.0, true), "roll")),
      faultText(named(new QLabel, "faultText")),
      picture(named(new PictureView, "picture")),
      viewStatus(named(new QLabel, "viewStatus")),
      pointStatus(named(new QLabel, "pointStatus")),
      timeStatus(named(new QLabel, "timeStatus")),
      facts(new FactsPanel),
      legend(new LegendPanel),
      factsDock(new QDockWidget(QStringLiteral("Facts"), this)),
      legendDock(new QDockWidget(QStringLiteral("Legend"), this)),
      polyhedronFacts(named(new QLabel, "polyhedronFacts")),
      polyhedronDock(new QDockWidget(QStringLiteral("Polyhedron"), this)),
      m_inputs(
          code, rotation, reverse, scale, {projection[0], projection[1], projection[2]},
          {QStringLiteral(
               "The triangle: a code, a label then three fractions p/q, each a corner angle of "
               "q/p of a half turn (\"300 2/1:3/1:3/1\"); or the usual notation, three "
               "numbers p q r, each n or n/d for the angle d/n of a half turn (\"2 3 3\"). "
               "Every change draws at once"),
           QStringLiteral("Triangle code or notation"),
           QStringLiteral("R: the radius of the sphere, in window pixels; the wheel and + "
                          "and - change it too"),
           true, true}),
      m_opening(opening),
      m_view(opening.view),
      m_saveDialogs(platformSaveDialogs(SavedTypes::pngOrWebp)),
      m_modelDialogs(platformSaveDialogs(SavedTypes::models)),
      m_frames(std::move(frames)) {
    setWindowTitle(QStringLiteral("Vantu Explorer"));
    setObjectName(QStringLiteral("Explorer"));
    // Most of the screen at first: keepLayoutIn may then restore the size of the last run.
    if (const QScreen* shown = parent != nullptr ? parent->screen() : screen()) {
        const QRect area = shown->availableGeometry();
        const QSize size = (QSizeF(area.size()) * openingShare).toSize();
        setGeometry(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size, area));
    }
    // The labels over the picture: the window's font, bold, at its size in pixels.
    m_labelFont = font();
    m_labelFont.setBold(true);
    m_labelFont.setPixelSize(QFontInfo(m_labelFont).pixelSize());

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    auto* panel = new QWidget;
    buildPanel(panel);
    layout->addWidget(panel);
    layout->addWidget(picture, 1);
    setCentralWidget(central);
    // Its tooltip is its geometry's (fitGeometry).
    picture->setAccessibleName(QStringLiteral("Picture"));

    viewStatus->setAccessibleName(QStringLiteral("View and R"));
    pointStatus->setAccessibleName(QStringLiteral("Point under the cursor"));
    timeStatus->setAccessibleName(QStringLiteral("Frame time"));
    statusBar()->addWidget(viewStatus);
    statusBar()->addWidget(pointStatus, 1);
    statusBar()->addPermanentWidget(timeStatus);

    buildDocks();
    buildActions();

    m_spinTimer.setTimerType(Qt::PreciseTimer);
    m_spinTimer.setInterval(16);
    connect(&m_spinTimer, &QTimer::timeout, this, &Explorer::spinStep);

    connect(&m_frames, &FrameSource::frameReady, this, &Explorer::takeFrame);
    connect(&m_frames, &FrameSource::frameFailed, this, &Explorer::showFault);
    connect(&m_frames, &FrameSource::factsReady, facts, &QLabel::setText);
    connect(&m_frames, &FrameSource::fewerThreads, this, [this](const QString& message) {
        std::fprintf(stderr, "vantu: %s\n", qPrintable(message));
        statusBar()->showMessage(message, 10000);
    });
    connect(picture, &PictureView::pictureChanged, this, &Explorer::redraw);
    picture->installEventFilter(this);
    picture->setFocus();
    // The first frame is asked for when the picture gets its size, as the window is shown.
}

Explorer::~Explorer() {
    // Closed with the main window that opened it, an Explorer is deleted without a close event.
    rememberLayout();
}

void Explorer::buildPanel(QWidget* panel) {
    const DrawRequest& request = m_opening.request;
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    panel->setFixedWidth(230);

    // Three groups: the triangle (code, rotation, reverse), the picture (R, projection) and the
    // view.
    auto* codeBox = new QGroupBox(QStringLiteral("triangle"));
    auto* codeLayout = new QFormLayout(codeBox);
    m_inputs.fillCatalogue(QString::fromStdString(request.triangleCode));
    codeLayout->addRow(code);
    auto* rotationLayout = new QHBoxLayout;
    auto* rotations = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        rotations->addButton(rotation[static_cast<std::size_t>(i)], i);
        rotationLayout->addWidget(rotation[static_cast<std::size_t>(i)]);
    }
    auto* rotationLabel = new QLabel(QStringLiteral("rotation"));
    rotationLabel->setToolTip(InputControls::rotationToolTip);
    codeLayout->addRow(rotationLabel, rotationLayout);
    codeLayout->addRow(QString(), reverse);
    column->addWidget(codeBox);

    auto* pictureBox = new QGroupBox(QStringLiteral("picture"));
    auto* pictureLayout = new QFormLayout(pictureBox);
    pictureLayout->addRow(QStringLiteral("R"), scale);
    auto* projectionLayout = new QVBoxLayout;
    auto* projections = new QButtonGroup(this);
    for (std::size_t i = 0; i < projection.size(); ++i) {
        projections->addButton(projection[i], static_cast<int>(i));
        projectionLayout->addWidget(projection[i]);
    }
    m_inputs.addHalfPlane(projection[3]);
    m_inputs.show(request);
    auto* projectionLabel = new QLabel(QStringLiteral("projection"));
    projectionLabel->setToolTip(InputControls::projectionsToolTip);
    pictureLayout->addRow(projectionLabel, projectionLayout);
    column->addWidget(pictureBox);

    auto* viewBox = new QGroupBox(QStringLiteral("view"));
    auto* viewLayout = new QFormLayout(viewBox);
    const struct {
        QDoubleSpinBox* box;
        const char* label;
        const char* tip;
        const char* name;
        double value;
    } angles[] = {
        // LON's and LAT's tooltips are their geometry's (fitGeometry).
        {lon, "LON", nullptr, "Longitude in degrees", m_view.lon},
        {lat, "LAT", nullptr, "Latitude in degrees", m_view.lat},
        {roll, "ROLL", "About the axis towards you; positive turns counter-clockwise",
         "Roll in degrees", m_view.roll},
    };
    for (const auto& angle : angles) {
        angle.box->setValue(angle.value);
        describe(angle.box, QString::fromUtf8(angle.tip), QString::fromUtf8(angle.name));
        viewLayout->addRow(QString::fromUtf8(angle.label), angle.box);
    }
    fitGeometry(geometryOf(request).value_or(Geometry::spherical));
    column->addWidget(viewBox);

    faultText->setWordWrap(true);
    faultText->setAccessibleName(QStringLiteral("Fault"));
    faultText->setStyleSheet(QStringLiteral("color: #b00020;"));
    faultText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(faultText);
    column->addStretch(1);

    connect(code, &QComboBox::currentTextChanged, this, &Explorer::redraw);
    for (QButtonGroup* buttons : {rotations, projections}) {
        connect(buttons, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on) {
                redraw();
            }
        });
    }
    connect(reverse, &QCheckBox::toggled, this, &Explorer::redraw);
    connect(scale, &QLineEdit::textEdited, this, &Explorer::redraw);
    for (QDoubleSpinBox* box : {lon, lat, roll}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            // 0 rather than the -0 that "-0.004" rounds to, which the view would write as "-0".
            m_view = View{lon->value() + 0.0, lat->value() + 0.0, roll->value() + 0.0};
            redraw();
        });
    }
}

void Explorer::buildDocks() {
    // The facts beside the picture, shown at first; the legend, wide, below it.
    const struct {
        QDockWidget* dock;
        QWidget* content;
        const char* name;
        Qt::DockWidgetArea area;
        bool shown;
    } docks[] = {
        {factsDock, facts, "facts", Qt::RightDockWidgetArea, true},
        {legendDock, legend, "legend", Qt::BottomDockWidgetArea, false},
    };
    for (const auto& d : docks) {
        d.dock->setObjectName(QString::fromUtf8(d.name));
        d.dock->setAccessibleName(d.content->accessibleName());
        d.dock->setWidget(d.content);
        addDockWidget(d.area, d.dock);
        d.dock->setVisible(d.shown);
    }
    // The polyhedron: the 3D view over its facts, hidden at first and shown when a point is
    // chosen.
    auto* polyhedronPanel = new QWidget;
    auto* polyhedronColumn = new QVBoxLayout(polyhedronPanel);
    m_polyhedronColumn = polyhedronColumn;
    polyhedronColumn->addWidget(polyhedronFacts);
    polyhedronFacts->setWordWrap(true);
    polyhedronFacts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    polyhedronFacts->setAccessibleName(QStringLiteral("Polyhedron facts"));
    polyhedronDock->setObjectName(QStringLiteral("polyhedron"));
    polyhedronDock->setAccessibleName(QStringLiteral("Polyhedron"));
    polyhedronDock->setWidget(polyhedronPanel);
    addDockWidget(Qt::RightDockWidgetArea, polyhedronDock);
    polyhedronDock->setVisible(false);
    // The 3D view is made when the dock is first shown: a window with an OpenGL widget in it is
    // composed through OpenGL, which not every platform offers (Qt's offscreen one does not).
    connect(polyhedronDock, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) {
            makePolyhedronView();
        }
    });
    polyhedronPanel->setFixedWidth(320);
    // Of a width of its own, so that new facts, which come after their frame, never change the
    // picture's size and so ask for no frame.
    facts->setFixedWidth(250);
}

void Explorer::buildActions() {
    QMenu* const pictureMenu = menuBar()->addMenu(QStringLiteral("&Picture"));
    QMenu* const viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    QMenu* const marksMenu = menuBar()->addMenu(QStringLiteral("&Marks"));
    // Each action with its object name, its words, its key and its place in a menu; the docks'
    // own actions, which show and hide them, are given.
    struct Entry {
        QAction** kept;  // where the Explorer keeps it, if it does, or where it is given
        const char* name;
        const char* text;
        QKeySequence key;
        const char* tip;
        std::function<void()> run;
        bool onPicture;  // its key works while the picture has the focus
        QMenu* menu;
        bool separated;  // after a separator in its menu
    };
    const auto turn = [this](double dLon, double dLat, double dRoll) {
        return [this, dLon, dLat, dRoll] {
            setView(movedBy(m_view, dLon, dLat, dRoll, m_viewGeometry));
        };
    };
    const auto zoom = [this](double factor) {
        return [this, factor] { setScale(zoomed(m_wanted.request.scale, factor)); };
    };
    const auto redrawNow = [this] { redraw(); };
    const double step = keyTurnDegrees;
    QAction* copyPicture = nullptr;
    QAction* savePicture = nullptr;
    QAction* zoomIn = nullptr;
    QAction* showFacts = factsDock->toggleViewAction();
    QAction* showLegend = legendDock->toggleViewAction();
    QAction* showPolyhedron = polyhedronDock->toggleViewAction();
    QMenu* const polyhedronMenu = menuBar()->addMenu(QStringLiteral("P&olyhedron"));
    const Entry entries[] = {
        {&copyPicture, "copyPicture", "Copy Picture", QKeySequence::Copy,
         "Put the picture as shown on the clipboard", [this] { copyPictureNow(); }, false,
         pictureMenu, false},
        {&savePicture, "savePicture", "Save Picture As\u2026", QKeySequence::Save,
         "Save the picture as shown, as PNG or WebP by the name's ending",
         [this] { savePictureAs(); }, false, pictureMenu, false},
        {&copyCommand, "copyCommand", "Copy Command Line",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         "Put the vantu-render command that draws this picture on the clipboard",
         [this] { copyCommandNow(); }, false, pictureMenu, false},
        {&savePolyhedron, "savePolyhedron", "Save Polyhedron As\u2026",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         "Save the polyhedron shown as OFF, OBJ, STL or glTF binary by the name's ending",
         [this] { savePolyhedronAs(); }, false, pictureMenu, false},
        {nullptr, "closeExplorer", "Close", QKeySequence(Qt::CTRL | Qt::Key_W),
         "Close the Explorer", [this] { close(); }, false, pictureMenu, true},
        {nullptr, "turnLeft", "Turn Left", QKeySequence(Qt::Key_Left),
         "Turn the sphere 5 degrees to the left", turn(-step, 0, 0), true, viewMenu, false},
        {nullptr, "turnRight", "Turn Right", QKeySequence(Qt::Key_Right),
         "Turn the sphere 5 degrees to the right", turn(step, 0, 0), true, viewMenu, false},
        {nullptr, "turnUp", "Turn Up", QKeySequence(Qt::Key_Up), "Turn the sphere 5 degrees up",
         turn(0, -step, 0), true, viewMenu, false},
        {nullptr, "turnDown", "Turn Down", QKeySequence(Qt::Key_Down),
         "Turn the sphere 5 degrees down", turn(0, step, 0), true, viewMenu, false},
        {nullptr, "rollLeft", "Roll Left", QKeySequence(Qt::Key_PageUp),
         "Roll the picture 5 degrees counter-clockwise", turn(0, 0, step), true, viewMenu, false},
        {nullptr, "rollRight", "Roll Right", QKeySequence(Qt::Key_PageDown),
         "Roll the picture 5 degrees clockwise", turn(0, 0, -step), true, viewMenu, false},
        {&zoomIn, "zoomIn", "Zoom In", QKeySequence(Qt::Key_Plus), "R times 1.25",
         zoom(keyZoomFactor), true, viewMenu, true},
        {nullptr, "zoomOut", "Zoom Out", QKeySequence(Qt::Key_Minus), "R divided by 1.25",
         zoom(1.0 / keyZoomFactor), true, viewMenu, false},
        {nullptr, "resetView", "Reset View", QKeySequence(Qt::Key_Home),
         "View 0, 0, 0 and the R the Explorer opened with",
         [this] {
             m_inputs.showScale(m_opening.request.scale);
             setView(View{});
         },
         true, viewMenu, false},
        {&spin, "spin", "Spin", QKeySequence(Qt::Key_Space),
         "Start or stop turning: 30 degrees a second",
         [this] {
             if (m_spinTimer.isActive()) {
                 m_spinTimer.stop();
             } else {
                 m_spinClock.start();
                 m_spinTimer.start();
             }
             spin->setChecked(m_spinTimer.isActive());
         },
         true, viewMenu, true},
        {&fullScreen, "fullScreen", "Full Screen", QKeySequence(Qt::Key_F11),
         "Fill the screen with the Explorer, or stop",
         [this] { isFullScreen() ? showNormal() : showFullScreen(); }, false, viewMenu, false},
        {&markMirrors, "markMirrors", "Mirrors", QKeySequence(Qt::Key_M),
         "Mark the triangle's three mirrors, each in a colour of its own, labelled 1, 2 and 3",
         redrawNow, true, marksMenu, false},
        {&markGroup, "markGroup", "Mirrors of the Group", QKeySequence(Qt::Key_G),
         "Mark every mirror of the group the three generate: the lines of the tiling by the "
         "triangle's images",
         redrawNow, true, marksMenu, false},
        {&markTriangle, "markTriangle", "Triangle", QKeySequence(Qt::Key_T),
         "Outline the triangle and label its vertices A, B and C with their angles", redrawNow,
         true, marksMenu, false},
        {&markSnubPoints, "markSnubPoints", "Snub Points", QKeySequence(Qt::Key_S),
         "Ring the points where the six hues meet, numbered as vantu-render --snub lists them; "
         "the generating point's number in yellow",
         redrawNow, true, marksMenu, false},
        {&markPolyhedron, "markPolyhedron", "Polyhedron's Edges", QKeySequence(Qt::Key_P),
         "Mark the edges of the generating point's polyhedron, each the great arc between the "
         "vertices it joins: the polyhedron seen from the centre",
         redrawNow, true, marksMenu, false},
        {&showFacts, "showFacts", nullptr, QKeySequence(Qt::CTRL | Qt::Key_I),
         "Show or hide the triangle's facts: its angles, sides and area, and its group", nullptr,
         false, marksMenu, true},
        {&showLegend, "showLegend", nullptr, QKeySequence(Qt::CTRL | Qt::Key_L),
         "Show or hide the legend: what each of the 21 colours means", nullptr, false, marksMenu,
         false},
        {&movePoint, "movePoint", "Move Generating Point", QKeySequence(Qt::Key_W),
         "A click or a drag on the picture moves the point whose polyhedron is shown; it snaps "
         "to the triangle's vertices, the points of its sides, its incentre and its snub points",
         nullptr, true, polyhedronMenu, false},
        {&showDual, "showDual", "Dual", QKeySequence(Qt::Key_D),
         "Show the dual of the polyhedron, reciprocal about its midsphere, instead",
         [this] { updatePolyhedron(); }, true, polyhedronMenu, false},
        {&showPolyhedron, "showPolyhedron", nullptr, QKeySequence(Qt::CTRL | Qt::Key_P),
         "Show or hide the polyhedron of the generating point and its facts", nullptr, false,
         polyhedronMenu, true},
    };
    for (const Entry& entry : entries) {
        QAction* made = nullptr;
        QAction*& action = entry.kept != nullptr ? *entry.kept : made;
        if (action == nullptr) {
            action = new QAction(QString::fromUtf8(entry.text), this);
        }
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setShortcut(entry.key);
        action->setToolTip(QString::fromUtf8(entry.tip));
        action->setStatusTip(QString::fromUtf8(entry.tip));
        action->setShortcutContext(entry.onPicture ? Qt::WidgetWithChildrenShortcut
                                                   : Qt::WindowShortcut);
        if (entry.run) {
            connect(action, &QAction::triggered, this, entry.run);
        }
        (entry.onPicture ? static_cast<QWidget*>(picture) : static_cast<QWidget*>(this))
            ->addAction(action);
        if (entry.separated) {
            entry.menu->addSeparator();
        }
        entry.menu->addAction(action);
    }
    for (QAction* checkable : {spin, fullScreen, markMirrors, markGroup, markTriangle,
                               markSnubPoints, markPolyhedron, movePoint, showDual}) {
        checkable->setCheckable(true);
    }
    // "=" is "+" without Shift on many keyboards.
    zoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    copyCommand->setEnabled(false);
    savePolyhedron->setEnabled(false);

    // The picture's context menu: its own actions, then the window's.
    picture->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    picture->addAction(separator);
    picture->addActions({copyPicture, savePicture, copyCommand, fullScreen});
}

void Explorer::setCommandText(CommandText commandText) {
    m_commandText = std::move(commandText);
    copyCommand->setEnabled(static_cast<bool>(m_commandText) || m_polyhedron.has_value());
}

bool Explorer::isCurrent() const noexcept {
    const std::uint64_t newest = m_frames.newestRequest();
    return (m_shown && m_shown->generation == newest) || m_faultGeneration == newest;
}

void Explorer::redraw() {
    // The buttons and the boxes of the triangle's geometry, before the view is read.
    if (const std::optional<Geometry> geometry = geometryOf(m_inputs.choices());
        geometry && *geometry != m_viewGeometry) {
        fitGeometry(*geometry);
    }
    PictureDescription description;
    try {
        description.request = m_inputs.request();
    } catch (const DrawError& e) {
        showFault(QString::fromUtf8(e.what()), m_frames.newestRequest());
        return;
    }
    const DrawRequest& request = description.request;
    const QSize size = picture->pictureSize();
    description.view = m_view;
    description.sampling = Sampling{picture->ratio()};
    // The whole picture, less a column or two where a sample would sit on the vertical axis and
    // the projection is not defined there.
    description.size =
        offAxisSize({size.width(), size.height()}, description.sampling, request.projection);
    m_wanted = description;
    // The polyhedron of a new triangle first: its edges are marked only when it has one.
    if (!m_wythoffOf || !sameTriangle(*m_wythoffOf, request)) {
        updatePolyhedron();
    }
    OverlayOptions marks;
    marks.mirrors = markMirrors->isChecked();
    marks.groupMirrors = markGroup->isChecked();
    marks.triangle = markTriangle->isChecked();
    marks.snubPoints = markSnubPoints->isChecked();
    if (markPolyhedron->isChecked() && m_point && m_polyhedron) {
        marks.polyhedron = true;
        marks.generatingPoint = *m_point;
    }
    m_frames.request(description, FrameMarks{marks, m_labelFont});
    // The 3D view turned by the sphere's new view; one it was dragged to on its own stays until
    // then.
    if (polyhedronView != nullptr && m_view != m_viewGiven) {
        m_viewGiven = m_view;
        polyhedronView->setView(m_view);
    }
}

void Explorer::updatePolyhedron() {
    std::optional<Polyhedron> shown;
    QString words;
    try {
        const DrawRequest& request = m_wanted.request;
        if (!m_wythoffOf || !sameTriangle(*m_wythoffOf, request)) {
            m_wythoffOf = request;
            m_wythoff.reset();
            m_ownPoints.reset();
            m_wythoffFault.clear();
            try {
                m_wythoff = wythoffTriangle(request);
            } catch (...) {
                m_wythoffFault = failureSentence();
            }
        }
        if (!m_wythoff) {
            words = m_wythoffFault;
        } else if (!m_point) {
            words = QStringLiteral(
                "Press W, then click the picture: the point under the mouse "
                "generates the polyhedron.");
        } else {
            Polyhedron polyhedron = buildPolyhedron(*m_wythoff, *m_point);
            if (showDual->isChecked()) {
                polyhedron = dualPolyhedron(polyhedron);
            }
            words = QString::fromStdString(polyhedronFactLines(vantu::polyhedronFacts(polyhedron)))
                        .trimmed();
            shown = std::move(polyhedron);
        }
    } catch (...) {
        words = failureSentence();
        shown.reset();
    }
    m_polyhedron = std::move(shown);
    if (polyhedronView != nullptr) {
        try {
            polyhedronView->setPolyhedron(m_polyhedron ? &*m_polyhedron : nullptr);
        } catch (...) {
            // The facts still say what the point gives, and the files that keep each face as
            // one polygon can still be written.
            polyhedronView->setPolyhedron(nullptr);
            words += QStringLiteral("\n") + failureSentence();
        }
    }
    polyhedronFacts->setText(words);
    savePolyhedron->setEnabled(m_polyhedron.has_value());
    copyCommand->setEnabled(static_cast<bool>(m_commandText) || m_polyhedron.has_value());
}

void Explorer::makePolyhedronView() {
    if (polyhedronView != nullptr || m_polyhedronColumn->count() > 1) {
        return;
    }
    QOpenGLContext probe;
    if (!probe.create()) {
        auto* missing =
            named(new QLabel(QStringLiteral("No 3D view: this display offers no OpenGL.")),
                  "noPolyhedronView");
        missing->setWordWrap(true);
        m_polyhedronColumn->insertWidget(0, missing, 1);
        return;
    }
    polyhedronView = named(new PolyhedronView, "polyhedronView");
    polyhedronView->setFocusPolicy(Qt::ClickFocus);
    describe(polyhedronView,
             QStringLiteral("The polyhedron of the generating point: drag to turn it, D for its "
                            "dual"),
             QStringLiteral("Polyhedron"));
    // D in the 3D view too.
    polyhedronView->addAction(showDual);
    polyhedronView->setView(m_view);
    m_viewGiven = m_view;
    m_polyhedronColumn->insertWidget(0, polyhedronView, 1);
    try {
        polyhedronView->setPolyhedron(m_polyhedron ? &*m_polyhedron : nullptr);
    } catch (...) {
        // Said in the facts when the polyhedron was built.
    }
}

void Explorer::choosePoint(QPointF position) {
    if (!m_shown || !m_wythoff) {
        return;
    }
    const std::optional<QPoint> pixel = picture->framePixelAt(position);
    if (!pixel) {
        return;
    }
    try {
        if (!m_ownPoints) {
            m_ownPoints = wythoffPoints(*m_wythoff);
        }
        if (const std::optional<GeneratingPoint> point =
                pointAtPixel(*m_shown->picture, *m_ownPoints, pixel->x(), pixel->y())) {
            m_point = point;
            polyhedronDock->setVisible(true);
            updatePolyhedron();
            if (markPolyhedron->isChecked()) {
                redraw();  // the marked edges follow the point
            }
        }
    } catch (...) {
        polyhedronFacts->setText(failureSentence());
    }
}

void Explorer::setView(const View& view) {
    m_view = heldView(view, m_viewGeometry);
    for (const auto& [box, value] :
         {std::pair{lon, m_view.lon}, std::pair{lat, m_view.lat}, std::pair{roll, m_view.roll}}) {
        const QSignalBlocker quiet(box);
        box->setValue(value);
    }
    redraw();
}

void Explorer::fitGeometry(Geometry geometry) {
    m_viewGeometry = geometry;
    m_inputs.nameProjections(geometry);
    legend->showGeometry(geometry);
    const bool sphere = geometry == Geometry::spherical;
    const double moves = planeMoveLimit(geometry);
    m_view = heldView(m_view, geometry);
    const ViewToolTips tips = viewToolTips(geometry);
    picture->setToolTip(tips.picture);
    if (QWidget* const viewBox = lon->parentWidget()) {
        viewBox->setToolTip(tips.view);
    }
    lon->setToolTip(tips.lon);
    lat->setToolTip(tips.lat);
    for (const auto& [box, limit, wraps, value] :
         {std::tuple{lon, moves, sphere, m_view.lon},
          std::tuple{lat, sphere ? 90.0 : moves, false, m_view.lat}}) {
        const QSignalBlocker quiet(box);
        box->setRange(-limit, limit);
        box->setWrapping(wraps);
        box->setValue(value);
    }
    const QSignalBlocker quiet(roll);
    roll->setValue(m_view.roll);
}

void Explorer::setScale(double value) {
    m_inputs.showScale(value);
    redraw();
}

void Explorer::showFault(const QString& message, std::uint64_t generation) {
    m_faultGeneration = generation;
    faultText->setText(drawingStoppedText(message));
    showFrameStatus();
}

void Explorer::takeFrame(const Frame& frame) {
    QImage old = m_shown ? std::move(m_shown->image) : QImage();
    m_shown = frame;
    picture->setFrame(frame.image);
    // Nothing here holds the old frame any more: its memory goes back to be drawn into.
    m_frames.recycle(std::move(old));
    if (frame.generation > m_faultGeneration) {
        m_faultGeneration = 0;
        faultText->clear();
    }
    timeStatus->setText(QStringLiteral("frame %1 ms").arg(frame.milliseconds, 0, 'f', 1));
    showFrameStatus();
    showPoint(m_cursor);
}

void Explorer::showFrameStatus() {
    if (!m_shown) {
        return;
    }
    const View& view = m_shown->description.view;
    QString words = QStringLiteral("view %1, %2, %3 \u00b7 R %4")
                        .arg(number(view.lon), number(view.lat), number(view.roll),
                             number(m_shown->description.request.scale));
    // While a fault stands, the picture is not of the inputs.
    if (m_faultGeneration != 0) {
        words += QStringLiteral(" \u00b7 the drawing stopped; this is the last picture drawn");
    }
    viewStatus->setText(words);
}

void Explorer::showPoint(std::optional<QPointF> position) {
    m_cursor = position;
    std::optional<PicturePoint> point;
    if (position && m_shown) {
        if (const std::optional<QPoint> pixel = picture->framePixelAt(*position)) {
            point = m_shown->picture->pointAt(pixel->x(), pixel->y());
        }
    }
    if (!point) {
        pointStatus->clear();
        return;
    }
    // The point of the sphere or of the hyperboloid's sheet, whose coordinates grow as e^t with a
    // move's length t and so are written to six significant digits; the Euclidean plane's point
    // (x, y) in sides c. A plane's point as planePointsAt finds it, however far the move.
    const Geometry geometry = shownGeometry();
    Vec3 p = point->point;
    if (geometry != Geometry::spherical) {
        const auto points = planePointsAt(*position);
        if (!points) {
            pointStatus->clear();
            return;
        }
        p = points->first;
    }
    const auto coordinate = [geometry](double v) {
        return geometry == Geometry::hyperbolic ? QString::number(v, 'g', 6)
                                                : QString::number(v, 'f', 4);
    };
    const QString where =
        geometry == Geometry::euclidean
            ? QStringLiteral("(%1, %2)").arg(coordinate(p.x), coordinate(p.y))
            : QStringLiteral("(%1, %2, %3)").arg(coordinate(p.x), coordinate(p.y), coordinate(p.z));
    pointStatus->setText(
        QStringLiteral("point %1: %2; %3")
            .arg(where, QString::fromStdString(point->cell), QString::fromStdString(point->hue)));
}

Geometry Explorer::shownGeometry() const noexcept {
    return m_shown ? m_shown->picture->setup().geometry : Geometry::spherical;
}

std::optional<std::pair<Vec3, Vec3>> Explorer::planePointsAt(QPointF position) const {
    if (!m_shown || shownGeometry() == Geometry::spherical) {
        return std::nullopt;
    }
    const std::optional<QPoint> pixel = picture->framePixelAt(position);
    if (!pixel) {
        return std::nullopt;
    }
    const std::optional<Vec3> model = m_shown->picture->picture().pointOf(pixel->x(), pixel->y());
    if (!model) {
        return std::nullopt;
    }
    // On the sheet, or at z = 1, before it is moved back: a point a long move away has
    // coordinates so large that its form, computed from them, is lost to rounding.
    const Geometry geometry = shownGeometry();
    const double factor =
        geometry == Geometry::hyperbolic
            ? std::sqrt((model->z * model->z) - ((model->y * model->y) + (model->x * model->x)))
            : model->z;
    if (!(factor > 0.0) || !std::isfinite(factor)) {
        return std::nullopt;
    }
    const Vec3 shown{model->x / factor, model->y / factor, model->z / factor};
    const DrawSetup& setup = m_shown->picture->setup();
    return std::pair{movedBack(shown, m_shown->description.view, setup.pi, geometry), shown};
}

void Explorer::spinStep() {
    const double seconds = static_cast<double>(m_spinClock.restart()) / 1000.0;
    // Spinning turns the sphere about its axis and rolls a plane.
    const double angle = spinDegreesPerSecond * seconds;
    if (m_viewGeometry == Geometry::spherical) {
        setView(turnedBy(m_view, angle, 0.0, 0.0));
    } else {
        setView(movedBy(m_view, 0.0, 0.0, angle, m_viewGeometry));
    }
}

bool Explorer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picture) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            if (mouse.button() == Qt::LeftButton && movePoint->isChecked()) {
                m_choosing = true;
                choosePoint(mouse.position());
                return true;
            }
            if (mouse.button() == Qt::LeftButton) {
                m_dragFrom = mouse.position();
                m_dragView = m_view;
                m_dragRolls = mouse.modifiers().testFlag(Qt::ShiftModifier);
                m_grabbed.reset();
                // The plane of the frame shown, while it is the plane the boxes move.
                if (const auto points = planePointsAt(mouse.position());
                    points && shownGeometry() == m_viewGeometry) {
                    m_grabbed = points->first;
                }
            }
            break;
        }
        case QEvent::MouseMove: {
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            showPoint(mouse.position());
            if (m_choosing && mouse.buttons().testFlag(Qt::LeftButton)) {
                choosePoint(mouse.position());
                return true;
            }
            if (m_dragFrom && mouse.buttons().testFlag(Qt::LeftButton)) {
                const QPointF to = mouse.position();
                if (m_dragRolls) {
                    const QPointF centre(picture->width() / 2.0, picture->height() / 2.0);
                    const QPointF from = *m_dragFrom - centre;
                    const QPointF now = to - centre;
                    // A roll alone: a plane's moves stay as long as they are.
                    setView(movedBy(m_dragView, 0.0, 0.0,
                                    sweptAngle(from.x(), from.y(), now.x(), now.y()),
                                    m_viewGeometry));
                } else if (m_grabbed) {
                    // The grabbed point of the plane stays under the cursor.
                    if (const auto points = planePointsAt(to)) {
                        if (const std::optional<View> view =
                                grabbedView(m_dragView, *m_grabbed, points->second,
                                            m_shown->picture->setup().pi, shownGeometry())) {
                            setView(*view);
                        }
                    }
                } else if (m_viewGeometry == Geometry::spherical) {
                    const QPointF moved = to - *m_dragFrom;
                    setView(dragged(m_dragView, moved.x(), moved.y(), picture->height()));
                }
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<const QMouseEvent&>(*event).button() == Qt::LeftButton) {
                m_choosing = false;
                m_dragFrom.reset();
                m_grabbed.reset();
            }
            break;
        case QEvent::Wheel: {
            const double notches = static_cast<const QWheelEvent&>(*event).angleDelta().y() / 120.0;
            if (notches != 0.0) {
                setScale(zoomed(m_wanted.request.scale, std::pow(wheelZoomFactor, notches)));
            }
            return true;
        }
        case QEvent::Leave:
            showPoint(std::nullopt);
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Explorer::copyPictureNow() noexcept {
    try {
        if (m_shown) {
            QGuiApplication::clipboard()->setImage(m_shown->image);
        }
    } catch (...) {
        // The clipboard keeps what it held.
    }
}

void Explorer::copyCommandNow() noexcept {
    try {
        // The frame's own command while its polyhedron's edges are marked, which draws them too;
        // else the one that writes the polyhedron shown, when there is one.
        const bool marked = m_shown && m_shown->overlays.polyhedron;
        if (m_polyhedron && m_point && !marked) {
            QGuiApplication::clipboard()->setText(
                polyhedronCommandLine(m_wanted, *m_point, showDual->isChecked()));
        } else if (m_shown && m_commandText) {
            QGuiApplication::clipboard()->setText(
                m_commandText(m_shown->description, m_shown->overlays));
        }
    } catch (...) {
        // The clipboard keeps what it held.
    }
}

void Explorer::savePictureAs() noexcept {
    try {
        if (!m_shown) {
            return;
        }
        // The picture as shown now, whatever frames come while the dialog is open.
        const Frame frame = *m_shown;
        vantu::savePictureAs(this, frame.image,
                             QString::fromStdString(pictureFileName(frame.description, ".png")),
                             m_saveDialogs, SavedTypes::pngOrWebp);
    } catch (...) {
        // Nothing is left to tell the user with; the window goes on as it is.
    }
}

void Explorer::savePolyhedronAs() noexcept {
    try {
        if (!m_polyhedron || !m_point) {
            return;
        }
        // The polyhedron as shown now, whatever the point does while the dialog is open.
        const Polyhedron polyhedron = *m_polyhedron;
        vantu::savePolyhedronAs(this, polyhedron,
                                QString::fromStdString(polyhedronFileName(
                                    m_wanted.request, *m_point, showDual->isChecked(), ".off")),
                                m_modelDialogs);
    } catch (...) {
        // Nothing is left to tell the user with; the window goes on as it is.
    }
}

void Explorer::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        fullScreen->setChecked(isFullScreen());
    }
    QMainWindow::changeEvent(event);
}

void Explorer::keepLayoutIn(std::shared_ptr<QSettings> settings) {
    m_settings = std::move(settings);
    if (!m_settings) {
        return;
    }
    if (const QVariant geometry = m_settings->value(geometryKey); geometry.isValid()) {
        restoreGeometry(geometry.toByteArray());
    }
    if (const QVariant state = m_settings->value(stateKey); state.isValid()) {
        restoreState(state.toByteArray());
    }
}

void Explorer::rememberLayout() noexcept {
    try {
        if (!m_settings) {
            return;
        }
        // Not a full screen, which F11 gives for a while: the next Explorer opens as a window.
        if (!isFullScreen()) {
            m_settings->setValue(geometryKey, saveGeometry());
        }
        m_settings->setValue(stateKey, saveState());
        m_settings->sync();
    } catch (...) {
        // The next Explorer opens as this one did.
    }
}

void Explorer::closeEvent(QCloseEvent* event) {
    m_spinTimer.stop();
    rememberLayout();
    QMainWindow::closeEvent(event);
}

}  // namespace vantu::explorer
