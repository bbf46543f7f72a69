// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-polyhedron-picture: the Explorer's 3D view of a Wythoff symbol's polyhedron, saved as a
// PNG, for the README's pictures (scripts/readme-polyhedra.sh).
//
//   vantu-polyhedron-picture "SYMBOL" SIZE LON,LAT,ROLL FILE.png
//
// Shows the polyhedron in a PolyhedronView of SIZE x SIZE window pixels turned by the view, as
// the Explorer's dock shows it, and saves what it paints. Exits with status 0 once the file is
// written, 1 when it cannot be, and 2 for a symbol, size or view it cannot read. It needs
// OpenGL: run it on a display that offers it (xvfb-run with Mesa's software renderer).

#include <cstdio>
#include <exception>

#include <QApplication>
#include <QImage>
#include <QStringList>
#include <QTest>

#include "explorer/polyhedron_view.h"
#include "polyhedron/wythoff.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    const QStringList angles = args.size() == 5 ? args[3].split(QLatin1Char(',')) : QStringList();
    bool sized = false;
    const int size = args.size() == 5 ? args[2].toInt(&sized) : 0;
    vantu::View view;
    bool turned = angles.size() == 3;
    for (qsizetype i = 0; turned && i < 3; ++i) {
        double& angle = i == 0 ? view.lon : i == 1 ? view.lat : view.roll;
        angle = angles[i].toDouble(&turned);
    }
    if (!sized || size < 16 || size > 4096 || !turned) {
        std::fputs("usage: vantu-polyhedron-picture \"SYMBOL\" SIZE LON,LAT,ROLL FILE.png\n",
                   stderr);
        return 2;
    }
    vantu::Polyhedron polyhedron;
    try {
        polyhedron = vantu::buildPolyhedron(vantu::parseWythoffSymbol(args[1].toStdString()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantu-polyhedron-picture: %s\n", e.what());
        return 2;
    }
    vantu::explorer::PolyhedronView shown;
    shown.resize(size, size);
    shown.setView(view);
    shown.show();
    if (!QTest::qWaitForWindowExposed(&shown)) {
        std::fputs("vantu-polyhedron-picture: the view was never shown\n", stderr);
        return 1;
    }
    shown.setPolyhedron(&polyhedron);
    const QImage image = shown.grabFramebuffer();
    if (image.isNull() || !image.save(args[4], "PNG")) {
        std::fprintf(stderr, "vantu-polyhedron-picture: cannot write %s\n", qPrintable(args[4]));
        return 1;
    }
    return 0;
}
