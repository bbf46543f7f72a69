// vantu: the Vantu window.

#include <QApplication>

#include "window/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vantu::Form1 form;
    form.show();
    return QApplication::exec();
}
