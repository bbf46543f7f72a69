// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/explorer.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
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
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "desktop/error_reporter.h"
#include "drawing/picture_point.h"
#include "explorer/navigation.h"
#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "geometry/text.h"

namespace vantu::explorer {
namespace {

QString number(double value) {
    return QString::fromStdString(formatNumber(value));
}

// `text` with every '.' written as the locale's decimal point.
QString withLocalPoint(QString text, const QLocale& locale) {
    return text.replace(u'.', locale.decimalPoint());
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

// The share of the screen's available area the window takes at first, as an image viewer
// opens: the picture has the most of it beside the panel and the facts.
constexpr double openingShare = 0.9;

// Where the window's size and place and its docks are kept.
const QString geometryKey = QStringLiteral("explorer/geometry");
const QString stateKey = QStringLiteral("explorer/state");

}  // namespace

Explorer::Explorer(const PictureDescription& opening, QWidget* parent, FrameOptions frames)
    : QMainWindow(parent),
      code(new QComboBox),
      rotation{new QRadioButton, new QRadioButton, new QRadioButton},
      reverse(new QCheckBox),
      scale(new QLineEdit),
      projection{new QRadioButton, new QRadioButton, new QRadioButton},
      lon(new AngleBox(180.0, true)),
      lat(new AngleBox(90.0, false)),
      roll(new AngleBox(180.0, true)),
      faultText(new QLabel),
      picture(new PictureView),
      viewStatus(new QLabel),
      pointStatus(new QLabel),
      timeStatus(new QLabel),
      facts(new FactsPanel),
      legend(new LegendPanel),
      factsDock(new QDockWidget(QStringLiteral("Facts"), this)),
      legendDock(new QDockWidget(QStringLiteral("Legend"), this)),
      copyPicture(new QAction(QStringLiteral("Copy Picture"), this)),
      savePicture(new QAction(QStringLiteral("Save Picture As\u2026"), this)),
      copyCommand(new QAction(QStringLiteral("Copy Command Line"), this)),
      closeExplorer(new QAction(QStringLiteral("Close"), this)),
      turnLeft(new QAction(QStringLiteral("Turn Left"), this)),
      turnRight(new QAction(QStringLiteral("Turn Right"), this)),
      turnUp(new QAction(QStringLiteral("Turn Up"), this)),
      turnDown(new QAction(QStringLiteral("Turn Down"), this)),
      rollLeft(new QAction(QStringLiteral("Roll Left"), this)),
      rollRight(new QAction(QStringLiteral("Roll Right"), this)),
      zoomIn(new QAction(QStringLiteral("Zoom In"), this)),
      zoomOut(new QAction(QStringLiteral("Zoom Out"), this)),
      resetView(new QAction(QStringLiteral("Reset View"), this)),
      spin(new QAction(QStringLiteral("Spin"), this)),
      fullScreen(new QAction(QStringLiteral("Full Screen"), this)),
      markMirrors(new QAction(QStringLiteral("Mirrors"), this)),
      markGroup(new QAction(QStringLiteral("Mirrors of the Group"), this)),
      markTriangle(new QAction(QStringLiteral("Triangle"), this)),
      markSnubPoints(new QAction(QStringLiteral("Snub Points"), this)),
      showFacts(factsDock->toggleViewAction()),
      showLegend(legendDock->toggleViewAction()),
      m_inputs(
          code, rotation, reverse, scale, projection,
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
      m_view(boxedView(opening.view)),
      m_saveDialogs(platformSaveDialogs(SavedTypes::pngOrWebp)),
      m_frames(std::move(frames)) {
    setWindowTitle(QStringLiteral("Vantu Explorer"));
    setObjectName(QStringLiteral("Explorer"));
    const std::pair<QObject*, const char*> names[] = {
        {code, "code"},
        {rotation[0], "rotation0"},
        {rotation[1], "rotation1"},
        {rotation[2], "rotation2"},
        {reverse, "reverse"},
        {scale, "scale"},
        {projection[0], "projection0"},
        {projection[1], "projection1"},
        {projection[2], "projection2"},
        {lon, "lon"},
        {lat, "lat"},
        {roll, "roll"},
        {faultText, "faultText"},
        {picture, "picture"},
        {viewStatus, "viewStatus"},
        {pointStatus, "pointStatus"},
        {timeStatus, "timeStatus"},
        {copyPicture, "copyPicture"},
        {savePicture, "savePicture"},
        {copyCommand, "copyCommand"},
        {closeExplorer, "closeExplorer"},
        {turnLeft, "turnLeft"},
        {turnRight, "turnRight"},
        {turnUp, "turnUp"},
        {turnDown, "turnDown"},
        {rollLeft, "rollLeft"},
        {rollRight, "rollRight"},
        {zoomIn, "zoomIn"},
        {zoomOut, "zoomOut"},
        {resetView, "resetView"},
        {spin, "spin"},
        {fullScreen, "fullScreen"},
        {markMirrors, "markMirrors"},
        {markGroup, "markGroup"},
        {markTriangle, "markTriangle"},
        {markSnubPoints, "markSnubPoints"},
        {showFacts, "showFacts"},
        {showLegend, "showLegend"},
    };
    for (const auto& [part, name] : names) {
        part->setObjectName(QString::fromLatin1(name));
    }
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
    picture->setToolTip(QStringLiteral(
        "Drag to turn the sphere, Shift+drag to roll it, the wheel to zoom; right-click for more"));
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
    rotationLabel->setToolTip(InputControls::rotationToolTip());
    codeLayout->addRow(rotationLabel, rotationLayout);
    codeLayout->addRow(QString(), reverse);
    column->addWidget(codeBox);

    auto* pictureBox = new QGroupBox(QStringLiteral("picture"));
    auto* pictureLayout = new QFormLayout(pictureBox);
    pictureLayout->addRow(QStringLiteral("R"), scale);
    auto* projectionLayout = new QVBoxLayout;
    auto* projections = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        projections->addButton(projection[static_cast<std::size_t>(i)], i);
        projectionLayout->addWidget(projection[static_cast<std::size_t>(i)]);
    }
    m_inputs.show(request);
    auto* projectionLabel = new QLabel(QStringLiteral("projection"));
    projectionLabel->setToolTip(InputControls::projectionsToolTip());
    pictureLayout->addRow(projectionLabel, projectionLayout);
    column->addWidget(pictureBox);

    auto* viewBox = new QGroupBox(QStringLiteral("view"));
    viewBox->setToolTip(QStringLiteral("How the sphere is turned: drag the picture, or type"));
    auto* viewLayout = new QFormLayout(viewBox);
    const struct {
        QDoubleSpinBox* box;
        const char* label;
        const char* tip;
        const char* name;
        double value;
    } angles[] = {
        {lon, "LON", "About the vertical axis; positive moves the front to the right",
         "Longitude in degrees", m_view.lon},
        {lat, "LAT", "About the horizontal axis; positive moves the front down",
         "Latitude in degrees", m_view.lat},
        {roll, "ROLL", "About the axis towards you; positive turns counter-clockwise",
         "Roll in degrees", m_view.roll},
    };
    for (const auto& angle : angles) {
        angle.box->setValue(angle.value);
        angle.box->setToolTip(QString::fromUtf8(angle.tip));
        angle.box->setAccessibleName(QString::fromUtf8(angle.name));
        viewLayout->addRow(QString::fromUtf8(angle.label), angle.box);
    }
    column->addWidget(viewBox);

    faultText->setWordWrap(true);
    faultText->setAccessibleName(QStringLiteral("Fault"));
    faultText->setStyleSheet(QStringLiteral("color: #b00020;"));
    faultText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(faultText);
    column->addStretch(1);

    connect(code, &QComboBox::currentTextChanged, this, &Explorer::redraw);
    connect(rotations, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) {
            redraw();
        }
    });
    connect(projections, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) {
            redraw();
        }
    });
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
    // Of a width of its own, so that new facts, which come after their frame, never change the
    // picture's size and so ask for no frame.
    facts->setFixedWidth(250);
}

