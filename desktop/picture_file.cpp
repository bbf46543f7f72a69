// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "desktop/picture_file.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

#include "desktop/error_reporter.h"
#include "desktop/qt_values.h"
#include "export/file_name.h"
#include "export/model_file.h"
#include "export/output_file.h"
#include "export/picture_writer.h"

namespace vantu {
namespace detail {
namespace {

PackedColour packed(QRgb rgb) noexcept {
    return packColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// The colours of `image` in the order they first appear, or nothing when there are more than a
// palette holds.
std::vector<PackedColour> paletteOf(const QImage& image) {
    std::vector<PackedColour> colours;
    for (int row = 0; row < image.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        PackedColour last = -1;
        for (int col = 0; col < image.width(); ++col) {
            const PackedColour c = packed(line[col]);
            if (c != last && std::find(colours.begin(), colours.end(), c) == colours.end()) {
                if (colours.size() == 256) {
                    return {};
                }
                colours.push_back(c);
            }
            last = c;
        }
    }
    return colours;
}

// Why `write` could not write its file, in words for the error box; nothing when it did.
template <class Write>
std::optional<QString> failureOf(Write write) {
    try {
        write();
    } catch (const WriteError& e) {
        return QString::fromStdString(e.reason());
    } catch (const std::bad_alloc&) {
        return notEnoughMemory();
    } catch (const std::invalid_argument& e) {
        return QString::fromStdString(e.what());
    }
    return std::nullopt;
}

}  // namespace
}  // namespace detail

std::optional<QString> savePicture(const QImage& picture, const QString& path, PictureType type) {
    return detail::failureOf([&] {
        const QImage image = picture.convertToFormat(QImage::Format_RGB32);
        if (image.isNull()) {
            throw std::bad_alloc();
        }
        // Written as vantu-render writes its pictures: a PNG has a palette when the colours fit
        // in one.
        PngFormat format;
        format.width = image.width();
        format.height = image.height();
        if (type == PictureType::png) {
            format.palette = detail::paletteOf(image);
        }
        writePicture(
            filePath(QFile::encodeName(path).toStdString()), type, format,
            [&image](int row, std::span<PackedColour> out) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
                std::transform(line, line + out.size(), out.begin(), detail::packed);
            },
            ReaderWait::briefly);  // the interface thread never hangs on a reader
    });
}

std::optional<QString> saveModel(const Polyhedron& polyhedron, const QString& path) {
    return detail::failureOf([&] {
        writeModel(filePath(QFile::encodeName(path).toStdString()), polyhedron,
                   ModelOptions{ReaderWait::briefly});
    });
}

SaveDialogs platformSaveDialogs(SavedTypes types) {
    QString title = QStringLiteral("Save Picture As");
    QString filter;
    switch (types) {
        case SavedTypes::png:
            filter = QStringLiteral("PNG images (*.png)");
            break;
        case SavedTypes::pngOrWebp:
            filter = QStringLiteral("PNG images (*.png);;WebP images (*.webp)");
            break;
        case SavedTypes::models:
            title = QStringLiteral("Save Polyhedron As");
            filter = QStringLiteral(
                "OFF models (*.off);;OBJ models (*.obj);;STL models (*.stl);;glTF binary models "
                "(*.glb)");
            break;
    }
    return {[title, filter](QWidget* window, const QString& proposed) {
                return QFileDialog::getSaveFileName(window, title, proposed, filter);
            },
            types == SavedTypes::models ? showModelSaveErrorBox : showSaveErrorBox};
}

namespace {

// The flow of every "Save ... As": the file asked for, proposing `name` in `folder`, written by
// `write`, which returns why it could not be; nothing more when the user cancels.
void saveAs(QWidget* window, const QString& name, QStandardPaths::StandardLocation folder,
            const SaveDialogs& dialogs,
            const std::function<std::optional<QString>(const QString& path)>& write) {
    const QString path =
        dialogs.askFileName(window, QDir(QStandardPaths::writableLocation(folder)).filePath(name));
    if (path.isEmpty()) {
        return;
    }
    if (const std::optional<QString> reason = write(path)) {
        dialogs.reportFailure(window, path, *reason);
    }
}

}  // namespace

void savePictureAs(QWidget* window, const QImage& picture, const QString& name,
                   const SaveDialogs& dialogs, SavedTypes types) {
    saveAs(window, name, QStandardPaths::PicturesLocation, dialogs, [&](const QString& path) {
        const std::optional<PictureType> type =
            types == SavedTypes::png ? PictureType::png
                                     : pictureTypeOf(QFile::encodeName(path).toStdString());
        return type ? savePicture(picture, path, *type) : qText(pictureTypeAdvice);
    });
}

void savePolyhedronAs(QWidget* window, const Polyhedron& polyhedron, const QString& name,
                      const SaveDialogs& dialogs) {
    saveAs(window, name, QStandardPaths::DocumentsLocation, dialogs,
           [&](const QString& path) { return saveModel(polyhedron, path); });
}

}  // namespace vantu
