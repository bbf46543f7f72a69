// vantu: the Vantu window. Takes Qt's own options, --help and --version, and nothing else.

#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>

#include "window/application.h"
#include "window/form1.h"

int main(int argc, char* argv[]) {
    vantu::prepareApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantu"));
    QApplication::setApplicationVersion(QStringLiteral(VANTU_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vantu"));

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
