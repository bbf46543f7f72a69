// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Pictures into files, and the dialogs of "Save Picture As...", for both windows; polyhedra into
// model files, and "Save Polyhedron As...".

#include <functional>
#include <optional>

#include <QImage>
#include <QString>

#include "export/picture_writer.h"
#include "polyhedron/polyhedron.h"

class QWidget;

namespace vantu {

// Writes `picture` to `path` as a file of `type` with vantu-render's writer, atomically: into a
// temporary file beside it, synced, then renamed over `path`, so that a failure leaves whatever
// was there before. A PNG has an 8-bit palette when the picture has at most 256 colours, else
// RGB. A FIFO that nobody reads is refused at once, and a reader is waited for at most a second
// in all (ReaderWait::briefly), so that the interface thread never hangs on a file. Returns
// nothing when the file is written, else the reason it is not, in the system's words.
[[nodiscard]] std::optional<QString> savePicture(const QImage& picture, const QString& path,
                                                 PictureType type = PictureType::png);

// Which files "Save Picture As..." writes.
enum class SavedTypes {
    png,        // a PNG, whatever the name
    pngOrWebp,  // a PNG or a WebP as the name ends, and no other name
    models,     // a polyhedron: OFF, OBJ, STL or glTF binary as the name ends (writeModel)
};

// How saving a picture talks to the user.
struct SaveDialogs {
    // Asks for the file to save to, proposing the path `proposed`; "" when the user cancels.
    std::function<QString(QWidget* window, const QString& proposed)> askFileName;
    // Tells the user that the picture could not be saved to `path`, and why.
    std::function<void(QWidget* window, const QString& path, const QString& reason)> reportFailure;
};

// The platform's file dialog, for files of `types`, and showSaveErrorBox (showModelSaveErrorBox
// for models).
[[nodiscard]] SaveDialogs platformSaveDialogs(SavedTypes types);

// "Save Picture As...": asks through `dialogs` for a file, proposing `name` in the user's pictures
// folder, and writes `picture` there (savePicture); tells the user through `dialogs` when it
// cannot. Does nothing more when the user cancels.
void savePictureAs(QWidget* window, const QImage& picture, const QString& name,
                   const SaveDialogs& dialogs, SavedTypes types);

// Writes `polyhedron` to `path` as the model its name asks for (writeModel), atomically, a reader
// of a FIFO waited for briefly. Returns nothing when the file is written, else the reason it is
// not: the system's words, or "cannot tell the model type of 'NAME': " and modelTypeAdvice.
[[nodiscard]] std::optional<QString> saveModel(const Polyhedron& polyhedron, const QString& path);

// "Save Polyhedron As...": as savePictureAs, proposing `name` in the user's documents folder and
// writing the file with saveModel.
void savePolyhedronAs(QWidget* window, const Polyhedron& polyhedron, const QString& name,
                      const SaveDialogs& dialogs);

}  // namespace vantu
