// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The polyhedron in the Explorer: the generating point clicked or dragged on the picture (W),
// snapping to the triangle's own points; its edges marked on the picture (P); the 3D view's
// colours; its dual (D); saving it and copying the command that writes it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "explorer/generating_point.h"
#include "explorer/polyhedron_view.h"
#include "explorer/render_command.h"
#include "geometry/text.h"
#include "options/picture_options.h"
#include "polyhedron/polyhedron_facts.h"
#include "polyhedron/wythoff.h"
#include "tests/run_program.h"
#include "tests/test_support.h"
#include "tests/window/explorer_test_support.h"

namespace vantu::window_test {
namespace {

using explorer::PolyhedronView;

class ExplorerPolyhedronTest : public ExplorerTest {
protected:
    void SetUp() override {
        ExplorerTest::SetUp();
        explorer.resize(1100, 640);
        named<QAction>(explorer, "showFacts")->trigger();  // the picture wider
        named<QAction>(explorer, "showPolyhedron")->trigger();
        partsOf(explorer).code->setEditText(QStringLiteral("2 3 5"));
        partsOf(explorer).scale->setText(QStringLiteral("300"));
        Q_EMIT partsOf(explorer).scale->textEdited(QStringLiteral("300"));
        ASSERT_TRUE(waitCurrent());
        ASSERT_TRUE(named<QDockWidget>(explorer, "polyhedron")->isVisible());
        triangle = wythoffTriangle(explorer.wanted().request);
    }

    // Where the picture shows `p`, `offset` window pixels to the right, in the picture's
    // coordinates.
    QPointF positionOf(const Vec3& p, double offset = 0.0) {
        const std::optional<PicturePosition> at =
            explorer::framePositionOf(*explorer.shown()->picture, p);
        if (!at) {
            ADD_FAILURE() << "the picture does not show the point";
            return {};
        }
        const double ratio = picture()->devicePixelRatioF();
        const QPointF guess((at->col + 0.5) / ratio + offset, (at->row + 0.5) / ratio);
        // The frame may sit a pixel or two into the picture: moved by what framePixelAt says.
        const std::optional<QPoint> pixel = picture()->framePixelAt(guess);
        if (!pixel) {
            ADD_FAILURE() << "the point lies off the picture";
            return {};
        }
        const QPointF wanted(at->col + offset * ratio, at->row);
        return guess + (wanted - QPointF(*pixel)) / ratio;
    }

    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, picture()->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(picture(), &event);
    }

    void click(QPointF at) {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }

    // Presses `key` in `widget`, whose action `action` it is. A window whose 3D view recreated
    // it is not activated again where the platform does not activate windows (Wayland): there
    // the action is triggered, as the key would.
    void pressKey(QWidget* widget, Qt::Key key, const char* action) {
        QAction* const shortcut = named<QAction>(explorer, action);
        ASSERT_TRUE(widget->actions().contains(shortcut));
        ASSERT_EQ(shortcut->shortcut(), QKeySequence(key));
        widget->setFocus();
        if (QApplication::focusWidget() == widget) {
            QTest::keyClick(widget, key);
        } else {
            shortcut->trigger();
        }
    }

