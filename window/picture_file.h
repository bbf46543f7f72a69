// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include <QImage>
#include <QString>

namespace vantu {

// Writes `picture` to `path` as a PNG with vantu-render's writer, atomically: into a temporary
// file beside it, synced, then renamed over `path`, so that a failure leaves whatever was there
// before. An 8-bit palette when the picture has at most 256 colours, else RGB. Returns nothing
// when the file is written, else the reason it is not, in the system's words.
[[nodiscard]] std::optional<QString> savePicture(const QImage& picture, const QString& path);

}  // namespace vantu
