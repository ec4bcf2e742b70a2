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

template<typename Reply>
XcbReply<Reply> owned(Reply *reply)
{
    return XcbReply<Reply>(reply, &std::free);
}

// Where a window lies on the screen, in the screen's pixels.
struct X11Place
{
    xcb_window_t root, window;
    QRect client, frame;
};

// The frame that the window manager reports as visible around the window.
// GNOME's window managers wrap it in a larger frame window whose outer band
// (resize handles, shadows) the screen does not show.
std::optional<QRect> reportedFrame(xcb_connection_t *connection, xcb_window_t window, const QRect &client)
{
    const auto atom = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, true, 18, "_NET_FRAME_EXTENTS"), nullptr));
    if (!atom || !atom->atom)
        return std::nullopt;
    const auto property = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, false, window, atom->atom, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!property || property->format != 32 || xcb_get_property_value_length(property.get()) != 16)
        return std::nullopt;
    const auto *extents = static_cast<const quint32 *>(xcb_get_property_value(property.get()));
    return client.adjusted(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]));
}

// The frame is the one the window manager reports, or else the window's
// ancestor that is a child of the root (the window itself where no window
// manager reparents it).
std::optional<X11Place> x11Place(const QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.windowHandle())
        return std::nullopt;
    X11Place place{0, xcb_window_t(window.winId()), {}, {}};
    xcb_window_t top = place.window;
    for (;;) {
        const auto tree = owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, top), nullptr));
        if (!tree)
            return std::nullopt;
        place.root = tree->root;
        if (tree->parent == place.root || tree->parent == XCB_NONE)
            break;
        top = tree->parent;
    }
    const auto geometry = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, top), nullptr));
    const auto size = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, place.window), nullptr));
    const auto at = owned(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, place.window, place.root, 0, 0), nullptr));
    if (!geometry || !size || !at)
        return std::nullopt;
    place.client = QRect(at->dst_x, at->dst_y, size->width, size->height);
    const int border = geometry->border_width;
    place.frame = reportedFrame(connection, place.window, place.client)
                      .value_or(QRect(geometry->x, geometry->y, geometry->width + 2 * border,
                                      geometry->height + 2 * border));
    return place;
}

// Draws the pixels of `area` of a window, 24 or 32 bits deep, at `at` in the
// image; false when the window gives none.
bool drawPixels(xcb_window_t window, const QRect &area, QImage &image, const QPoint &at)
{
    xcb_connection_t *connection = x11Connection();
    xcb_generic_error_t *error = nullptr;
    const auto reply = owned(xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, qint16(area.x()), qint16(area.y()),
                      quint16(area.width()), quint16(area.height()), ~0u),
        &error));
    std::free(error);
    if (!reply || (reply->depth != 24 && reply->depth != 32)
        || xcb_get_image_data_length(reply.get()) != area.width() * area.height() * 4)
        return false;
    const QImage pixels(xcb_get_image_data(reply.get()), area.width(), area.height(), area.width() * 4,
                        QImage::Format_RGB32);
    QPainter(&image).drawImage(at, pixels);
    return true;
}

// The frame as the screen shows it, the parts off the screen black as in a
// new bitmap. The window's own pixels come from the window, which holds them
// as soon as it has drawn them: a compositing window manager puts them on
// the screen only with its next frame.
QImage x11Pixels(const X11Place &place, const QRect &source)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x11Connection())).data;
    const QRect area = source.translated(place.frame.topLeft());
    const QRect shown = area & QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    if (shown.isEmpty())
        return image;
    if (!drawPixels(place.root, shown, image, shown.topLeft() - area.topLeft()))
        return {};
    const QRect own = shown & place.client;
    if (!own.isEmpty())
        drawPixels(place.window, own.translated(-place.client.topLeft()), image, own.topLeft() - area.topLeft());
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
    if (const std::optional<X11Place> place = x11Place(window))
        return place->frame.size();
    return (QSizeF(window.frameGeometry().size()) * window.devicePixelRatioF()).toSize();
}

QImage QtScreenGrab::grab(QWidget &window, bool clientArea, const QRect &source)
{
    if (source.isEmpty())
        return {};
    showCurrentImage(window);
    // The client area is the window's own drawing, which the screen shows as rendered.
    const std::optional<X11Place> place = clientArea || !window.isVisible() ? std::nullopt : x11Place(window);
    if (place) {
        const QImage image = x11Pixels(*place, source);
        if (!image.isNull())
            return image;
    }
    return rendered(window, clientArea ? clientAreaOf(window) : window, clientArea, source);
}
