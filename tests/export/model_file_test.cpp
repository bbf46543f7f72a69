// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The model files read back: the OFF and the OBJ with its materials by a small parser of their
// own, the STL checked closed, the glTF by the Khronos validator; and the names and folders that
// are refused.

#include "export/model_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/face_fill.h"
#include "tests/export/test_polyhedra.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using testing_support::scratchFolder;
using testing_support::slurp;
using testing_support::TestPolyhedron;

// What a text model says of the polyhedron: its points, faces and each face's colour.
struct ReadBack {
    std::vector<Vec3> vertices;
    std::vector<std::vector<int>> faces;
    std::vector<std::array<std::uint8_t, 3>> colours;
};

// Reads the OFF's words, its comments left out.
ReadBack readOff(const fs::path& path) {
    std::istringstream lines(slurp(path.string()));
    std::string words;
    for (std::string line; std::getline(lines, line);) {
        words += line.starts_with('#') ? "" : line + "\n";
    }
    std::istringstream in(words);
    std::string magic;
    std::size_t counts[3] = {};
    in >> magic >> counts[0] >> counts[1] >> counts[2];
    EXPECT_EQ(magic, "OFF");
    ReadBack back;
    back.vertices.resize(counts[0]);
    for (Vec3& v : back.vertices) {
        in >> v.x >> v.y >> v.z;
    }
    for (std::size_t f = 0; f < counts[1]; ++f) {
        std::size_t n = 0;
        in >> n;
        std::vector<int> face(n);
        for (int& v : face) {
            in >> v;
        }
        int colour[3] = {-1, -1, -1};
        in >> colour[0] >> colour[1] >> colour[2];
        back.faces.push_back(face);
        back.colours.push_back({static_cast<std::uint8_t>(colour[0]),
                                static_cast<std::uint8_t>(colour[1]),
                                static_cast<std::uint8_t>(colour[2])});
    }
    EXPECT_FALSE(in >> magic) << "more than the header's counts: " << magic;
    return back;
}

ReadBack readObj(const fs::path& path) {
    std::map<std::string, std::array<std::uint8_t, 3>> materials;
    std::istringstream obj(slurp(path.string()));
    ReadBack back;
    std::string line;
    std::string material;
    while (std::getline(obj, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "mtllib") {
            std::string name;
            words >> name;
            std::istringstream mtl(slurp((path.parent_path() / name).string()));
            while (std::getline(mtl, line)) {
                std::istringstream m(line);
                m >> key;
                if (key == "newmtl") {
                    m >> material;
                } else if (key == "Kd") {
                    for (std::uint8_t& c : materials[material]) {
                        double v = -1;
                        m >> v;
                        c = static_cast<std::uint8_t>(std::lround(v * 255.0));
                    }
                }
            }
        } else if (key == "v") {
            Vec3 v;
            words >> v.x >> v.y >> v.z;
            back.vertices.push_back(v);
        } else if (key == "usemtl") {
            words >> material;
            EXPECT_EQ(materials.count(material), 1u) << material;
        } else if (key == "f") {
            back.faces.emplace_back();
            for (int v = 0; words >> v;) {
                back.faces.back().push_back(v - 1);
            }
            back.colours.push_back(materials[material]);
        }
    }
    return back;
}

class ModelOf : public testing::TestWithParam<TestPolyhedron> {};

TEST_P(ModelOf, OffAndObjReadBackAsThePolyhedron) {
    const Polyhedron& p = GetParam().polyhedron;
    const fs::path folder = scratchFolder("model-text");
    for (const char* name : {"m.off", "m.obj"}) {
        SCOPED_TRACE(name);
        writeModel(folder / name, p);
        const ReadBack back =
            fs::path(name).extension() == ".off" ? readOff(folder / name) : readObj(folder / name);
        EXPECT_EQ(back.vertices, p.vertices) << "not the same doubles";
        ASSERT_EQ(back.faces.size(), p.faces.size());
        for (std::size_t f = 0; f < p.faces.size(); ++f) {
            EXPECT_EQ(back.faces[f], p.faces[f].vertices) << "face " << f;
            EXPECT_EQ(back.colours[f], faceColour(p, p.faces[f].type)) << "face " << f;
        }
    }
}

std::uint32_t u32At(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 4; k-- > 0;) {
        v = v << 8 | static_cast<std::uint8_t>(bytes.at(at + k));
    }
    return v;
}

