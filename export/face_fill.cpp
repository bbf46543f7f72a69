// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/face_fill.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#ifndef CALLBACK
#define CALLBACK
#endif

namespace vantu {
namespace {

// The normal of the polygon `points` by Newell's method: its length is twice the area its sides
// enclose, each part counted as often as they wind round it.
Vec3 newellNormal(const std::vector<Vec3>& points) {
    Vec3 sum;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec3& a = points[i];
        const Vec3& b = points[(i + 1) % points.size()];
        sum = sum +
              Vec3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
    }
    return sum;
}

// The face's plane as a normal of any length: Newell's, or, for a face whose sides enclose no
// area as a whole (a figure eight), the largest of the planes through its first vertex and two
// others. The zero vector when all of its vertices lie on one line.
Vec3 planeNormal(const std::vector<Vec3>& points) {
    const Vec3 newell = newellNormal(points);
    double size = 0.0;
    for (const Vec3& p : points) {
        size = std::fmax(size, dot(p - points[0], p - points[0]));
    }
    if (dot(newell, newell) > 1e-24 * size * size) {
        return newell;
    }
    Vec3 best;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const Vec3 candidate = cross(points[i] - points[0], points[i + 1] - points[0]);
        if (dot(candidate, candidate) > dot(best, best)) {
            best = candidate;
        }
    }
    return dot(best, best) > 1e-24 * size * size ? best : Vec3{};
}

// Whether the polygon turns the same way at every vertex and round its inside once, seen along
// `normal`.
bool isConvex(const std::vector<Vec3>& points, const Vec3& normal) {
    const std::size_t n = points.size();
    int positive = 0;
    double turning = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3 in = points[(i + 1) % n] - points[i];
        const Vec3 out = points[(i + 2) % n] - points[(i + 1) % n];
        const double turn = dot(cross(in, out), normal);
        if (turn == 0.0) {
            return false;
        }
        positive += turn > 0.0 ? 1 : 0;
        turning += std::atan2(turn / length(normal), dot(in, out));
    }
    return (positive == 0 || positive == static_cast<int>(n)) &&
           std::fabs(turning) < 3.0 * std::numbers::pi;
}

// What the tessellator's callbacks share: the points (the face's, then new ones where its sides
// cross) and the corners of the triangles as they come. A callback never lets an exception
// through GLU's C code: the first is kept and thrown once GLU is done.
struct Tessellation {
    std::vector<Vec3>* points = nullptr;
    Vec3 normal;
    std::vector<int> corners;
    std::exception_ptr failure;
    GLenum error = 0;
};

// Vertex data for GLU: an index into the points, plus one, so that no vertex is a null pointer.
void* dataOf(std::size_t index) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(index) + 1);
}
int indexOf(void* data) {
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(data) - 1);
}

void CALLBACK onBegin(GLenum /*type: GL_TRIANGLES, since an edge flag callback is set*/,
                      void* /*state*/) {}

void CALLBACK onEdgeFlag(GLboolean /*flag*/, void* /*state*/) {}

void CALLBACK onVertex(void* vertex, void* state) {
    auto& t = *static_cast<Tessellation*>(state);
    if (t.failure) {
        return;
    }
    try {
        t.corners.push_back(indexOf(vertex));
    } catch (...) {
        t.failure = std::current_exception();
    }
}

// A new point where two sides cross (or where vertices meet). GLU gives its position from
// weights in single precision, a hundred millionth off the plane: it is found again here from
// the two sides, as the point of the first on the line of the second, in the face's plane.
void CALLBACK onCombine(GLdouble coords[3], void* vertexData[4], GLfloat /*weight*/[4],
                        void** outData, void* state) {
    auto& t = *static_cast<Tessellation*>(state);
    *outData = dataOf(0);
    if (t.failure) {
        return;
    }
    try {
        const std::vector<Vec3>& points = *t.points;
        const auto at = [&](int k) {
            return points[static_cast<std::size_t>(indexOf(vertexData[k]))];
        };
        Vec3 crossing{coords[0], coords[1], coords[2]};
        if (vertexData[0] != nullptr && vertexData[1] != nullptr && vertexData[2] != nullptr &&
            vertexData[3] != nullptr) {
            const Vec3 a = at(0);
            const Vec3 along = at(1) - a;
            const Vec3 other = at(3) - at(2);
            const double across = dot(cross(along, other), t.normal);
            if (across != 0.0) {
                crossing = a + (dot(cross(at(2) - a, other), t.normal) / across) * along;
            }
        } else if (vertexData[0] != nullptr) {
            crossing = at(0);
        }
        t.points->push_back(crossing);
        *outData = dataOf(t.points->size() - 1);
    } catch (...) {
        t.failure = std::current_exception();
    }
}

void CALLBACK onError(GLenum error, void* state) {
    auto& t = *static_cast<Tessellation*>(state);
    if (t.error == 0) {
        t.error = error;
    }
}

