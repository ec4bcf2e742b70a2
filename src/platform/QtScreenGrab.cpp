#include "QtScreenGrab.h"

#include "Twips.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <cmath>

namespace {

qreal devicePixelRatio()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

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

// Wayland gives no application the pixels of the screen.
bool screenGrabAllowed()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// `area` is in logical pixels on the screen, `source` in device pixels within it.
QImage fromScreen(QScreen &screen, const QRect &area, const QRect &source)
{
    const qreal ratio = screen.devicePixelRatio();
    const QRect wanted(area.topLeft() + QPoint(int(std::floor(source.x() / ratio)), int(std::floor(source.y() / ratio))),
                       QSize(int(std::ceil(source.width() / ratio)), int(std::ceil(source.height() / ratio))));
    // Parts off the screen stay black, as they do in a compatible bitmap.
    const QRect shown = wanted & screen.geometry();
    QImage image(source.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    if (shown.isEmpty())
        return image;
    const QRect local = shown.translated(-screen.geometry().topLeft());
    const QPixmap pixels = screen.grabWindow(0, local.x(), local.y(), local.width(), local.height());
    if (pixels.isNull())
        return {};
    QPainter painter(&image);
    painter.drawImage(QPointF((shown.topLeft() - wanted.topLeft()) * ratio), pixels.toImage());
    return image;
}

// The window's own rendering, the frame (which the window system draws)
// left in the window colour.
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

double QtScreenGrab::pixelsPerInchX() const
{
    return 1440 / Twips::perPixel * devicePixelRatio();
}

double QtScreenGrab::pixelsPerInchY() const
{
    return pixelsPerInchX();
}

// Qt 6 draws on true-colour screens only: no screen it runs on goes through a palette.
int QtScreenGrab::rasterCaps() const
{
    return 0;
}

int QtScreenGrab::paletteSize() const
{
    return 0;
}

QList<QRgb> QtScreenGrab::paletteEntries(int, int) const
{
    return {};
}

QImage::Format QtScreenGrab::pixelFormat() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->depth() == 16 ? QImage::Format_RGB16 : QImage::Format_RGB32;
}

QImage QtScreenGrab::grab(QWidget &window, bool clientArea, const QRect &source)
{
    if (source.isEmpty())
        return {};
    showCurrentImage(window);
    QWidget &area = clientArea ? clientAreaOf(window) : window;
    QScreen *screen = window.screen();
    if (screen && screenGrabAllowed() && window.isVisible()) {
        const QRect onScreen = clientArea ? QRect(area.mapToGlobal(QPoint()), area.size()) : window.frameGeometry();
        const QImage image = fromScreen(*screen, onScreen, source);
        if (!image.isNull())
            return image;
    }
    return rendered(window, area, clientArea, source);
}
