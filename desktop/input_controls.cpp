// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "desktop/input_controls.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <QLocale>

#include "desktop/qt_values.h"
#include "geometry/projection.h"
#include "geometry/text.h"
#include "setup/triangle_code.h"
#include "setup/triangle_notation.h"

namespace vantu {

InputControls::InputControls(QComboBox* code, std::array<QRadioButton*, 3> rotation,
                             QCheckBox* reverse, QLineEdit* scale,
                             std::array<QRadioButton*, 3> projection, Style style)
    : m_code(code),
      m_rotation(rotation),
      m_reverse(reverse),
      m_scale(scale),
      m_projection(projection),
      m_style(std::move(style)) {
    // An unsorted list that never takes typed text as a new entry, and no completion: the
    // text in the field is exactly what was picked or typed.
    m_code->setEditable(true);
    m_code->setInsertPolicy(QComboBox::NoInsert);
    m_code->setCompleter(nullptr);
    describe(m_code, m_style.codeToolTip, m_style.codeName);
    // On Linux a combo box's accessible name is its text; its field has the name of its own.
    m_code->lineEdit()->setAccessibleName(m_style.codeName);

    const char* const turns[] = {"The angles in the code's order",
                                 "The angles turned once: second, third, first",
                                 "The angles turned twice: third, first, second"};
    for (std::size_t i = 0; i < m_rotation.size(); ++i) {
        m_rotation[i]->setText(QString::number(i));
        describe(m_rotation[i], QString::fromUtf8(turns[i]), QStringLiteral("Rotation %1").arg(i));
    }
    m_reverse->setText(QStringLiteral("reverse"));
    describe(m_reverse,
             QStringLiteral("Swap the first two angles after the rotation: the mirror image"),
             QStringLiteral("Reverse"));
    describe(m_scale, m_style.scaleToolTip, QStringLiteral("Scale R in pixels"));
    for (std::size_t i = 0; i < m_projection.size(); ++i) {
        m_projection[i]->setText(qText(sphereProjectionNames[i].name));
    }
    nameProjections(Geometry::spherical);
}

std::vector<std::pair<QRadioButton*, Projection>> InputControls::projectionButtons() const {
    std::vector<std::pair<QRadioButton*, Projection>> buttons;
    for (std::size_t i = 0; i < m_projection.size(); ++i) {
        buttons.emplace_back(m_projection[i], sphereProjectionNames[i].projection);
    }
    if (m_halfPlane != nullptr) {
        buttons.emplace_back(m_halfPlane, Projection::halfplane);
    }
    return buttons;
}

void InputControls::addHalfPlane(QRadioButton* button) {
    m_halfPlane = button;
    m_halfPlane->setText(qText(projectionName(Projection::halfplane)));
    nameProjections(m_named);
}

void InputControls::nameProjections(Geometry geometry) {
    m_named = geometry;
    for (const auto& [button, option] : projectionButtons()) {
        // As projectionToolTip writes the sphere's: "Poincaré disk: ...".
        const ProjectionWords words = projectionWords(option, geometry);
        const std::optional<std::string> refusal = projectionRefusal(option, geometry);
        describe(button,
                 refusal ? qText(*refusal)
                         : qText(words.title) + QStringLiteral(": ") + qText(words.description),
                 qText(words.title));
        button->setEnabled(!refusal);
    }
}

void InputControls::fillCatalogue(const QString& shown) {
    for (const std::string_view code : catalogue) {
        m_code->addItem(qText(code));
    }
    // Adding to an empty list selects the new entry; the box starts with none selected.
    m_code->setCurrentIndex(-1);
    m_code->setEditText(shown);
}

void InputControls::show(const DrawRequest& request) {
    m_code->setEditText(QString::fromStdString(request.triangleCode));
    m_rotation[request.rotation == 1 ? 1 : request.rotation == 2 ? 2 : 0]->setChecked(true);
    m_reverse->setChecked(request.reverse);
    showScale(request.scale);
    for (const auto& [button, option] : projectionButtons()) {
        button->setChecked(option == request.projection);
    }
}

void InputControls::showScale(double value) {
    const QString text = QString::fromStdString(formatNumber(value));
    m_scale->setText(m_style.localNumbers ? withLocalPoint(text, m_scale->locale()) : text);
}

DrawRequest InputControls::choices() const {
    DrawRequest request;
    request.triangleCode = m_code->currentText().toStdString();
    request.notation =
        m_style.eitherNotation ? notationOf(request.triangleCode) : TriangleNotation::code;
    request.rotation = m_rotation[1]->isChecked() ? 1 : m_rotation[2]->isChecked() ? 2 : 0;
    // A third state, which the window never gives, is not "reverse".
    request.reverse = m_reverse->checkState() == Qt::Checked;
    for (const auto& [button, option] : projectionButtons()) {
        if (button->isChecked()) {
            request.projection = option;
        }
    }
    return request;
}

DrawRequest InputControls::request() const {
    DrawRequest request = choices();
    QString text = m_scale->text();
    if (m_style.localNumbers) {
        text.replace(m_scale->locale().decimalPoint(), QStringLiteral("."));
    }
    request.scale = readScale(text.toStdString());
    return request;
}

}  // namespace vantu
