#include "window/error_reporter.h"

#include <QMessageBox>

namespace vantu {

void showErrorBox(QWidget* window, const QString& message) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vantu"),
                    QStringLiteral("The drawing stopped: %1.").arg(message), QMessageBox::Ok,
                    window);
    box.setInformativeText(
        QStringLiteral("Change the triangle code or the scale R, then press Go! again."));
    box.exec();
}

}  // namespace vantu
