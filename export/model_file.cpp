// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/model_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/face_fill.h"
#include "export/file_name.h"
#include "geometry/text.h"

namespace vantu {
namespace {

// Bytes in the order a file holds them: every number little-endian, whatever the machine's.
class Bytes {
public:
    void text(std::string_view s) {
        for (const char c : s) {
            m_bytes.push_back(static_cast<std::byte>(c));
        }
    }
    void u16(std::uint16_t v) {
        m_bytes.push_back(static_cast<std::byte>(v & 0xFFu));
        m_bytes.push_back(static_cast<std::byte>(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            m_bytes.push_back(static_cast<std::byte>((v >> shift) & 0xFFu));
        }
    }
    void f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }
    void vec3(const Vec3& v) {
        f32(static_cast<float>(v.x));
        f32(static_cast<float>(v.y));
        f32(static_cast<float>(v.z));
    }
    // Appends `fill` until the size is a multiple of four.
    void align(std::byte fill) {
        while (m_bytes.size() % 4 != 0) {
            m_bytes.push_back(fill);
        }
    }
    [[nodiscard]] std::size_t size() const noexcept { return m_bytes.size(); }
    [[nodiscard]] std::span<const std::byte> view() const noexcept { return m_bytes; }

private:
    std::vector<std::byte> m_bytes;
};

void writeFile(const std::filesystem::path& path, const Bytes& bytes, ReaderWait wait) {
    OutputFile file = OutputFile::replacing(path, wait);
    file.write(bytes.view());
    file.commit();
}

std::string point(const Vec3& v) {
    return formatNumber(v.x) + " " + formatNumber(v.y) + " " + formatNumber(v.z);
}

// OFF: the vertices, then each face as its number of vertices, their indexes from 0 and its
// colour as red, green and blue from 0 to 255, as the polyhedron toolkits write it.
Bytes offFile(const Polyhedron& polyhedron) {
    Bytes out;
    out.text(
        "OFF\n# A polyhedron drawn by Vantu; each face's colour in red, green and blue from "
        "0 to 255\n");
    out.text(std::to_string(polyhedron.vertices.size()) + " " +
             std::to_string(polyhedron.faces.size()) + " " +
             std::to_string(polyhedron.edges.size()) + "\n");
    for (const Vec3& v : polyhedron.vertices) {
        out.text(point(v) + "\n");
    }
    for (const Face& face : polyhedron.faces) {
        std::string line = std::to_string(face.vertices.size());
        for (const int v : face.vertices) {
            line += " " + std::to_string(v);
        }
        for (const std::uint8_t c : faceColour(polyhedron, face.type)) {
            line += " " + std::to_string(c);
        }
        out.text(line + "\n");
    }
    return out;
}

// The material of each face type: what it surrounds, and its index when two types surround the
// same.
std::vector<std::string> materialNames(const Polyhedron& polyhedron) {
    static constexpr std::array<std::string_view, 4> origins{"around_A", "around_B", "around_C",
                                                             "snub_triangles"};
    std::vector<std::string> names;
    for (std::size_t t = 0; t < polyhedron.faceTypes.size(); ++t) {
        const int origin = polyhedron.faceTypes[t].origin;
        std::string name(origins.at(static_cast<std::size_t>(origin)));
        const bool shared = std::any_of(
            polyhedron.faceTypes.begin(), polyhedron.faceTypes.end(), [&](const FaceType& other) {
                return &other != &polyhedron.faceTypes[t] && other.origin == origin;
            });
        names.push_back(shared ? name + "_" + std::to_string(t) : name);
    }
    return names;
}

// The .mtl: one material per face type, its diffuse colour faceColour's.
Bytes mtlFile(const Polyhedron& polyhedron, const std::vector<std::string>& names) {
    Bytes out;
    out.text("# The materials of a polyhedron drawn by Vantu, one per kind of face\n");
    for (std::size_t t = 0; t < names.size(); ++t) {
        const std::array<std::uint8_t, 3> colour = faceColour(polyhedron, static_cast<int>(t));
        std::string kd;
        for (const std::uint8_t c : colour) {
            kd += " " + formatNumber(c / 255.0);
        }
        out.text("\nnewmtl " + names[t] + "\nKa" + kd + "\nKd" + kd + "\nd 1\nillum 1\n");
    }
    return out;
}

// The OBJ: the vertices, then each face as its vertices' indexes from 1, under the material of
// its type.
Bytes objFile(const Polyhedron& polyhedron, const std::vector<std::string>& names,
              const std::string& mtlName) {
    Bytes out;
    out.text("# A polyhedron drawn by Vantu\nmtllib " + mtlName + "\no polyhedron\n");
    for (const Vec3& v : polyhedron.vertices) {
        out.text("v " + point(v) + "\n");
    }
    int material = -1;
    for (const Face& face : polyhedron.faces) {
        if (face.type != material) {
            material = face.type;
            out.text("usemtl " + names.at(static_cast<std::size_t>(material)) + "\n");
        }
        std::string line = "f";
        for (const int v : face.vertices) {
            line += " " + std::to_string(v + 1);
        }
        out.text(line + "\n");
    }
    return out;
}

// Binary STL: an 80-byte header, the number of triangles, and each triangle as its normal, its
// three corners and two bytes of nothing.
Bytes stlFile(const std::vector<FaceFill>& fills) {
    std::size_t count = 0;
    for (const FaceFill& fill : fills) {
        count += fill.triangles.size();
    }
    if (count > std::numeric_limits<std::uint32_t>::max()) {
        throw std::invalid_argument("too many triangles for an STL file");
    }
    Bytes out;
    // Not beginning with "solid", which would announce a text STL.
    std::string header = "Vantu polyhedron, binary STL";
    header.resize(80, ' ');
    out.text(header);
    out.u32(static_cast<std::uint32_t>(count));
    for (const FaceFill& fill : fills) {
        for (const std::array<int, 3>& triangle : fill.triangles) {
            out.vec3(fill.normal);
            for (const int corner : triangle) {
                out.vec3(fill.points[static_cast<std::size_t>(corner)]);
            }
            out.u16(0);
        }
    }
    return out;
}

// Floats as the doubles they are, so that the JSON reads back as the floats of the data.
std::string jsonFloats(const std::array<float, 3>& values) {
    std::string text;
    for (const float v : values) {
        text += (text.empty() ? "[" : ",") + formatNumber(static_cast<double>(v));
    }
    return text + "]";
}

// A colour channel of 8-bit sRGB as the linear value glTF's baseColorFactor takes.
double linearChannel(std::uint8_t c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// Binary glTF: one mesh with one primitive of triangles per face type, each vertex with the
// normal of its face (flat shading: the points of one face are shared by its triangles alone),
// its material double-sided in faceColour's colour.
Bytes glbFile(const Polyhedron& polyhedron, const std::vector<FaceFill>& fills) {
    Bytes bin;
    std::string primitives;
    std::string materials;
    std::string accessors;
    std::string views;
    int accessor = 0;
    int view = 0;
    int material = 0;
    const std::vector<std::string> names = materialNames(polyhedron);
    const auto addView = [&](std::size_t offset, std::size_t length, int target) {
        views += std::string(view > 0 ? "," : "") +
                 "{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                 ",\"byteLength\":" + std::to_string(length) +
                 ",\"target\":" + std::to_string(target) + "}";
        return view++;
    };
    for (std::size_t t = 0; t < polyhedron.faceTypes.size(); ++t) {
        std::vector<Vec3> positions;
        std::vector<Vec3> normals;
        std::vector<std::uint32_t> indices;
        for (const FaceFill& fill : fills) {
            if (fill.type != static_cast<int>(t) || fill.triangles.empty()) {
                continue;
            }
            const std::size_t first = positions.size();
            for (const Vec3& p : fill.points) {
                positions.push_back(p);
                normals.push_back(fill.normal);
            }
            for (const std::array<int, 3>& triangle : fill.triangles) {
                for (const int corner : triangle) {
                    indices.push_back(static_cast<std::uint32_t>(first) +
                                      static_cast<std::uint32_t>(corner));
                }
            }
        }
        if (indices.empty()) {
            continue;
        }
        std::array<float, 3> low{};
        std::array<float, 3> high{};
        low.fill(std::numeric_limits<float>::infinity());
        high.fill(-std::numeric_limits<float>::infinity());
        const std::size_t positionsAt = bin.size();
        for (const Vec3& p : positions) {
            bin.vec3(p);
            const std::array<float, 3> f{static_cast<float>(p.x), static_cast<float>(p.y),
                                         static_cast<float>(p.z)};
            for (std::size_t k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], f[k]);
                high[k] = std::max(high[k], f[k]);
            }
        }
        const std::size_t normalsAt = bin.size();
        for (const Vec3& n : normals) {
            bin.vec3(n);
        }
        const std::size_t indicesAt = bin.size();
        for (const std::uint32_t i : indices) {
            bin.u32(i);
        }
        const int positionView = addView(positionsAt, normalsAt - positionsAt, 34962);
        const int normalView = addView(normalsAt, indicesAt - normalsAt, 34962);
        const int indexView = addView(indicesAt, bin.size() - indicesAt, 34963);
        const std::string vertexCount = std::to_string(positions.size());
        accessors += std::string(accessor > 0 ? "," : "") +
                     "{\"bufferView\":" + std::to_string(positionView) +
                     ",\"componentType\":5126,\"count\":" + vertexCount +
                     ",\"type\":\"VEC3\",\"min\":" + jsonFloats(low) +
                     ",\"max\":" + jsonFloats(high) +
                     "},{\"bufferView\":" + std::to_string(normalView) +
                     ",\"componentType\":5126,\"count\":" + vertexCount +
                     ",\"type\":\"VEC3\"},{\"bufferView\":" + std::to_string(indexView) +
                     ",\"componentType\":5125,\"count\":" + std::to_string(indices.size()) +
                     ",\"type\":\"SCALAR\"}";

        std::string colour;
        for (const std::uint8_t c : faceColour(polyhedron, static_cast<int>(t))) {
            colour += formatNumber(linearChannel(c)) + ",";
        }
        materials += std::string(material > 0 ? "," : "") + "{\"name\":\"" + names[t] +
                     "\",\"pbrMetallicRoughness\":{\"baseColorFactor\":[" + colour +
                     "1],\"metallicFactor\":0,\"roughnessFactor\":0.8},\"doubleSided\":true}";
        primitives += std::string(material > 0 ? "," : "") +
                      "{\"attributes\":{\"POSITION\":" + std::to_string(accessor) +
                      ",\"NORMAL\":" + std::to_string(accessor + 1) +
                      "},\"indices\":" + std::to_string(accessor + 2) +
                      ",\"material\":" + std::to_string(material) + ",\"mode\":4}";
        accessor += 3;
        ++material;
    }
    Bytes json;
    json.text(
        "{\"asset\":{\"version\":\"2.0\",\"generator\":\"Vantu\"},\"scene\":0,"
        "\"scenes\":[{\"nodes\":[0]}],\"nodes\":[{\"mesh\":0,\"name\":\"polyhedron\"}],"
        "\"meshes\":[{\"name\":\"polyhedron\",\"primitives\":[" +
        primitives + "]}],\"materials\":[" + materials + "],\"accessors\":[" + accessors +
        "],\"bufferViews\":[" + views +
        "],\"buffers\":[{\"byteLength\":" + std::to_string(bin.size()) + "}]}");
    json.align(std::byte{' '});

