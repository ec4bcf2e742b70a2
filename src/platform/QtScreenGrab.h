#pragma once

#include "ScreenGrab.h"

// Grabs from the screen where the window system allows it (on X11 the
// screen area of the window's frame, caption and menu bar included);
// elsewhere the window renders itself.
class QtScreenGrab : public ScreenGrab
{
public:
    double pixelsPerInchX() const override;
    double pixelsPerInchY() const override;
    int rasterCaps() const override;
    int paletteSize() const override;
    QList<QRgb> paletteEntries(int first, int count) const override;
    QImage::Format pixelFormat() const override;
    QImage grab(QWidget &window, bool clientArea, const QRect &source) override;
};
