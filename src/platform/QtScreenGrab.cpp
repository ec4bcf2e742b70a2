#include "QtScreenGrab.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <cstdlib>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

namespace {

template<typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_connection_t *x11Connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The window manager's frame: the window's ancestor that is a child of the
// root (the window itself where no window manager reparents it), in the
// screen's pixels.
std::optional<QRect> x11Frame(const QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.windowHandle())
        return std::nullopt;
    xcb_window_t frame = xcb_window_t(window.winId());
    xcb_window_t root = 0;
    for (;;) {
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, frame), nullptr), &std::free);
        if (!tree)
            return std::nullopt;
        root = tree->root;
        if (tree->parent == root || tree->parent == XCB_NONE)
            break;
        frame = tree->parent;
    }
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, frame), nullptr), &std::free);
    if (!geometry)
        return std::nullopt;
    const int border = geometry->border_width;
    return QRect(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border);
}

// Pixels of the root window, the parts off the screen black, as in a new bitmap.
QImage x11Pixels(const QRect &area)
{
    xcb_connection_t *connection = x11Connection();
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen->root_depth != 24 && screen->root_depth != 32)
        return {};
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRect shown = area & QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    if (shown.isEmpty())
        return image;
    const XcbReply<xcb_get_image_reply_t> reply(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, qint16(shown.x()),
                                          qint16(shown.y()), quint16(shown.width()), quint16(shown.height()), ~0u),
                            nullptr),
        &std::free);
    if (!reply)
        return {};
    const QImage pixels(xcb_get_image_data(reply.get()), shown.width(), shown.height(), shown.width() * 4,
                        QImage::Format_RGB32);
    QPainter(&image).drawImage(shown.topLeft() - area.topLeft(), pixels);
    return image;
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

QSize QtScreenGrab::outerSize(QWidget &window)
{
    if (const std::optional<QRect> frame = x11Frame(window))
        return frame->size();
    return (QSizeF(window.frameGeometry().size()) * window.devicePixelRatioF()).toSize();
}

QImage QtScreenGrab::grab(QWidget &window, bool clientArea, const QRect &source)
{
    if (source.isEmpty())
        return {};
    showCurrentImage(window);
    // The client area is the window's own drawing, which the screen shows as rendered.
    const std::optional<QRect> frame = clientArea || !window.isVisible() ? std::nullopt : x11Frame(window);
    if (frame) {
        const QImage image = x11Pixels(source.translated(frame->topLeft()));
        if (!image.isNull())
            return image;
    }
    return rendered(window, clientArea ? clientAreaOf(window) : window, clientArea, source);
}
