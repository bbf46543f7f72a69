// vantu: the Vantu window.

#include <QApplication>

#include "window/application.h"
#include "window/form1.h"

int main(int argc, char* argv[]) {
    vantu::prepareApplication();
    QApplication app(argc, argv);
    vantu::Form1 form;
    form.show();
    return QApplication::exec();
}
