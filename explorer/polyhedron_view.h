// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <vector>

#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLWidget>
#include <QPointF>
#include <QString>

#include "geometry/view.h"
#include "polyhedron/polyhedron.h"

namespace vantu::explorer {

// The vertices the view draws: each face's fill (fillFaces) as triangles with the face's colour
// and normal, then its edges as lines, black. Positions are scaled so that the farthest vertex
// lies at `fitted` of the unit sphere's radius, whatever the polyhedron's size (a dual's
// vertices lie beyond the sphere).
struct PolyhedronMesh {
    // x, y, z, then the normal's x, y, z, then red, green, blue in [0, 1]: nine floats a vertex.
    std::vector<float> triangles;
    std::vector<float> lines;
    [[nodiscard]] int triangleVertices() const noexcept {
        return static_cast<int>(triangles.size() / 9);
    }
    [[nodiscard]] int lineVertices() const noexcept { return static_cast<int>(lines.size() / 9); }
};

// The share of the view's radius the polyhedron fills.
inline constexpr double fitted = 0.9;

// The mesh of `polyhedron`. Throws as fillFaces does.
[[nodiscard]] PolyhedronMesh meshOf(const Polyhedron& polyhedron);

// The polyhedron in 3D, through OpenGL 2.1 (GLSL 1.20, no geometry shaders), so that Mesa's
// software renderer draws it: its faces in their types' colours, flat-shaded by the face's
// normal with a light from the viewer, both sides lit alike, star faces as the nonzero rule
// fills them, its edges in black. Seen as the sphere's picture sees the sphere (the view's turn,
// from far away along the z axis, x to the right and y up), it turns with the view it is given;
// a drag in it turns it on its own until the next view is given. Without a polyhedron it says
// "no polyhedron".
class PolyhedronView : public QOpenGLWidget, protected QOpenGLFunctions {
    Q_OBJECT

public:
    explicit PolyhedronView(QWidget* parent = nullptr);
    ~PolyhedronView() override;

    // Shows `polyhedron` (its mesh made now, drawn at the next paint), or nothing. Throws as
    // meshOf does, and shows nothing then.
    void setPolyhedron(const Polyhedron* polyhedron);
    [[nodiscard]] bool hasPolyhedron() const noexcept { return m_mesh.has_value(); }

    // Turns the polyhedron as the sphere's picture is turned by `view`.
    void setView(const View& view);
    [[nodiscard]] const View& view() const noexcept { return m_view; }

    [[nodiscard]] QSize sizeHint() const override { return {320, 320}; }

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void upload();
    void releaseGl();

    std::optional<PolyhedronMesh> m_mesh;
    bool m_uploaded = false;
    View m_view;
    std::optional<QPointF> m_dragFrom;
    View m_dragView;
    QOpenGLShaderProgram* m_program = nullptr;
    QOpenGLBuffer m_triangles{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer m_lines{QOpenGLBuffer::VertexBuffer};
    int m_triangleCount = 0;
    int m_lineCount = 0;
};

}  // namespace vantu::explorer