TEST_P(ModelOf, StlHoldsEveryTriangleClosedWhereThePolyhedronIs) {
    const Polyhedron& p = GetParam().polyhedron;
    const fs::path file = scratchFolder("model-stl") / "m.stl";
    writeModel(file, p);
    const std::string bytes = slurp(file.string());
    std::size_t count = 0;
    for (const FaceFill& fill : fillFaces(p)) {
        count += fill.triangles.size();
    }
    ASSERT_EQ(bytes.size(), 84 + 50 * count);
    EXPECT_EQ(u32At(bytes, 80), count);
    EXPECT_NE(bytes.substr(0, 5), "solid");
    EXPECT_NE(bytes.substr(0, 80).find("Vantu"), std::string::npos);
    // Each side of a triangle, as its two corners' words, and how often each is met.
    std::map<std::vector<std::uint32_t>, int> sides;
    for (std::size_t t = 0; t < count; ++t) {
        const std::size_t at = 84 + 50 * t;
        std::vector<std::uint32_t> corners;
        for (std::size_t k = 0; k < 9; ++k) {
            corners.push_back(u32At(bytes, at + 12 + 4 * k));
        }
        for (std::size_t c = 0; c < 3; ++c) {
            const std::size_t d = (c + 1) % 3;
            ++sides[{corners[3 * c], corners[3 * c + 1], corners[3 * c + 2], corners[3 * d],
                     corners[3 * d + 1], corners[3 * d + 2]}];
        }
    }
    if (GetParam().closed) {
        for (const auto& [side, met] : sides) {
            const std::vector<std::uint32_t> back{side[3], side[4], side[5],
                                                  side[0], side[1], side[2]};
            EXPECT_EQ(met, 1) << "a side twice the same way";
            EXPECT_EQ(sides.count(back), 1u) << "a side without its neighbour";
        }
    }
}

TEST_P(ModelOf, GlbPassesTheKhronosValidator) {
    const fs::path file = scratchFolder("model-glb") / "m.glb";
    writeModel(file, GetParam().polyhedron);
    const testing_support::Outcome outcome =
        testing_support::runProgram(VANTU_NODE, {VANTU_GLB_VALIDATOR, file.string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.substr(0, outcome.out.find('\n')), "0") << outcome.out;
}

INSTANTIATE_TEST_SUITE_P(Polyhedra, ModelOf, testing::ValuesIn(testing_support::testPolyhedra()),
                         RowName());

TEST(ModelType, ComesFromTheNameAlone) {
    const std::vector<std::pair<const char*, std::optional<ModelType>>> cases = {
        {"a.off", ModelType::off}, {"d/a.OBJ", ModelType::obj}, {"a.b.Stl", ModelType::stl},
        {"a.glb", ModelType::glb}, {"a.gltf", std::nullopt},    {".glb", std::nullopt},
        {"d/.off", std::nullopt},  {"a.obj/", std::nullopt},    {"-", std::nullopt},
    };
    for (const auto& [name, type] : cases) {
        EXPECT_EQ(modelTypeOf(name), type) << name;
    }
}

TEST(WriteModel, RefusesAndLeavesEveryFileAsItWas) {
    const Polyhedron cube = testing_support::cube().polyhedron;
    const fs::path folder = scratchFolder("model-refused");
    for (const char* name : {"m.off", "m.obj", "m.stl", "m.glb"}) {
        EXPECT_THROW(writeModel(folder / "missing" / name, cube), WriteError) << name;
    }
    EXPECT_THROW_MSG(writeModel(folder / "m.svg", cube), std::invalid_argument,
                     "cannot tell the model type of '" + (folder / "m.svg").string() +
                         "': use a name ending in .off, .obj, .stl or .glb");
    EXPECT_THROW_MSG(writeModel(folder / "m.off", Polyhedron{}), std::invalid_argument,
                     "a polyhedron without faces makes no model");
    // The materials cannot be written where a folder has their name: the OBJ is kept as it was.
    fs::create_directory(folder / "m.mtl");
    std::ofstream(folder / "m.obj") << "old";
    EXPECT_THROW(writeModel(folder / "m.obj", cube), WriteError);
    EXPECT_EQ(slurp((folder / "m.obj").string()), "old");
    EXPECT_EQ(testing_support::namesIn(folder), (std::vector<std::string>{"m.mtl", "m.obj"}));
    // Nor the materials, when the OBJ cannot be written.
    const fs::path other = scratchFolder("model-refused-obj");
    fs::create_directory(other / "m.obj");
    std::ofstream(other / "m.mtl") << "old";
    EXPECT_THROW(writeModel(other / "m.obj", cube), WriteError);
    EXPECT_EQ(slurp((other / "m.mtl").string()), "old");
    EXPECT_EQ(testing_support::namesIn(other), (std::vector<std::string>{"m.mtl", "m.obj"}));
}

}  // namespace
}  // namespace vantu
