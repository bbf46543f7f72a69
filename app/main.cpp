// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu: the Vantu window, or with --explore the Explorer alone. Takes Qt's own options, --help,
// --help-all, --version and --explore, and nothing else.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDirIterator>
#include <QIcon>

#include "drawing/draw_procedure.h"
#include "explorer/explorer.h"
#include "export/process.h"
#include "geometry/text.h"
#include "render/kernel_variant.h"
#include "window/application.h"
#include "window/form1.h"

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Vantu"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTU_VERSION));
}

// What the command line asks for, beyond Qt's own options.
struct Wishes {
    bool explore = false;  // the Explorer alone
};

// Reads the command line; shows the help or the version and exits when asked to. Exits with
// status 2 for an argument that is not an option, whatever else the line asks for.
Wishes processCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints the sphere seen through a kaleidoscope of three mirrors."));
    // Qt's options are words after one dash, such as -platform.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption explore(
        QStringLiteral("explore"),
        QStringLiteral("Open the Explorer alone, at the start-up picture: a window whose sphere "
                       "turns under the mouse. Closing it ends the program."));
    parser.addOption(explore);
    // Qt's own option, which the window's QApplication has already taken; without a window it
    // is accepted all the same.
    QCommandLineOption platform(QStringLiteral("platform"), QString(), QStringLiteral("NAME"));
    platform.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(platform);
    if (parser.parse(QCoreApplication::arguments()) && !parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "vantu: takes no arguments: %s\n",
                     qPrintable(parser.positionalArguments().join(u' ')));
        std::exit(2);
    }
    parser.process(app);
    return Wishes{parser.isSet(explore)};
}

// For the tests that drive the real window: with VANTU_EXPLORER_TRACE set, each frame the
// Explorer shows is told on the standard error as the vantu-render options of its view, scale,
// size and ratio, then where its top-left pixel lies in the window, in the screen's pixels:
// "explorer frame: --view 30,-15,0 --scale 120 --size 786x621 --zoom 1 at 254,28".
void traceFrames(vantu::explorer::Explorer& explorer) {
    if (qEnvironmentVariableIsEmpty("VANTU_EXPLORER_TRACE")) {
        return;
    }
    QObject::connect(&explorer.frames(), &vantu::explorer::FrameSource::frameReady, &explorer,
                     [&explorer](const vantu::explorer::Frame& frame) {
                         const vantu::PictureDescription& d = frame.description;
                         const auto n = [](double v) { return vantu::formatNumber(v); };
                         const QPoint at = explorer.picture->mapTo(&explorer, QPoint(0, 0)) *
                                               explorer.picture->devicePixelRatioF() +
                                           explorer.picture->frameOrigin();
                         std::fprintf(stderr,
                                      "explorer frame: --view %s,%s,%s --scale %s --size %dx%d "
                                      "--zoom %s at %d,%d\n",
                                      n(d.view.lon).c_str(), n(d.view.lat).c_str(),
                                      n(d.view.roll).c_str(), n(d.request.scale).c_str(),
                                      d.size.width, d.size.height, n(d.sampling.ratio).c_str(),
                                      at.x(), at.y());
                     });
}

}  // namespace

int main(int argc, char* argv[]) {
    vantu::prepareProcess();
    // The help and the version are printed by Qt, which then exits.
    vantu::checkStandardOutputAtExit();
    const vantu::CommandLineNeeds needs = vantu::commandLineNeeds(argc, argv);
    if (needs.textOnly) {
        if (needs.helpAll && (!needs.platformOption || !vantu::missingDisplay(needs.platform))) {
            // Qt's options for windows are those of a QApplication, which needs no screen on
            // the offscreen platform.
            if (!needs.platformOption) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            const auto app = vantu::startApplication(argc, argv, needs);
            nameApplication();
            processCommandLine(*app);
            return 0;
        }
        const QCoreApplication app(argc, argv);
        nameApplication();
        processCommandLine(app);
        return 0;
    }
    if (const auto problem = vantu::missingDisplay(needs.platform)) {
        std::fprintf(stderr, "vantu: cannot open a display: %s\n", problem->c_str());
        return 1;
    }
    if (const auto problem = vantu::kernelChoiceError()) {
        std::fprintf(stderr, "vantu: %s\n", problem->c_str());
        return 1;
    }
    vantu::prepareApplication();
    const auto app = vantu::startApplication(argc, argv, needs);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("vantu"));
    // The start-up picture in each size the build made of it (vantu_icon, from packaging/).
    QIcon icon;
    for (QDirIterator it(QStringLiteral(":/icons")); it.hasNext();) {
        icon.addFile(it.next());
    }
    QApplication::setWindowIcon(icon);
    const Wishes wishes = processCommandLine(*app);

    if (wishes.explore) {
        // The start-up picture; closing the Explorer, the last window, ends the program.
        vantu::explorer::Explorer explorer;
        traceFrames(explorer);
        explorer.show();
        return QApplication::exec();
    }
    vantu::Form1 form;
    // Each Explorer opened from the main window is a window of its own that goes when it is
    // closed, and with the main window at the latest.
    form.setExploreHandler([&form](const vantu::DrawRequest& request) {
        auto* explorer =
            new vantu::explorer::Explorer(vantu::PictureDescription{request, {}, {}, {}}, &form);
        explorer->setAttribute(Qt::WA_DeleteOnClose);
        explorer->show();
    });
    form.show();
    return QApplication::exec();
}
