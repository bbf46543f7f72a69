// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The core's values in Qt's types, and a widget's words, for both windows.

#include <string_view>

#include <QColor>
#include <QLocale>
#include <QString>
#include <QWidget>

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

// `text` with every '.' written as the locale's decimal point.
[[nodiscard]] inline QString withLocalPoint(QString text, const QLocale& locale) {
    return text.replace(u'.', locale.decimalPoint());
}

// `widget` gets its tooltip and its name for screen readers.
inline void describe(QWidget* widget, const QString& toolTip, const QString& accessibleName) {
    widget->setToolTip(toolTip);
    widget->setAccessibleName(accessibleName);
}

}  // namespace vantu
