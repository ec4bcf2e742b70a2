#pragma once

#include "ScreenGrab.h"

// Grabs from the window system where it allows it: on X11 (Xwayland too) the
// window with the frame that the window manager shows around it, in the
// screen's own pixels at any device pixel ratio. Elsewhere (Wayland gives no
// program the screen's pixels) the window renders itself.
class QtScreenGrab : public ScreenGrab
{
public:
    QSize outerSize(QWidget &window) override;
    QImage grab(QWidget &window, bool clientArea, const QRect &source) override;
};
