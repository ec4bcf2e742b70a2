#pragma once

#include "Picture.h"

class Clipboard;
class PictureBox;
class QWidget;
class ScreenGrab;

// Captures a window's pixels into a picture and puts it on the clipboard.
namespace Module1 {

// The whole form, frame, caption and menu bar included, at its outer size.
Picture GrabFormImage(QWidget &form, ScreenGrab &screen);
// A rectangle of the window, measured from its outer top-left corner, or from
// its client area's when clientArea is set; sizes in screen pixels.
Picture GrabWindowImage(QWidget &window, bool clientArea, int left, int top, int width, int height,
                        ScreenGrab &screen);
// The empty picture when there is no bitmap.
Picture PictureFromBitmap(const QImage &bitmap);

// The copy command: captures the form, gives the picture to `holder`, then
// replaces the whole content of the clipboard with it. When no image could
// be captured the error is reported and the clipboard keeps what it held.
void CopyToClipboard(QWidget &form, PictureBox &holder, ScreenGrab &screen, Clipboard &clipboard);

} // namespace Module1