void Explorer::buildActions() {
    struct Entry {
        QAction* action;
        QKeySequence key;
        const char* tip;
        std::function<void()> run;
        bool onPicture;  // its key works while the picture has the focus
    };
    const auto turn = [this](double dLon, double dLat, double dRoll) {
        return [this, dLon, dLat, dRoll] { setView(turnedBy(m_view, dLon, dLat, dRoll)); };
    };
    const auto zoom = [this](double factor) {
        return [this, factor] { setScale(zoomed(m_wanted.request.scale, factor)); };
    };
    const auto redrawNow = [this] { redraw(); };
    const double step = keyTurnDegrees;
    const Entry entries[] = {
        {copyPicture, QKeySequence::Copy, "Put the picture as shown on the clipboard",
         [this] { copyPictureNow(); }, false},
        {savePicture, QKeySequence::Save,
         "Save the picture as shown, as PNG or WebP by the name's ending",
         [this] { savePictureAs(); }, false},
        {copyCommand, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         "Put the vantu-render command that draws this picture on the clipboard",
         [this] { copyCommandNow(); }, false},
        {closeExplorer, QKeySequence(Qt::CTRL | Qt::Key_W), "Close the Explorer",
         [this] { close(); }, false},
        {turnLeft, QKeySequence(Qt::Key_Left), "Turn the sphere 5 degrees to the left",
         turn(-step, 0, 0), true},
        {turnRight, QKeySequence(Qt::Key_Right), "Turn the sphere 5 degrees to the right",
         turn(step, 0, 0), true},
        {turnUp, QKeySequence(Qt::Key_Up), "Turn the sphere 5 degrees up", turn(0, -step, 0), true},
        {turnDown, QKeySequence(Qt::Key_Down), "Turn the sphere 5 degrees down", turn(0, step, 0),
         true},
        {rollLeft, QKeySequence(Qt::Key_PageUp), "Roll the picture 5 degrees counter-clockwise",
         turn(0, 0, step), true},
        {rollRight, QKeySequence(Qt::Key_PageDown), "Roll the picture 5 degrees clockwise",
         turn(0, 0, -step), true},
        {zoomIn, QKeySequence(Qt::Key_Plus), "R times 1.25", zoom(keyZoomFactor), true},
        {zoomOut, QKeySequence(Qt::Key_Minus), "R divided by 1.25", zoom(1.0 / keyZoomFactor),
         true},
        {resetView, QKeySequence(Qt::Key_Home), "View 0, 0, 0 and the R the Explorer opened with",
         [this] {
             m_inputs.showScale(m_opening.request.scale);
             setView(View{});
         },
         true},
        {spin, QKeySequence(Qt::Key_Space), "Start or stop turning: 30 degrees a second",
         [this] {
             if (m_spinTimer.isActive()) {
                 m_spinTimer.stop();
             } else {
                 m_spinClock.start();
                 m_spinTimer.start();
             }
             spin->setChecked(m_spinTimer.isActive());
         },
         true},
        {fullScreen, QKeySequence(Qt::Key_F11), "Fill the screen with the Explorer, or stop",
         [this] { isFullScreen() ? showNormal() : showFullScreen(); }, false},
        {markMirrors, QKeySequence(Qt::Key_M),
         "Mark the triangle's three mirrors, each in a colour of its own, labelled 1, 2 and 3",
         redrawNow, true},
        {markGroup, QKeySequence(Qt::Key_G),
         "Mark every mirror of the group the three generate: the lines of the tiling by the "
         "triangle's images",
         redrawNow, true},
        {markTriangle, QKeySequence(Qt::Key_T),
         "Outline the triangle and label its vertices A, B and C with their angles", redrawNow,
         true},
        {markSnubPoints, QKeySequence(Qt::Key_S),
         "Ring the points where the six hues meet, numbered as vantu-render --snub lists them; "
         "the generating point's number in yellow",
         redrawNow, true},
    };
    spin->setCheckable(true);
    fullScreen->setCheckable(true);
    for (QAction* mark : {markMirrors, markGroup, markTriangle, markSnubPoints}) {
        mark->setCheckable(true);
    }
    for (const Entry& entry : entries) {
        entry.action->setShortcut(entry.key);
        entry.action->setToolTip(QString::fromUtf8(entry.tip));
        entry.action->setStatusTip(QString::fromUtf8(entry.tip));
        entry.action->setShortcutContext(entry.onPicture ? Qt::WidgetWithChildrenShortcut
                                                         : Qt::WindowShortcut);
        connect(entry.action, &QAction::triggered, this, entry.run);
        (entry.onPicture ? static_cast<QWidget*>(picture) : static_cast<QWidget*>(this))
            ->addAction(entry.action);
    }
    // "=" is "+" without Shift on many keyboards.
    zoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    copyCommand->setEnabled(false);
    const struct {
        QAction* action;
        QKeySequence key;
        const char* tip;
    } panels[] = {
        {showFacts, QKeySequence(Qt::CTRL | Qt::Key_I),
         "Show or hide the triangle's facts: its angles, sides and area, and its group"},
        {showLegend, QKeySequence(Qt::CTRL | Qt::Key_L),
         "Show or hide the legend: what each of the 21 colours means"},
    };
    for (const auto& panel : panels) {
        panel.action->setShortcut(panel.key);
        panel.action->setShortcutContext(Qt::WindowShortcut);
        panel.action->setToolTip(QString::fromUtf8(panel.tip));
        panel.action->setStatusTip(QString::fromUtf8(panel.tip));
        addAction(panel.action);
    }

    QMenu* pictureMenu = menuBar()->addMenu(QStringLiteral("&Picture"));
    pictureMenu->addActions({copyPicture, savePicture, copyCommand});
    pictureMenu->addSeparator();
    pictureMenu->addAction(closeExplorer);
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    viewMenu->addActions({turnLeft, turnRight, turnUp, turnDown, rollLeft, rollRight});
    viewMenu->addSeparator();
    viewMenu->addActions({zoomIn, zoomOut, resetView});
    viewMenu->addSeparator();
    viewMenu->addActions({spin, fullScreen});
    QMenu* marksMenu = menuBar()->addMenu(QStringLiteral("&Marks"));
    marksMenu->addActions({markMirrors, markGroup, markTriangle, markSnubPoints});
    marksMenu->addSeparator();
    marksMenu->addActions({showFacts, showLegend});

    // The picture's context menu: its own actions, then the window's.
    picture->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    picture->addAction(separator);
    picture->addActions({copyPicture, savePicture, copyCommand, fullScreen});
}

