// vantu: the Vantu window. Takes Qt's own options, --help and --version, and nothing else.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDirIterator>
#include <QIcon>

#include "window/application.h"
#include "window/form1.h"

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Vantu"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTU_VERSION));
}

// Reads the command line; shows the help or the version and exits when asked to.
void processCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints the sphere seen through a kaleidoscope of three mirrors."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "vantu: takes no arguments: %s\n",
                     qPrintable(parser.positionalArguments().join(u' ')));
        std::exit(2);
    }
}

// Whether the command line only asks for the help or the version, which need no display.
bool asksForTextOnly(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--version" || arg == "-v") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (asksForTextOnly(argc, argv)) {
        const QCoreApplication app(argc, argv);
        nameApplication();
        processCommandLine(app);
        return 0;
    }
    vantu::prepareApplication();
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("vantu"));
    // The start-up picture in each size the build made of it (vantu_icon, from packaging/).
    QIcon icon;
    for (QDirIterator it(QStringLiteral(":/icons")); it.hasNext();) {
        icon.addFile(it.next());
    }
    QApplication::setWindowIcon(icon);
    processCommandLine(app);

    vantu::Form1 form;
    form.show();
    return QApplication::exec();
}
