// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace vantu {

// Shows the user why a drawing stopped. `window` is the window the drawing ran in, `message`
// the drawing's own sentence, such as "the scale R is 0: division by zero in row 0". Returns
// once the user has seen it.
using ErrorReporter = std::function<void(QWidget* window, const QString& message)>;

// Tells the user that "Copy Picture" or "Save Picture As..." could not take the picture:
// `failure` is the sentence saying which, "The picture could not be copied.", and `reason`
// why, such as "not enough memory". Returns once the user has seen it.
using PictureErrorReporter =
    std::function<void(QWidget* window, const QString& failure, const QString& reason)>;

// How the window words running out of memory, as a reason: "not enough memory".
[[nodiscard]] QString notEnoughMemory();

// The user's sentence for the exception being handled (call it in a catch block): "not enough
// memory", a drawing's own sentence such as "the scale R is 0: division by zero in row 0", or
// "an unexpected error".
[[nodiscard]] QString failureSentence();

// How the window words a stopped drawing: "The drawing stopped: MESSAGE.", where MESSAGE is the
// drawing's own sentence.
[[nodiscard]] QString drawingStoppedText(const QString& message);

// The reporter the program uses: a modal message box titled "Vantu" over `window`, saying
// drawingStoppedText.
void showErrorBox(QWidget* window, const QString& message);

// The picture reporter the program uses: a modal message box titled "Vantu" over `window`.
void showPictureErrorBox(QWidget* window, const QString& failure, const QString& reason);

// Tells the user that the picture could not be saved to `path`, with the system's `reason`: a
// modal message box titled "Vantu" over `window`.
void showSaveErrorBox(QWidget* window, const QString& path, const QString& reason);

// The same for "Save Polyhedron As...": "The polyhedron could not be saved to PATH."
void showModelSaveErrorBox(QWidget* window, const QString& path, const QString& reason);

}  // namespace vantu
