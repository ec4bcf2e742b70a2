#pragma once

#include <QImage>
#include <QList>
#include <QRect>

class QWidget;

// The screen as the window capture sees it: its pixel format and palette, the
// window's place on it, and the pixels the window shows there.
class ScreenGrab
{
public:
    // The capability bit of a screen whose colours go through a palette.
    static constexpr int PaletteBit = 0x100;

    virtual ~ScreenGrab() = default;

    virtual int rasterCaps() const = 0;
    virtual int paletteSize() const = 0;
    // Entries first to first + count - 1 of the screen's palette.
    virtual QList<QRgb> paletteEntries(int first, int count) const = 0;
    virtual QImage::Format pixelFormat() const = 0;

    // The window's outer size in screen pixels, with the frame, caption and
    // menu bar that the screen shows around its client area.
    virtual QSize outerSize(QWidget &window) = 0;
    // The pixels of `source`, in screen pixels from the top-left corner of the
    // window's outer frame, or of its client area when clientArea is set, as
    // the screen shows them. Null when no image can be had.
    virtual QImage grab(QWidget &window, bool clientArea, const QRect &source) = 0;
};
