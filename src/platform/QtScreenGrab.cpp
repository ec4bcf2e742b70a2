#include "QtScreenGrab.h"

#include "X11Frame.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>

namespace {

// A main window's client area lies below its menu bar.
QWidget &clientAreaOf(QWidget &window)
{
    auto *main = qobject_cast<QMainWindow *>(&window);
    return main && main->centralWidget() ? *main->centralWidget() : window;
}

// The screen must show the window as it is now. A menu that has just closed
// leaves its pixels over the window until the window system's expose event,
// which comes after the handler; a repaint leaves unchanged parts unflushed.
void showCurrentImage(QWidget &window)
{
    window.repaint();
    QBackingStore *store = window.backingStore();
    if (store && window.windowHandle())
        store->flush(QRect(QPoint(), window.size()), window.windowHandle());
}

// The window's own rendering of `area`, at `offset` in an image of `size`,
// both in device pixels, cut to `source`. On Wayland it holds the frame the
// window draws itself; a frame that the window system draws is left in the
// window colour.
QImage rendered(QWidget &window, QWidget &area, const QPoint &offset, const QSize &size, const QRect &source)
{
    const qreal ratio = window.devicePixelRatioF();
    QImage whole(size, QImage::Format_RGB32);
    whole.setDevicePixelRatio(ratio);
    whole.fill(window.palette().color(QPalette::Window));
    QPainter painter(&whole);
    painter.translate(QPointF(offset) / ratio);
    area.render(&painter);
    painter.end();
    whole.setDevicePixelRatio(1);
    QImage image(source.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).drawImage(QPoint(), whole, source);
    return image;
}

} // namespace

QSize QtScreenGrab::outerSize(QWidget &window)
{
    if (const std::optional<X11Frame> frame = X11Frame::of(window))
        return frame->size();
    return (QSizeF(window.frameGeometry().size()) * window.devicePixelRatioF()).toSize();
}

QImage QtScreenGrab::grab(QWidget &window, bool clientArea, const QRect &source)
{
    if (source.isEmpty())
        return {};
    showCurrentImage(window);
    // The client area is the window's own drawing, which the screen shows as rendered.
    const std::optional<X11Frame> frame = clientArea || !window.isVisible() ? std::nullopt : X11Frame::of(window);
    if (frame) {
        // What the screen cannot give, off its edges, the window renders.
        const QImage image = frame->pixels(
            source, [&] { return rendered(window, window, frame->clientOffset(), frame->size(), source); });
        if (!image.isNull())
            return image;
    }
    const qreal ratio = window.devicePixelRatioF();
    if (clientArea)
        return rendered(window, clientAreaOf(window), QPoint(), clientAreaOf(window).size() * ratio, source);
    const QRect outer = window.frameGeometry();
    return rendered(window, window, (window.geometry().topLeft() - outer.topLeft()) * ratio, outer.size() * ratio,
                    source);
}
