#pragma once

#include <QImage>
#include <QRect>

class QWidget;

// The window as the screen shows it. Qt paints on true-colour screens alone,
// so the pixels need no palette.
class ScreenGrab
{
public:
    virtual ~ScreenGrab() = default;

    // The window's outer size in screen pixels, with the frame, caption and
    // menu bar that the screen shows around its client area.
    virtual QSize outerSize(QWidget &window) = 0;
    // The pixels of `source`, in screen pixels from the top-left corner of the
    // window's outer frame, or of its client area when clientArea is set, as
    // the screen shows them. Null when no image can be had.
    virtual QImage grab(QWidget &window, bool clientArea, const QRect &source) = 0;
};
