#include "Module1.h"

#include "PictureBox.h"
#include "platform/AppError.h"
#include "platform/Clipboard.h"
#include "platform/ScreenGrab.h"

namespace Module1 {

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
        return {};
    return PictureFromBitmap(screen.grab(window, clientArea, QRect(left, top, width, height)));
}

Picture PictureFromBitmap(const QImage &bitmap)
{
    return bitmap.isNull() ? Picture() : Picture(bitmap);
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
