// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "desktop/error_reporter.h"

#include <exception>
#include <new>

#include <QDir>
#include <QMessageBox>

namespace vantu {

QString notEnoughMemory() {
    return QStringLiteral("not enough memory");
}

QString failureSentence() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return notEnoughMemory();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("an unexpected error");
    }
}

QString drawingStoppedText(const QString& message) {
    return QStringLiteral("The drawing stopped: %1.").arg(message);
}

void showErrorBox(QWidget* window, const QString& message) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vantu"), drawingStoppedText(message),
                    QMessageBox::Ok, window);
    box.setInformativeText(
        QStringLiteral("Change the triangle code or the scale R, then press Go! again."));
    box.exec();
}

void showPictureErrorBox(QWidget* window, const QString& failure, const QString& reason) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vantu"), failure, QMessageBox::Ok,
                    window);
    box.setInformativeText(reason);
    box.exec();
}

void showSaveErrorBox(QWidget* window, const QString& path, const QString& reason) {
    showPictureErrorBox(
        window,
        QStringLiteral("The picture could not be saved to %1.").arg(QDir::toNativeSeparators(path)),
        reason);
}

void showModelSaveErrorBox(QWidget* window, const QString& path, const QString& reason) {
    showPictureErrorBox(window,
                        QStringLiteral("The polyhedron could not be saved to %1.")
                            .arg(QDir::toNativeSeparators(path)),
                        reason);
}

}  // namespace vantu
