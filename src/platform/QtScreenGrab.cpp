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

// The window's own rendering, with the frame it draws itself on Wayland; a
// frame that the window system draws is left in the window colour.
QImage rendered(QWidget &window, QWidget &area, bool clientArea, const QRect &source)
{
    const QRect frame = window.frameGeometry();
    const QPoint offset = clientArea ? QPoint() : window.geometry().topLeft() - frame.topLeft();
    const qreal ratio = window.devicePixelRatioF();
    QImage whole((clientArea ? area.size() : frame.size()) * ratio, QImage::Format_RGB32);
    whole.setDevicePixelRatio(ratio);
    whole.fill(window.palette().color(QPalette::Window));
    QPainter painter(&whole);
    area.render(&painter, offset);
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
        const QImage image = frame->pixels(source);
        if (!image.isNull())
            return image;
    }
    return rendered(window, clientArea ? clientAreaOf(window) : window, clientArea, source);
}
