// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// A polyhedron as a 3D model file: OFF, OBJ with its materials, binary STL and binary glTF,
// each written completely or not at all through OutputFile.

#include <filesystem>
#include <optional>
#include <string_view>

#include "export/output_file.h"
#include "polyhedron/polyhedron.h"

namespace vantu {

// The types of model file.
enum class ModelType {
    off,  // the polyhedron toolkits' and Geomview's: each face one polygon and its colour
    obj,  // Wavefront's, each face one polygon, with its materials beside it in NAME.mtl
    stl,  // binary, the faces filled with triangles
    glb,  // binary glTF 2.0: one mesh, one primitive of triangles per face type
};

// The type a file name asks for: ".off", ".obj", ".stl" or ".glb" in any case; nothing for any
// other name, nor for one that is nothing but its ending. modelTypeAdvice (export/file_name.h)
// tells a user what to give instead.
[[nodiscard]] std::optional<ModelType> modelTypeOf(std::string_view name) noexcept;

// How writeModel writes.
struct ModelOptions {
    // How long a FIFO or pipe may keep the writing waiting (see ReaderWait): `briefly` for a
    // window's thread.
    ReaderWait wait = ReaderWait::unbounded;
};

// Writes `polyhedron` at `path` as the model its name asks for (modelTypeOf). The points are the
// polyhedron's vertices as they are, the faces' colours faceColour's, one per face type; text
// files write each number so that it reads back as the same double.
//
// OFF and OBJ keep each face as one polygon, its vertices in the face's own order (a pentagram
// five vertices in star order). STL and glTF fill each face with fillFace's triangles, turned
// outwards.
//
// An OBJ's materials go to the name with ".mtl" for its ending, beside it, which the OBJ names.
// Both files are written and closed before either replaces its target, the .mtl first: a failure
// up to then leaves both targets as they were; only when the OBJ cannot be renamed over its own
// after the .mtl was is the new .mtl left beside the old OBJ.
//
// Throws std::invalid_argument for a name of no model type ("cannot tell the model type of
// 'x.svg': use a name ending in .off, .obj, .stl or .glb"), a polyhedron without faces and
// whatever fillFace refuses, WriteError naming the file with the reason, and std::bad_alloc. On
// any exception the files at `path` (and its .mtl) are as they were, except as said above.
void writeModel(const std::filesystem::path& path, const Polyhedron& polyhedron,
                const ModelOptions& options = {});

}  // namespace vantu