template <class Function>
void setCallback(GLUtesselator* tessellator, GLenum which, Function function) {
    using Callback = void(CALLBACK*)();
    gluTessCallback(tessellator, which, reinterpret_cast<Callback>(function));
}

// The triangles of `points` (a face seen along `normal`) by the nonzero winding rule, as corners
// three by three; the crossings are added to `points`.
std::vector<int> tessellate(std::vector<Vec3>& points, const Vec3& normal) {
    const std::unique_ptr<GLUtesselator, void (*)(GLUtesselator*)> tessellator(
        gluNewTess(), [](GLUtesselator* t) { gluDeleteTess(t); });
    if (!tessellator) {
        throw std::bad_alloc();
    }
    GLUtesselator* tess = tessellator.get();
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, normal.x, normal.y, normal.z);
    setCallback(tess, GLU_TESS_BEGIN_DATA, &onBegin);
    setCallback(tess, GLU_TESS_EDGE_FLAG_DATA, &onEdgeFlag);
    setCallback(tess, GLU_TESS_VERTEX_DATA, &onVertex);
    setCallback(tess, GLU_TESS_COMBINE_DATA, &onCombine);
    setCallback(tess, GLU_TESS_ERROR_DATA, &onError);

    // GLU keeps pointers to the coordinates until the polygon ends.
    std::vector<std::array<GLdouble, 3>> coordinates;
    coordinates.reserve(points.size());
    for (const Vec3& p : points) {
        coordinates.push_back({p.x, p.y, p.z});
    }
    Tessellation state;
    state.points = &points;
    state.normal = normal;
    gluTessBeginPolygon(tess, &state);
    gluTessBeginContour(tess);
    for (std::size_t i = 0; i < coordinates.size(); ++i) {
        gluTessVertex(tess, coordinates[i].data(), dataOf(i));
    }
    gluTessEndContour(tess);
    gluTessEndPolygon(tess);

    if (state.failure) {
        std::rethrow_exception(state.failure);
    }
    if (state.error == GLU_OUT_OF_MEMORY) {
        throw std::bad_alloc();
    }
    if (state.error != 0 || state.corners.size() % 3 != 0) {
        throw std::invalid_argument("GLU's tessellator cannot fill the face (error " +
                                    std::to_string(state.error) + ")");
    }
    return std::move(state.corners);
}

}  // namespace

FaceFill fillFace(const Polyhedron& polyhedron, const Face& face) {
    const std::size_t n = face.vertices.size();
    if (n < 3) {
        throw std::invalid_argument("a face needs three vertices at least, not " +
                                    std::to_string(n));
    }
    FaceFill fill;
    fill.type = face.type;
    fill.points.reserve(n);
    Vec3 centre;
    for (const int v : face.vertices) {
        if (v < 0 || static_cast<std::size_t>(v) >= polyhedron.vertices.size()) {
            throw std::invalid_argument("a face's vertex " + std::to_string(v) +
                                        " is not one of the polyhedron's " +
                                        std::to_string(polyhedron.vertices.size()));
        }
        fill.points.push_back(polyhedron.vertices[static_cast<std::size_t>(v)]);
        centre = centre + fill.points.back();
    }
    Vec3 normal = planeNormal(fill.points);
    if (normal == Vec3{}) {
        throw std::invalid_argument("a face whose vertices lie on one line has no area");
    }
    normal = unit(normal);
    // Away from the polyhedron's centre, which is the origin, unless the face passes through it.
    const double side = dot(normal, (1.0 / static_cast<double>(n)) * centre);
    if (side < -1e-12) {
        normal = -normal;
    }
    fill.normal = normal;

    std::vector<int> corners;
    if (isConvex(fill.points, normal)) {
        // A fan from the first vertex, turned below when the face turns the other way.
        for (int i = 1; i + 1 < static_cast<int>(n); ++i) {
            corners.insert(corners.end(), {0, i, i + 1});
        }
    } else {
        corners = tessellate(fill.points, normal);
    }
    // Each triangle counterclockwise seen along the normal; none of zero area.
    for (std::size_t i = 0; i < corners.size(); i += 3) {
        std::array<int, 3> triangle{corners[i], corners[i + 1], corners[i + 2]};
        const auto at = [&](int k) { return fill.points[static_cast<std::size_t>(k)]; };
        const double turn = dot(
            cross(at(triangle[1]) - at(triangle[0]), at(triangle[2]) - at(triangle[0])), normal);
        if (turn == 0.0) {
            continue;
        }
        if (turn < 0.0) {
            std::swap(triangle[1], triangle[2]);
        }
        fill.triangles.push_back(triangle);
    }
    return fill;
}

std::vector<FaceFill> fillFaces(const Polyhedron& polyhedron) {
    std::vector<FaceFill> fills;
    fills.reserve(polyhedron.faces.size());
    for (const Face& face : polyhedron.faces) {
        fills.push_back(fillFace(polyhedron, face));
    }
    return fills;
}

}  // namespace vantu
