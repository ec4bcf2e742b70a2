#pragma once

#include <QImage>
#include <QList>
#include <QRect>

class QWidget;

// The screen as the window capture sees it: its resolution, its pixel format
// and palette, and the pixels a window shows on it.
class ScreenGrab
{
public:
    // The capability bit of a screen whose colours go through a palette.
    static constexpr int PaletteBit = 0x100;

    virtual ~ScreenGrab() = default;

    // Screen pixels per inch.
    virtual double pixelsPerInchX() const = 0;
    virtual double pixelsPerInchY() const = 0;
    virtual int rasterCaps() const = 0;
    virtual int paletteSize() const = 0;
    // Entries first to first + count - 1 of the screen's palette.
    virtual QList<QRgb> paletteEntries(int first, int count) const = 0;
    virtual QImage::Format pixelFormat() const = 0;

    // The pixels of `source`, in screen pixels from the top-left corner of the
    // window's outer frame, or of its client area when clientArea is set, as
    // the screen shows them. Null when no image can be had.
    virtual QImage grab(QWidget &window, bool clientArea, const QRect &source) = 0;
};
