// SPDX-License-Identifier: GPL-3.0-or-later
// Saves the whole screen of the current display to the PNG file named on the command line.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: memoran-grab FILE.png\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "memoran-grab: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
