// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/polyhedron_view.h"

#include <algorithm>
#include <cmath>

#include <QGenericMatrix>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>

#include "explorer/navigation.h"
#include "export/face_fill.h"

namespace vantu::explorer {
namespace {

// Flat shading: a face turned straight to the viewer shows its colour as it is, one seen edge
// on the darkest share of it.
const char* const vertexShader = R"(#version 120
attribute vec3 position;
attribute vec3 normal;
attribute vec3 colour;
uniform mat3 turn;
uniform vec2 aspect;
uniform float lit;
varying vec3 shade;
void main() {
    vec3 p = turn * position;
    vec3 n = turn * normal;
    shade = colour * mix(1.0, 0.3 + 0.7 * abs(n.z), lit);
    gl_Position = vec4(p.x * aspect.x, p.y * aspect.y, -0.5 * p.z, 1.0);
}
)";

const char* const fragmentShader = R"(#version 120
varying vec3 shade;
void main() {
    gl_FragColor = vec4(shade, 1.0);
}
)";

constexpr int floatsPerVertex = 9;

void put(std::vector<float>& out, const Vec3& p, double scale, const Vec3& normal,
         const std::array<std::uint8_t, 3>& colour) {
    out.insert(out.end(), {static_cast<float>(p.x * scale), static_cast<float>(p.y * scale),
                           static_cast<float>(p.z * scale), static_cast<float>(normal.x),
                           static_cast<float>(normal.y), static_cast<float>(normal.z),
                           colour[0] / 255.0F, colour[1] / 255.0F, colour[2] / 255.0F});
}

}  // namespace

PolyhedronMesh meshOf(const Polyhedron& polyhedron) {
    double radius = 0.0;
    for (const Vec3& v : polyhedron.vertices) {
        radius = std::max(radius, std::sqrt(dot(v, v)));
    }
    const double scale = radius > 0.0 ? fitted / radius : 1.0;
    PolyhedronMesh mesh;
    for (const FaceFill& fill : fillFaces(polyhedron)) {
        const std::array<std::uint8_t, 3> colour = faceColour(polyhedron, fill.type);
        for (const std::array<int, 3>& triangle : fill.triangles) {
            for (const int corner : triangle) {
                put(mesh.triangles, fill.points[static_cast<std::size_t>(corner)], scale,
                    fill.normal, colour);
            }
        }
    }
    for (const std::array<int, 2>& edge : polyhedron.edges) {
        for (const int end : edge) {
            put(mesh.lines, polyhedron.vertices.at(static_cast<std::size_t>(end)), scale,
                Vec3{0.0, 0.0, 1.0}, {0, 0, 0});
        }
    }
    return mesh;
}

PolyhedronView::PolyhedronView(QWidget* parent) : QOpenGLWidget(parent) {
    setMinimumSize(120, 120);
}

PolyhedronView::~PolyhedronView() {
    if (context() != nullptr) {
        // QOpenGLWidget's own destructor destroys the context after the buffers have gone.
        disconnect(context(), nullptr, this, nullptr);
        makeCurrent();
        releaseGl();
        doneCurrent();
    }
}

void PolyhedronView::releaseGl() {
    delete m_program;
    m_program = nullptr;
    m_triangles.destroy();
    m_lines.destroy();
    m_uploaded = false;
}

void PolyhedronView::setPolyhedron(const Polyhedron* polyhedron) {
    m_mesh.reset();
    m_uploaded = false;
    if (polyhedron != nullptr) {
        m_mesh = meshOf(*polyhedron);
    }
    update();
}

void PolyhedronView::setView(const View& view) {
    m_view = view;
    update();
}

void PolyhedronView::initializeGL() {
    initializeOpenGLFunctions();
    // A dock floated or docked again gives the widget a new context: everything is made anew.
    releaseGl();
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        releaseGl();
        doneCurrent();
    });
    m_program = new QOpenGLShaderProgram;
    m_program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertexShader);
    m_program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentShader);
    m_program->bindAttributeLocation("position", 0);
    m_program->bindAttributeLocation("normal", 1);
    m_program->bindAttributeLocation("colour", 2);
    if (!m_program->link()) {
        delete m_program;
        m_program = nullptr;
    }
}

void PolyhedronView::upload() {
    const auto fill = [](QOpenGLBuffer& buffer, const std::vector<float>& floats) {
        if (!buffer.isCreated()) {
            buffer.create();
        }
        buffer.bind();
        buffer.allocate(floats.data(), static_cast<int>(floats.size() * sizeof(float)));
        buffer.release();
    };
    fill(m_triangles, m_mesh->triangles);
    fill(m_lines, m_mesh->lines);
    m_triangleCount = m_mesh->triangleVertices();
    m_lineCount = m_mesh->lineVertices();
    m_uploaded = true;
}

void PolyhedronView::paintGL() {
    const QColor background = palette().color(QPalette::Base);
    glClearColor(background.redF(), background.greenF(), background.blueF(), 1.0F);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!m_mesh || m_program == nullptr) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("no polyhedron"));
        return;
    }
    if (!m_uploaded) {
        upload();
    }
    // The columns of the view's turn: where it takes the axes.
    const Mirrors axes =
        turned(Mirrors{Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 1.0, 0.0}, Vec3{0.0, 0.0, 1.0}}, m_view,
               4.0 * std::atan(1.0));
    QMatrix3x3 turn;
    for (int column = 0; column < 3; ++column) {
        const Vec3& a = axes[static_cast<std::size_t>(column)];
        turn(0, column) = static_cast<float>(a.x);
        turn(1, column) = static_cast<float>(a.y);
        turn(2, column) = static_cast<float>(a.z);
    }
    const float side = static_cast<float>(std::min(width(), height()));
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    m_program->bind();
    m_program->setUniformValue("turn", turn);
    m_program->setUniformValue("aspect", side / static_cast<float>(std::max(width(), 1)),
                               side / static_cast<float>(std::max(height(), 1)));
    const auto draw = [this](QOpenGLBuffer& buffer, GLenum mode, int count, float lit) {
        buffer.bind();
        m_program->setUniformValue("lit", lit);
        constexpr int stride = floatsPerVertex * sizeof(float);
        for (int attribute = 0; attribute < 3; ++attribute) {
            m_program->enableAttributeArray(attribute);
            m_program->setAttributeBuffer(
                attribute, GL_FLOAT, attribute * 3 * static_cast<int>(sizeof(float)), 3, stride);
        }
        glDrawArrays(mode, 0, count);
        for (int attribute = 0; attribute < 3; ++attribute) {
            m_program->disableAttributeArray(attribute);
        }
        buffer.release();
    };
    // The faces a little behind their edges, so that every edge shows over its faces.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0F, 1.0F);
    draw(m_triangles, GL_TRIANGLES, m_triangleCount, 1.0F);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glLineWidth(static_cast<float>(devicePixelRatioF()));
    draw(m_lines, GL_LINES, m_lineCount, 0.0F);
    m_program->release();
    glDisable(GL_DEPTH_TEST);
}

void PolyhedronView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragFrom = event->position();
        m_dragView = m_view;
    }
}

void PolyhedronView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragFrom && event->buttons().testFlag(Qt::LeftButton)) {
        const QPointF moved = event->position() - *m_dragFrom;
        setView(dragged(m_dragView, moved.x(), moved.y(), height()));
    }
}

void PolyhedronView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragFrom.reset();
    }
}

}  // namespace vantu::explorer