OverlayOptions Explorer::overlays() const noexcept {
    OverlayOptions options;
    options.mirrors = markMirrors->isChecked();
    options.groupMirrors = markGroup->isChecked();
    options.triangle = markTriangle->isChecked();
    options.snubPoints = markSnubPoints->isChecked();
    return options;
}

void Explorer::setCommandText(CommandText commandText) {
    m_commandText = std::move(commandText);
    copyCommand->setEnabled(static_cast<bool>(m_commandText));
}

void Explorer::setSaveDialogs(SaveDialogs dialogs) {
    m_saveDialogs = std::move(dialogs);
}

bool Explorer::isCurrent() const noexcept {
    const std::uint64_t newest = m_frames.newestRequest();
    return (m_shown && m_shown->generation == newest) || m_faultGeneration == newest;
}

QString Explorer::fault() const {
    return faultText->text();
}

void Explorer::redraw() {
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
    m_frames.request(description, FrameMarks{overlays(), m_labelFont});
}

void Explorer::setView(const View& view) {
    m_view = view;
    for (const auto& [box, value] :
         {std::pair{lon, view.lon}, std::pair{lat, view.lat}, std::pair{roll, view.roll}}) {
        const QSignalBlocker quiet(box);
        box->setValue(value);
    }
    redraw();
}

