// Turns the window's XPM icon into the PNG the icon theme wants, at build time.
#include <QImage>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "uso: icon_png SORGENTE.xpm LATO DESTINAZIONE.png\n");
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    const int side = QByteArray(argv[2]).toInt();
    // A theme directory holds its size exactly; a wrong source must not slip in scaled.
    if (image.isNull() || image.width() != side || image.height() != side) {
        std::fprintf(stderr, "icon_png: %s non è un'icona %dx%d\n", argv[1], side, side);
        return 1;
    }
    return image.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
