// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The core's values in Qt's types, for both windows.

#include <string_view>

#include <QColor>
#include <QString>

#include "geometry/raster.h"

namespace vantu {

// UTF-8 `text` as Qt's string.
[[nodiscard]] inline QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A packed colour as Qt's opaque 0xffRRGGBB.
[[nodiscard]] constexpr QRgb qRgbOf(PackedColour colour) noexcept {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

// A packed colour as Qt's colour.
[[nodiscard]] inline QColor qColourOf(PackedColour colour) {
    return QColor::fromRgb(qRgbOf(colour));
}

// Qt's colour packed, its alpha left out.
[[nodiscard]] constexpr PackedColour packedOf(QRgb rgb) noexcept {
    return packColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

}  // namespace vantu
