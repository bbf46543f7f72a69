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

}  // namespace
}  // namespace detail

std::optional<QString> savePicture(const QImage& picture, const QString& path, PictureType type) {
    try {
        const QImage image = picture.convertToFormat(QImage::Format_RGB32);
        if (image.isNull()) {
            return notEnoughMemory();
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
            std::filesystem::path(QFile::encodeName(path).toStdString()), type, format,
            [&image](int row, std::span<PackedColour> out) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
                std::transform(line, line + out.size(), out.begin(), detail::packed);
            },
            ReaderWait::briefly);  // the interface thread never hangs on a reader
    } catch (const WriteError& e) {
        return QString::fromStdString(e.reason());
    } catch (const std::bad_alloc&) {
        return notEnoughMemory();
    } catch (const std::invalid_argument& e) {
        return QString::fromStdString(e.what());
    }
    return std::nullopt;
}

SaveDialogs platformSaveDialogs(SavedTypes types) {
    const QString filter = types == SavedTypes::png
                               ? QStringLiteral("PNG images (*.png)")
                               : QStringLiteral("PNG images (*.png);;WebP images (*.webp)");
    return {[filter](QWidget* window, const QString& proposed) {
                return QFileDialog::getSaveFileName(window, QStringLiteral("Save Picture As"),
                                                    proposed, filter);
            },
            showSaveErrorBox};
}

void savePictureAs(QWidget* window, const QImage& picture, const QString& name,
                   const SaveDialogs& dialogs, SavedTypes types) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path = dialogs.askFileName(window, QDir(folder).filePath(name));
    if (path.isEmpty()) {
        return;
    }
    const std::optional<PictureType> type =
        types == SavedTypes::png ? PictureType::png
                                 : pictureTypeOf(QFile::encodeName(path).toStdString());
    const std::optional<QString> reason =
        type ? savePicture(picture, path, *type) : qText(pictureTypeAdvice);
    if (reason) {
        dialogs.reportFailure(window, path, *reason);
    }
}

}  // namespace vantu
