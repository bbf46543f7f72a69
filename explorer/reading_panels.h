// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include <QLabel>
#include <QWidget>

#include "drawing/prepared_picture.h"
#include "geometry/geometry.h"
#include "setup/draw_request.h"

namespace vantu::explorer {

// The facts of the triangle drawn, as vantu-render --info prints them (factsText), selectable.
class FactsPanel : public QLabel {
    Q_OBJECT

public:
    explicit FactsPanel(QWidget* parent = nullptr);
};

// The facts of the triangle of `request`: the "key: value" lines of factLines without the last
// newline, or the message that says why the triangle has none. May take tens of milliseconds,
// for a triangle whose images are dense on the sphere.
[[nodiscard]] QString factsText(const DrawRequest& request);

// The same for the triangle of `picture`, from the set-up solved for it.
[[nodiscard]] QString factsText(const PreparedPicture& picture);

// The legend of the colours: the 21 colours a point gets, brightness by hue (a row per hue,
// brightest first), each with its meaning in words (colourMeaning), those of the geometry shown.
class LegendPanel : public QWidget {
    Q_OBJECT

public:
    explicit LegendPanel(QWidget* parent = nullptr);

    // Gives the headings and the colours' meanings the words of `geometry` (the sphere's at
    // first).
    void showGeometry(Geometry geometry);

    // The colours in the order of legend(), each a swatch and its hue's name, whose tooltip and
    // accessible name are the colour's meaningWords.
    [[nodiscard]] const std::vector<QLabel*>& entries() const noexcept { return m_entries; }

private:
    std::vector<QLabel*> m_headings;  // of side count 3, 2 and 1
    std::vector<QLabel*> m_entries;
};

}  // namespace vantu::explorer
