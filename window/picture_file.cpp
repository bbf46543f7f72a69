#include "window/picture_file.h"

#include <QSaveFile>

namespace vantu {

std::optional<QString> savePicture(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (!picture.save(&file, "PNG")) {
        // The PNG writer reports no reason of its own; a failed write leaves one in the file.
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("the picture could not be encoded as PNG");
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

}  // namespace vantu
