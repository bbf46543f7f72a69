// vantu: the Vantu window. Takes Qt's own options, --help and --version, and nothing else.

#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>
#include <QDirIterator>
#include <QIcon>

#include "window/application.h"
#include "window/form1.h"

int main(int argc, char* argv[]) {
    vantu::prepareApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantu"));
    QApplication::setApplicationVersion(QStringLiteral(VANTU_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vantu"));
    // The start-up picture in each size the build made of it (vantu_icon, from packaging/).
    QIcon icon;
    for (QDirIterator it(QStringLiteral(":/icons")); it.hasNext();) {
        icon.addFile(it.next());
    }
    QApplication::setWindowIcon(icon);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints the sphere seen through a kaleidoscope of three mirrors."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "vantu: takes no arguments: %s\n",
                     qPrintable(parser.positionalArguments().join(u' ')));
        return 2;
    }

    vantu::Form1 form;
    form.show();
    return QApplication::exec();
}
