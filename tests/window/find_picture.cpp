// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-find-picture: where a picture lies, pixel for pixel, within a screenshot. The window test
// needs it to find vantu-render's picture on the Explorer's screen.
//
//   vantu-find-picture SCREEN.png PICTURE.png
//
// Prints "X,Y", the top-left corner of the first place (row by row) where every pixel of PICTURE
// equals SCREEN's, and exits with status 0; exits with status 1, saying so, where there is none,
// and 2 for a file it cannot read.

#include <cstdio>

#include <QImage>

namespace {

// Whether `picture` lies in `screen` with its top-left corner at (x, y); it fits there.
bool liesAt(const QImage& screen, const QImage& picture, int x, int y) {
    for (int j = 0; j < picture.height(); ++j) {
        const auto* want = reinterpret_cast<const QRgb*>(picture.constScanLine(j));
        const auto* have = reinterpret_cast<const QRgb*>(screen.constScanLine(y + j)) + x;
        for (int i = 0; i < picture.width(); ++i) {
            if (have[i] != want[i]) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: vantu-find-picture SCREEN.png PICTURE.png\n", stderr);
        return 2;
    }
    const QImage screen =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QImage picture =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (screen.isNull() || picture.isNull()) {
        std::fprintf(stderr, "vantu-find-picture: cannot read %s\n", argv[screen.isNull() ? 1 : 2]);
        return 2;
    }
    for (int y = 0; y + picture.height() <= screen.height(); ++y) {
        for (int x = 0; x + picture.width() <= screen.width(); ++x) {
            if (liesAt(screen, picture, x, y)) {
                std::printf("%d,%d\n", x, y);
                return 0;
            }
        }
    }
    std::fprintf(stderr, "vantu-find-picture: %s does not lie in %s\n", argv[2], argv[1]);
    return 1;
}
