// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "setup/draw_request.h"

namespace vantu {

// The drawing's five inputs as controls, the same in both windows: the triangle's box, the
// rotation's three buttons, "reverse", R's box and the projection's three buttons (in the order
// of projectionNames), and in the Explorer a fourth, "halfplane", which only the hyperbolic plane
// has (addHalfPlane). Each window makes and places them; the group gives them their captions,
// tooltips and names for screen readers and the catalogue, and reads them into a DrawRequest.
class InputControls {
public:
    // What the windows say and read differently.
    struct Style {
        QString codeToolTip;
        QString codeName;  // for screen readers
        QString scaleToolTip;
        bool eitherNotation = false;  // the triangle as a code or in the usual notation "p q r"
        bool localNumbers = false;    // R with the locale's decimal point, and '.' as well
    };

    InputControls(QComboBox* code, std::array<QRadioButton*, 3> rotation, QCheckBox* reverse,
                  QLineEdit* scale, std::array<QRadioButton*, 3> projection, Style style);

    // The tooltips of the frames or labels of the rotation and the projection.
    inline static const QString rotationToolTip =
        QStringLiteral("Which of the code's angles comes first");
    inline static const QString projectionsToolTip = QStringLiteral("How the sphere is laid flat");

    // Fills the triangle's box with the catalogue, with no entry selected and `shown` as its text.
    void fillCatalogue(const QString& shown);

    // Adds `button` as the projection's fourth button, "halfplane", after the sphere's three; a
    // group without it (Form1's) has those three alone.
    void addHalfPlane(QRadioButton* button);

    // The projection's buttons are described, in their tooltips and to screen readers, by the
    // model each shows in `geometry` ("Poincaré disk"); their captions stay the options' names.
    // A button that cannot show `geometry` ("halfplane" on the sphere) is disabled, its tooltip
    // saying why (projectionRefusal).
    void nameProjections(Geometry geometry);

    // The controls show `request`.
    void show(const DrawRequest& request);

    // R's box shows `value`, written so that it reads back as the same double.
    void showScale(double value);

    // The controls' choices, with R left at its default: what names a picture.
    [[nodiscard]] DrawRequest choices() const;

    // The five inputs as a drawing reads them. Throws DrawError for an R beyond the doubles.
    [[nodiscard]] DrawRequest request() const;

private:
    QComboBox* m_code;
    std::array<QRadioButton*, 3> m_rotation;
    QCheckBox* m_reverse;
    QLineEdit* m_scale;
    std::array<QRadioButton*, sphereProjectionCount> m_projection;
    QRadioButton* m_halfPlane = nullptr;  // the fourth button, when there is one
    Style m_style;
    Geometry m_named = Geometry::spherical;  // what nameProjections last named them for

    // Each projection's button, with the projection it chooses.
    [[nodiscard]] std::vector<std::pair<QRadioButton*, Projection>> projectionButtons() const;
};

}  // namespace vantu
