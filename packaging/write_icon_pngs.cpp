// SPDX-License-Identifier: MIT
// Writes the application icon's images as PNG files for the desktop's icon theme.
//   write_icon_pngs <folder>  ->  <folder>/<size>x<size>/apps/tabulon.png
#include <QDir>
#include <QImage>
#include <cstdio>

#include "res/icon_images.h"
#include "res/resource.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_icon_pngs <folder>\n");
        return 2;
    }
    for (const res::IconImage& image : res::FindIconImages(IDR_MAINFRAME)) {
        const QString size = QString::number(image.size);
        const QString folder = QString::fromLocal8Bit(argv[1]) + "/" + size + "x" + size + "/apps";
        if (!QDir().mkpath(folder) || !QImage(image.xpm).save(folder + "/tabulon.png", "PNG")) {
            std::fprintf(stderr, "cannot write the %s px icon\n", qPrintable(size));
            return 1;
        }
    }
    return 0;
}