    const std::size_t total = 12 + 8 + json.size() + 8 + bin.size();
    if (total > std::numeric_limits<std::uint32_t>::max()) {
        throw std::invalid_argument("too large a polyhedron for a glTF file");
    }
    Bytes out;
    out.text("glTF");
    out.u32(2);
    out.u32(static_cast<std::uint32_t>(total));
    out.u32(static_cast<std::uint32_t>(json.size()));
    out.text("JSON");
    out.text({reinterpret_cast<const char*>(json.view().data()), json.size()});
    out.u32(static_cast<std::uint32_t>(bin.size()));
    out.text("BIN");
    out.text(std::string_view("\0", 1));
    out.text({reinterpret_cast<const char*>(bin.view().data()), bin.size()});
    return out;
}

}  // namespace

std::optional<ModelType> modelTypeOf(std::string_view name) noexcept {
    static constexpr std::array<std::pair<std::string_view, ModelType>, 4> endings{{
        {".off", ModelType::off},
        {".obj", ModelType::obj},
        {".stl", ModelType::stl},
        {".glb", ModelType::glb},
    }};
    for (const auto& [ending, type] : endings) {
        if (fileNameEndsWith(name, ending)) {
            return type;
        }
    }
    return std::nullopt;
}

void writeModel(const std::filesystem::path& path, const Polyhedron& polyhedron,
                const ModelOptions& options) {
    const std::optional<ModelType> type = modelTypeOf(path.string());
    if (!type) {
        throw std::invalid_argument("cannot tell the model type of '" + escapeText(path.string()) +
                                    "': " + std::string(modelTypeAdvice));
    }
    if (polyhedron.faces.empty()) {
        throw std::invalid_argument("a polyhedron without faces makes no model");
    }
    switch (*type) {
        case ModelType::off:
            writeFile(path, offFile(polyhedron), options.wait);
            break;
        case ModelType::obj: {
            std::filesystem::path mtlPath = path;
            mtlPath.replace_extension(".mtl");
            const std::vector<std::string> names = materialNames(polyhedron);
            const Bytes mtl = mtlFile(polyhedron, names);
            const Bytes obj = objFile(polyhedron, names, mtlPath.filename().string());
            // Both complete before either replaces its target.
            OutputFile mtlFileOut = OutputFile::replacing(mtlPath, options.wait);
            OutputFile objFileOut = OutputFile::replacing(path, options.wait);
            mtlFileOut.write(mtl.view());
            objFileOut.write(obj.view());
            mtlFileOut.close();
            objFileOut.close();
            mtlFileOut.publish();
            objFileOut.publish();
            break;
        }
        case ModelType::stl:
            writeFile(path, stlFile(fillFaces(polyhedron)), options.wait);
            break;
        case ModelType::glb:
            writeFile(path, glbFile(polyhedron, fillFaces(polyhedron)), options.wait);
            break;
    }
}

}  // namespace vantu