    explorer::PictureView* picture() { return partsOf(explorer).picture; }
    // Ctrl+Shift+C, or its action where the window cannot be made active (Wayland without a
    // seat delivers no key to it).
    void copyCommand() {
        if (QApplication::activeWindow() == &explorer) {
            QTest::keyClick(&explorer, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        } else {
            named<QAction>(explorer, "copyCommand")->trigger();
        }
    }
    int vertexCount() {
        return explorer.polyhedron() ? static_cast<int>(explorer.polyhedron()->vertices.size()) : 0;
    }

    WythoffTriangle triangle;
};

// Clicks near the triangle's own points of (2 3 5), and one far from all of them.
struct SnapRow {
    friend void PrintTo(const SnapRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    GeneratingPoint target;  // clicked near
    double offset;           // window pixels to the right of it
    GeneratingPoint taken;   // the point the click takes (given: the point under the mouse)
    int vertices;
    const char* uniform;  // its name in the facts, or nothing
};

const SnapRow snapRows[] = {
    {"vertexA", GeneratingPoint::vertex(0), 3.0, GeneratingPoint::vertex(0), 30,
     "icosidodecahedron"},
    {"vertexB", GeneratingPoint::vertex(1), -3.0, GeneratingPoint::vertex(1), 20, "dodecahedron"},
    {"vertexC", GeneratingPoint::vertex(2), 4.0, GeneratingPoint::vertex(2), 12, "icosahedron"},
    {"sideOfMirror3", GeneratingPoint::side(2), 2.0, GeneratingPoint::side(2), 60,
     "truncated dodecahedron"},
    {"incentre", GeneratingPoint::incentre(), -4.0, GeneratingPoint::incentre(), 120,
     "truncated icosidodecahedron"},
    {"snubPoint", GeneratingPoint::snub(0), 2.0, GeneratingPoint::snub(0), 60, nullptr},
    {"awayFromThem", GeneratingPoint::incentre(), 12.0, GeneratingPoint::given({}), 120, nullptr},
};

class ExplorerSnapTest : public ExplorerPolyhedronTest,
                         public ::testing::WithParamInterface<SnapRow> {};

TEST_P(ExplorerSnapTest, ClickInMoveModeTakesTheNearbyWythoffPoint) {
    const SnapRow& row = GetParam();
    const QPointF at = positionOf(pointOf(triangle, row.target), row.offset);
    // The click lands where the core's picture shows a point that far from the target.
    const std::optional<QPoint> pixel = picture()->framePixelAt(at);
    ASSERT_TRUE(pixel.has_value());
    const std::optional<PicturePoint> shown =
        explorer.shown()->picture->pointAt(pixel->x(), pixel->y());
    ASSERT_TRUE(shown.has_value());
    const double pixels =
        std::acos(std::min(1.0, dot(shown->point, pointOf(triangle, row.target)))) *
        explorer.wanted().request.scale;
    EXPECT_NEAR(pixels, std::abs(row.offset), 1.5);

    click(at);
    EXPECT_FALSE(explorer.generatingPoint().has_value()) << "a click outside W mode turns";
    pressKey(picture(), Qt::Key_W, "movePoint");
    ASSERT_TRUE(named<QAction>(explorer, "movePoint")->isChecked());
    click(at);
    ASSERT_TRUE(explorer.generatingPoint().has_value());
    EXPECT_EQ(explorer.generatingPoint()->kind, row.taken.kind);
    EXPECT_EQ(explorer.generatingPoint()->index, row.taken.index);
    if (row.taken.kind == PointKind::given) {
        EXPECT_EQ(explorer.generatingPoint()->direction, shown->point);
    }
    EXPECT_EQ(vertexCount(), row.vertices);
    const QString facts = named<QLabel>(explorer, "polyhedronFacts")->text();
    EXPECT_TRUE(facts.contains(QStringLiteral("vertices: %1\n").arg(row.vertices)))
        << facts.toStdString();
    if (row.uniform != nullptr) {
        EXPECT_TRUE(facts.startsWith(QStringLiteral("polyhedron: U")) &&
                    facts.section(QLatin1Char('\n'), 0, 0)
                        .endsWith(QLatin1Char(' ') + QString::fromUtf8(row.uniform)))
            << facts.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Explorer, ExplorerSnapTest, ::testing::ValuesIn(snapRows), RowName());

TEST_F(ExplorerPolyhedronTest, DragInMoveModeMovesThePointAndNotTheView) {
    EXPECT_FALSE(explorer.polyhedron().has_value()) << "no polyhedron before a point";
    named<QAction>(explorer, "movePoint")->trigger();
    const View before = explorer.wanted().view;
    const QPointF from = positionOf(pointOf(triangle, GeneratingPoint::vertex(1)));
    const QPointF to = positionOf(pointOf(triangle, GeneratingPoint::vertex(2)));
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    EXPECT_EQ(vertexCount(), 20);
    mouse(QEvent::MouseMove, (from + to) / 2.0, Qt::LeftButton);
    EXPECT_EQ(explorer.generatingPoint()->kind, PointKind::given);
    EXPECT_EQ(vertexCount(), 120);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(vertexCount(), 12);
    EXPECT_EQ(explorer.wanted().view, before);

    // The dual at D, in the picture and in the 3D view: the icosahedron's.
    pressKey(picture(), Qt::Key_D, "showDual");
    EXPECT_EQ(vertexCount(), 20);
    auto* view = explorer.findChild<PolyhedronView*>(QStringLiteral("polyhedronView"));
    pressKey(view != nullptr ? static_cast<QWidget*>(view) : picture(), Qt::Key_D, "showDual");
    EXPECT_EQ(vertexCount(), 12);

    // A drag with W off turns the sphere and leaves the point.
    named<QAction>(explorer, "movePoint")->trigger();
    mouse(QEvent::MouseButtonPress, to, Qt::LeftButton);
    mouse(QEvent::MouseMove, from, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, from, Qt::NoButton);
    EXPECT_NE(explorer.wanted().view, before);
    EXPECT_EQ(vertexCount(), 12);
}

// A dense group, and a triangle of a plane, have none: the facts say why, and P, on, marks
// nothing and faults nothing.
TEST_F(ExplorerPolyhedronTest, NoPolyhedronForADenseGroupOrAPlane) {
    named<QAction>(explorer, "movePoint")->trigger();
    click(positionOf(pointOf(triangle, GeneratingPoint::incentre())));
    ASSERT_EQ(vertexCount(), 120);
    named<QAction>(explorer, "markPolyhedron")->setChecked(true);
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("2 3 7/3"), QStringLiteral("dense on the sphere")},
        {QStringLiteral("2 3 7"),
         QStringLiteral("lies in the hyperbolic plane, and polyhedra are built on the sphere")},
    };
    for (const auto& [text, why] : rows) {
        partsOf(explorer).code->setEditText(text);
        ASSERT_TRUE(waitCurrent());
        EXPECT_FALSE(explorer.polyhedron().has_value());
        const QString facts = named<QLabel>(explorer, "polyhedronFacts")->text();
        EXPECT_TRUE(facts.contains(why)) << facts.toStdString();
        EXPECT_FALSE(named<QAction>(explorer, "savePolyhedron")->isEnabled());
        EXPECT_EQ(partsOf(explorer).faultText->text(), QString());
        EXPECT_FALSE(explorer.shown()->overlays.polyhedron);
    }
}

// P marks the polyhedron's edges over the picture, as vantu-render's --mark-polyhedron draws
// them; they follow a drag of the point, and the command copied draws the frame shown.
TEST_F(ExplorerPolyhedronTest, MarksTheEdgesWhichFollowTheDragAndTheCommandDrawsThem) {
    std::vector<QString> copied;
    explorer.setCommandText([&](const PictureDescription& d, const OverlayOptions& marks) {
        copied.push_back(explorer::renderCommandLine(d, marks));
        return copied.back();
    });
    named<QAction>(explorer, "movePoint")->trigger();
    const QPointF from = positionOf(pointOf(triangle, GeneratingPoint::vertex(1)));
    click(from);
    ASSERT_TRUE(waitCurrent());
    ASSERT_EQ(vertexCount(), 20);
    const QImage plain = explorer.shown()->image;
    EXPECT_FALSE(explorer.shown()->overlays.polyhedron) << "no edges before P";

    pressKey(picture(), Qt::Key_P, "markPolyhedron");
    ASSERT_TRUE(waitCurrent());
    // The frame shown: the core's picture with the edges of the point's polyhedron, changed from
    // the plain picture where the picture shows an edge's middle.
    const auto expectEdgesOf = [&](const GeneratingPoint& point, const QImage& unmarked) {
        const Frame& frame = *explorer.shown();
        ASSERT_TRUE(frame.overlays.polyhedron);
        EXPECT_TRUE(samePoint(frame.overlays.generatingPoint, point));
        OverlayOptions edges;
        edges.polyhedron = true;
        edges.generatingPoint = point;
        EXPECT_TRUE(isCorePicture(frame.image, frame.description, edges));
        const Polyhedron polyhedron = buildPolyhedron(triangle, point);
        int seen = 0;
        for (const auto& [a, b] : polyhedron.edges) {
            const Vec3 middle = unit(polyhedron.vertices[static_cast<std::size_t>(a)] +
                                     polyhedron.vertices[static_cast<std::size_t>(b)]);
            const std::optional<PicturePosition> at =
                explorer::framePositionOf(*frame.picture, middle);
            if (!at || !frame.picture->pointAt(static_cast<int>(std::lround(at->col)),
                                               static_cast<int>(std::lround(at->row)))) {
                continue;
            }
            const QPoint pixel(static_cast<int>(std::lround(at->col)),
                               static_cast<int>(std::lround(at->row)));
            ++seen;
            EXPECT_NE(frame.image.pixel(pixel), unmarked.pixel(pixel))
                << pixel.x() << ", " << pixel.y();
        }
        EXPECT_GE(seen, 3);
    };
    expectEdgesOf(GeneratingPoint::vertex(1), plain);

    // Dragged to the vertex C: the icosahedron's edges, where the dodecahedron's were.
    const QImage dodecahedron = explorer.shown()->image;
    const QPointF to = positionOf(pointOf(triangle, GeneratingPoint::vertex(2)));
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    ASSERT_TRUE(waitCurrent());
    ASSERT_EQ(vertexCount(), 12);
    expectEdgesOf(GeneratingPoint::vertex(2), plain);
    EXPECT_NE(explorer.shown()->image, dodecahedron);

    // The command copied draws the frame shown, read as vantu-render reads it.
    copyCommand();
    ASSERT_EQ(copied.size(), 1U);
    const std::vector<std::string> words = testing_support::shellWords(copied[0].toStdString());
    ASSERT_FALSE(words.empty());
    const cli::ParsedLine parsed =
        cli::parseCommandLine(std::vector<std::string>(words.begin() + 1, words.end()));
    ASSERT_EQ(parsed.action, cli::Action::run);
    EXPECT_EQ(parsed.command.mode, cli::Mode::picture);
    ASSERT_TRUE(parsed.command.point.has_value());
    OverlayOptions marks = parsed.command.marks;
    EXPECT_TRUE(marks.polyhedron);
    marks.generatingPoint = *parsed.command.point;
    EXPECT_TRUE(isCorePicture(explorer.shown()->image,
                              options::describedPicture(parsed.command.picture), marks));

    // Without the mark, the copied command writes the polyhedron's model again.
    pressKey(picture(), Qt::Key_P, "markPolyhedron");
    ASSERT_TRUE(waitCurrent());
    EXPECT_TRUE(isCorePicture(explorer.shown()->image, explorer.shown()->description));
    copyCommand();
    EXPECT_EQ(copied.size(), 1U);
}

// Whether `pixel` is a face colour of `polyhedron` as the view lights it: the colour times a
// brightness between 0.3 and 1.
bool isLitFaceColour(QRgb pixel, const Polyhedron& polyhedron) {
    for (int type = 0; type < static_cast<int>(polyhedron.faceTypes.size()); ++type) {
        const auto c = faceColour(polyhedron, type);
        const double k =
            static_cast<double>(qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / (c[0] + c[1] + c[2]);
        if (k >= 0.29 && k <= 1.01 && std::abs(qRed(pixel) - k * c[0]) <= 4 &&
            std::abs(qGreen(pixel) - k * c[1]) <= 4 && std::abs(qBlue(pixel) - k * c[2]) <= 4) {
            return true;
        }
    }
    return false;
}

// The share of the pixels within `radius` of the image's centre that are lit face colours.
double faceShare(const QImage& image, double radius, const Polyhedron& polyhedron) {
    int inside = 0;
    int faces = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (std::hypot(x + 0.5 - image.width() / 2.0, y + 0.5 - image.height() / 2.0) <
                radius) {
                ++inside;
                faces += isLitFaceColour(image.pixel(x, y), polyhedron) ? 1 : 0;
            }
        }
    }
    return inside > 0 ? static_cast<double>(faces) / inside : 0.0;
}

TEST(PolyhedronView, ShowsTheFacesColoursWhereThePolyhedronIs) {
    // A window with an OpenGL widget in it is composed through OpenGL: none is made without it.
    if (QOpenGLContext probe; !probe.create()) {
        GTEST_SKIP()
            << "no OpenGL on this platform: the case runs as window.PolyhedronViewUnderXvfb";
    }
    PolyhedronView view;
    view.resize(300, 240);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // Four colours: the snub triangles and the faces around each vertex.
    const Polyhedron snub = buildPolyhedron(parseWythoffSymbol("| 2 3 5"));
    const QImage empty = view.grabFramebuffer();
    ASSERT_FALSE(empty.isNull());
    EXPECT_EQ(faceShare(empty, empty.height() / 2.0, snub), 0.0) << "nothing but the words";

    view.setPolyhedron(&snub);
    const QImage image = view.grabFramebuffer();
    const double radius = std::min(image.width(), image.height()) / 2.0 * explorer::fitted;
    // Within its inscribed sphere every pixel is a face, but for the thin edges; beyond it, at
    // the corners, the background.
    EXPECT_GT(faceShare(image, radius * 0.75, snub), 0.9);
    EXPECT_EQ(image.pixel(0, 0), empty.pixel(0, 0));
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), empty.pixel(0, 0));

    // Turned with the sphere: the picture changes, the colours stay.
    view.setView(View{30.0, -20.0, 10.0});
    const QImage turned = view.grabFramebuffer();
    EXPECT_NE(turned, image);
    EXPECT_GT(faceShare(turned, radius * 0.75, snub), 0.9);

    view.setPolyhedron(nullptr);
    EXPECT_EQ(faceShare(view.grabFramebuffer(), radius, snub), 0.0);
}

