#include "Module1.h"

#include "PictureBox.h"
#include "platform/AppError.h"
#include "platform/Clipboard.h"
#include "platform/ScreenGrab.h"

#include <cstring>

namespace Module1 {

namespace {

constexpr int paletteEntries = 256;

bool hasPalette(const ScreenGrab &screen)
{
    return (screen.rasterCaps() & ScreenGrab::PaletteBit) && screen.paletteSize() == paletteEntries;
}

// The screen's palette; entries it does not give stay zero.
QList<QRgb> systemPalette(const ScreenGrab &screen)
{
    QList<QRgb> entries = screen.paletteEntries(0, paletteEntries);
    entries.resize(paletteEntries, 0);
    return entries;
}

// A bitmap of the given size in the screen's format, black as a new one is.
QImage compatibleBitmap(int width, int height, const ScreenGrab &screen, const QList<QRgb> &palette)
{
    QImage bitmap(width, height, screen.pixelFormat());
    if (bitmap.isNull())
        return bitmap;
    if (bitmap.format() == QImage::Format_Indexed8) {
        bitmap.setColorTable(palette.isEmpty() ? QList<QRgb>{qRgb(0, 0, 0)} : palette);
        bitmap.fill(0);
    } else {
        bitmap.fill(Qt::black);
    }
    return bitmap;
}

// Copies `pixels` to the bitmap's top-left corner, unscaled.
void blockCopy(QImage &bitmap, const QImage &pixels)
{
    const QImage source = pixels.format() == bitmap.format()
        ? pixels
        : pixels.convertToFormat(bitmap.format(), bitmap.colorTable());
    const int rows = std::min(bitmap.height(), source.height());
    const qsizetype bytes = qsizetype(std::min(bitmap.width(), source.width())) * bitmap.depth() / 8;
    for (int y = 0; y < rows; ++y)
        std::memcpy(bitmap.scanLine(y), source.constScanLine(y), size_t(bytes));
}

} // namespace

// The frame that the window system draws is the window's, whatever frame the
// design's outer size counts: the image is the window as the screen shows it.
Picture GrabFormImage(QWidget &form, ScreenGrab &screen)
{
    const QSize outer = screen.outerSize(form);
    return GrabWindowImage(form, false, 0, 0, outer.width(), outer.height(), screen);
}

Picture GrabWindowImage(QWidget &window, bool clientArea, int left, int top, int width, int height,
                        ScreenGrab &screen)
{
    if (width <= 0 || height <= 0)
        return PictureFromBitmap(QImage(), {});
    const QList<QRgb> palette = hasPalette(screen) ? systemPalette(screen) : QList<QRgb>();
    QImage bitmap = compatibleBitmap(width, height, screen, palette);
    const QImage pixels = screen.grab(window, clientArea, QRect(left, top, width, height));
    // A bitmap that received no pixels is no image of the window.
    if (bitmap.isNull() || pixels.isNull())
        return PictureFromBitmap(QImage(), {});
    blockCopy(bitmap, pixels);
    return PictureFromBitmap(bitmap, palette);
}

Picture PictureFromBitmap(const QImage &bitmap, const QList<QRgb> &palette)
{
    if (bitmap.isNull())
        return {};
    return Picture(bitmap, palette);
}

void CopyToClipboard(QWidget &form, PictureBox &holder, ScreenGrab &screen, Clipboard &clipboard)
{
    const Picture picture = GrabFormImage(form, screen);
    // Emptying the clipboard for nothing would only lose what the user had there.
    if (picture.isNull())
        throw AppError(QStringLiteral("Impossibile catturare l'immagine della finestra: "
                                      "gli appunti non sono stati modificati."));
    holder.setPicture(picture);
    clipboard.clear();
    clipboard.setImage(holder.picture().bitmap());
}

} // namespace Module1
