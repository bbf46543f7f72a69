#include "window/application.h"

#include <QByteArray>
#include <QtGlobal>

namespace vantu {

void prepareApplication() {
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) {
        qputenv("QT_NO_GLIB", "1");
    }
}

}  // namespace vantu
