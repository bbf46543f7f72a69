// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/reading_panels.h"

#include <cstddef>
#include <string>

#include <QGridLayout>

#include "desktop/error_reporter.h"
#include "desktop/qt_values.h"

#include "render/colour_legend.h"
#include "setup/triangle_facts.h"

namespace vantu::explorer {
namespace {

// A label that wraps its words, for the legend's headings.
QLabel* wrapped(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

}  // namespace

FactsPanel::FactsPanel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("facts"));
    describe(this,
             QStringLiteral("The triangle's angles, sides and area, and the group its mirrors "
                            "generate, as vantu-render --info gives them"),
             QStringLiteral("Facts of the triangle"));
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setMargin(4);
}

namespace {

// The lines of the facts `facts` gives, or the message of what it throws.
template <class Facts>
QString factsTextOf(const Facts& facts) {
    try {
        return QString::fromStdString(factLines(facts())).chopped(1);
    } catch (...) {
        return failureSentence();
    }
}

}  // namespace

QString factsText(const DrawRequest& request) {
    return factsTextOf([&request] { return triangleFacts(request); });
}

QString factsText(const PreparedPicture& picture) {
    return factsTextOf([&picture] { return picture.facts(); });
}

LegendPanel::LegendPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("legend"));
    setAccessibleName(QStringLiteral("Legend of the colours"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    // A column per brightness, brightest first, headed by the cells it stands for, after the
    // column of the hues.
    for (int k = 4; k >= 1; --k) {
        QLabel* heading = wrapped(k == 4 ? QStringLiteral("hue") : QString());
        heading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        // Room for the words over three lines: a grid gives a wrapped label one otherwise.
        heading->setMinimumHeight(3 * heading->fontMetrics().lineSpacing());
        grid->addWidget(heading, 0, 4 - k);
        if (k < 4) {
            m_headings.push_back(heading);
        }
    }
    const auto meanings = legend();
    for (std::size_t i = 0; i < meanings.size(); ++i) {
        const ColourMeaning& m = meanings[i];
        const int row = 1 + static_cast<int>(i / 3);
        if (i % 3 == 0) {
            // A row per hue, headed by the order of its distances.
            grid->addWidget(wrapped(qText(m.order)), row, 0);
        }
        const QString colour = QColor(qRgbOf(m.colour)).name();
        auto* entry = new QLabel(
            QStringLiteral("<span style=\"background-color: %1\">&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
                           "</span>&nbsp;%2")
                .arg(colour, qText(m.name)));
        entry->setTextFormat(Qt::RichText);
        grid->addWidget(entry, row, 1 + static_cast<int>(i % 3));
        m_entries.push_back(entry);
    }
    QLabel* note = wrapped(qText(distanceNote) + QStringLiteral("."));
    grid->addWidget(note, 1 + static_cast<int>(meanings.size() / 3), 0, 1, 4);
    // The hues' words on one line where there is room, the brightnesses' over two.
    grid->setColumnStretch(0, 3);
    for (int column = 1; column < 4; ++column) {
        grid->setColumnStretch(column, 2);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    showGeometry(Geometry::spherical);
}

void LegendPanel::showGeometry(Geometry geometry) {
    for (std::size_t i = 0; i < m_headings.size(); ++i) {
        m_headings[i]->setText(qText(sideCountWords(3 - static_cast<int>(i), geometry)));
    }
    const auto meanings = legend(geometry);
    for (std::size_t i = 0; i < meanings.size(); ++i) {
        const QString words = QString::fromStdString(meaningWords(meanings[i]));
        describe(m_entries[i], words, words);
    }
}

}  // namespace vantu::explorer