void Explorer::setScale(double value) {
    m_inputs.showScale(value);
    redraw();
}

void Explorer::showFault(const QString& message, std::uint64_t generation) {
    m_faultGeneration = generation;
    faultText->setText(drawingStoppedText(message));
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
    const View& view = frame.description.view;
    viewStatus->setText(QStringLiteral("view %1, %2, %3 \u00b7 R %4")
                            .arg(number(view.lon), number(view.lat), number(view.roll),
                                 number(frame.description.request.scale)));
    timeStatus->setText(QStringLiteral("frame %1 ms").arg(frame.milliseconds, 0, 'f', 1));
    showPoint(m_cursor);
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
    const auto coordinate = [](double v) { return QString::number(v, 'f', 4); };
    pointStatus->setText(QStringLiteral("point (%1, %2, %3): %4; %5")
                             .arg(coordinate(point->point.x), coordinate(point->point.y),
                                  coordinate(point->point.z), QString::fromStdString(point->cell),
                                  QString::fromStdString(point->hue)));
}

void Explorer::spinStep() {
    const double seconds = static_cast<double>(m_spinClock.restart()) / 1000.0;
    setView(turnedBy(m_view, spinDegreesPerSecond * seconds, 0.0, 0.0));
}

bool Explorer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picture) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            if (mouse.button() == Qt::LeftButton) {
                m_dragFrom = mouse.position();
                m_dragView = m_view;
                m_dragRolls = mouse.modifiers().testFlag(Qt::ShiftModifier);
            }
            break;
        }
        case QEvent::MouseMove: {
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            showPoint(mouse.position());
            if (m_dragFrom && mouse.buttons().testFlag(Qt::LeftButton)) {
                const QPointF to = mouse.position();
                if (m_dragRolls) {
                    const QPointF centre(picture->width() / 2.0, picture->height() / 2.0);
                    const QPointF from = *m_dragFrom - centre;
                    const QPointF now = to - centre;
                    setView(turnedBy(m_dragView, 0.0, 0.0,
                                     sweptAngle(from.x(), from.y(), now.x(), now.y())));
                } else {
                    const QPointF moved = to - *m_dragFrom;
                    setView(dragged(m_dragView, moved.x(), moved.y(), picture->height()));
                }
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<const QMouseEvent&>(*event).button() == Qt::LeftButton) {
                m_dragFrom.reset();
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
        if (m_shown && m_commandText) {
            QGuiApplication::clipboard()->setText(m_commandText(m_shown->description));
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