TEST_F(ExplorerPolyhedronTest, SavesTheModelAndCopiesTheCommandThatWritesIt) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString answer;
    QStringList proposals;
    QStringList failures;
    explorer.setModelDialogs({[&](QWidget*, const QString& proposed) {
                                  proposals.push_back(proposed);
                                  return answer;
                              },
                              [&](QWidget*, const QString& path, const QString& reason) {
                                  failures.push_back(path + QStringLiteral(": ") + reason);
                              }});
    QAction* save = named<QAction>(explorer, "savePolyhedron");
    EXPECT_FALSE(save->isEnabled()) << "nothing to save before a point";
    named<QAction>(explorer, "movePoint")->trigger();

    // A point of the triangle is written by its name, any other by its coordinates.
    for (const double offset : {2.0, 12.0}) {
        click(positionOf(pointOf(triangle, GeneratingPoint::vertex(1)), offset));
        ASSERT_TRUE(explorer.polyhedron().has_value());
        const GeneratingPoint point = *explorer.generatingPoint();
        const QString probe = QStringLiteral("vantu clipboard probe");
        QGuiApplication::clipboard()->setText(probe);
        if (QGuiApplication::clipboard()->text() == probe) {
            QTest::keyClick(&explorer, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            const std::vector<std::string> words =
                testing_support::shellWords(QGuiApplication::clipboard()->text().toStdString());
            const std::string name =
                point.kind == PointKind::vertex ? "2-3-5-r0-vertexB.off" : "2-3-5-r0-point.off";
            ASSERT_EQ(words.size(), 9U) << QGuiApplication::clipboard()->text().toStdString();
            EXPECT_EQ(std::vector(words.begin(), words.begin() + 5),
                      (std::vector<std::string>{"vantu-render", "--triangle", "2 3 5", "--rotation",
                                                "0"}));
            EXPECT_EQ(words[5], "--point");
            EXPECT_EQ(words[7], "-o");
            EXPECT_EQ(words[8], name);
            // Read back, the point is the same to the last bit.
            EXPECT_EQ(pointOf(triangle, parseGeneratingPoint(words[6])), pointOf(triangle, point));
        }
        answer = folder.filePath(QStringLiteral("model.off"));
        save->trigger();
        ASSERT_FALSE(proposals.empty());
        EXPECT_EQ(QFileInfo(proposals.back()).fileName().endsWith(QStringLiteral(".off")), true);
        QFile off(answer);
        ASSERT_TRUE(off.open(QIODevice::ReadOnly));
        EXPECT_EQ(off.readLine(), QByteArray("OFF\n"));
        (void)off.readLine();  // a comment
        const int vertices = static_cast<int>(explorer.polyhedron()->vertices.size());
        EXPECT_TRUE(off.readLine().startsWith(QByteArray::number(vertices) + ' '));
    }
    EXPECT_TRUE(failures.isEmpty());
    answer = folder.filePath(QStringLiteral("model.svg"));
    save->trigger();
    EXPECT_EQ(failures, QStringList{QStringLiteral("%1: cannot tell the model type of '%1': use "
                                                   "a name ending in .off, .obj, .stl or .glb")
                                        .arg(answer)});
    EXPECT_FALSE(QFile::exists(answer));
}

}  // namespace
}  // namespace vantu::window_test
