// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// make_icons: turns a Vantu picture into the application icon. Crops the largest square around
// the picture's centre and writes it scaled to each size asked for, as DIR/vantu-SIZE.png.
// Runs at build time only.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include <QImage>
#include <QString>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fputs("Usage: make_icons PICTURE.png DIR SIZE...\n", stderr);
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "make_icons: cannot read '%s'\n", argv[1]);
        return 1;
    }
    const int side = std::min(picture.width(), picture.height());
    const QImage square =
        picture.copy((picture.width() - side) / 2, (picture.height() - side) / 2, side, side);
    for (int i = 3; i < argc; ++i) {
        const std::string sizeText = argv[i];
        std::size_t used = 0;
        int size = 0;
        try {
            size = std::stoi(sizeText, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != sizeText.size() || size < 1 || size > side) {
            std::fprintf(stderr, "make_icons: bad size '%s'\n", argv[i]);
            return 2;
        }
        const QImage icon =
            square.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QString path =
            QString::fromLocal8Bit(argv[2]) + "/vantu-" + QString::number(size) + ".png";
        if (!icon.save(path, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write '%s'\n", path.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
