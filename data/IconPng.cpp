// Turns one of the window's XPM icons into a PNG the icon theme wants, at build time.
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
    // Each pixel becomes a square of pixels, so the larger sizes stay as crisp as the drawn one;
    // a wrong source must not slip in blurred or stretched.
    if (image.isNull() || image.width() != image.height() || side <= 0 || side % image.width() != 0) {
        std::fprintf(stderr, "icon_png: %s non si ingrandisce a un'icona %dx%d\n", argv[1], side, side);
        return 1;
    }
    const QImage icon = image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return icon.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
