#include "X11Frame.h"

#include "Xcb.h"

#include <QPainter>
#include <QWidget>
#include <array>
#include <cstring>

using Xcb::owned;

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, true, quint16(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A property's value; empty where the window has none of that type and format.
QByteArray property(xcb_connection_t *connection, xcb_window_t window, const char *name, xcb_atom_t type,
                    int format)
{
    const xcb_atom_t key = atom(connection, name);
    if (!key)
        return {};
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, false, window, key, type, 0, 64), nullptr));
    if (!reply || reply->format != format)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

template<typename Value, int count>
std::optional<std::array<Value, count>> values(const QByteArray &bytes)
{
    std::array<Value, count> read;
    if (bytes.size() != int(sizeof read))
        return std::nullopt;
    std::memcpy(read.data(), bytes.constData(), sizeof read);
    return read;
}

// The frame that the window manager reports as visible around the window.
// GNOME's window managers wrap it in a larger frame window whose outer band
// (resize handles, shadows) the screen does not show.
std::optional<QRect> reportedFrame(xcb_connection_t *connection, xcb_window_t window, const QRect &client)
{
    const auto extents = values<quint32, 4>(
        property(connection, window, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, 32));
    if (!extents)
        return std::nullopt;
    const auto [left, right, top, bottom] = *extents;
    return client.adjusted(-int(left), -int(top), int(right), int(bottom));
}

// KWin paints the decoration in its compositor: its frame window then holds,
// under it, what the screen showed there when the window last changed size.
bool decorationInFrameWindow(xcb_connection_t *connection, xcb_window_t root)
{
    const auto manager = values<xcb_window_t, 1>(
        property(connection, root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, 32));
    return !manager
        || property(connection, (*manager)[0], "_NET_WM_NAME", atom(connection, "UTF8_STRING"), 8) != "KWin";
}

// A window's pixels, 24 or 32 bits deep, each with the byte beside its
// colour as the server keeps it; null when the window gives none.
QImage windowPixels(xcb_window_t window, const QRect &area)
{
    if (area.isEmpty())
        return {};
    xcb_connection_t *connection = Xcb::connection();
    xcb_generic_error_t *error = nullptr;
    const auto reply = owned(xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, qint16(area.x()), qint16(area.y()),
                      quint16(area.width()), quint16(area.height()), ~0u),
        &error));
    std::free(error);
    if (!reply || (reply->depth != 24 && reply->depth != 32)
        || xcb_get_image_data_length(reply.get()) != area.width() * area.height() * 4)
        return {};
    return QImage(xcb_get_image_data(reply.get()), area.width(), area.height(), area.width() * 4,
                  QImage::Format_ARGB32)
        .copy();
}

QImage opaque(QImage pixels)
{
    pixels.reinterpretAsFormat(QImage::Format_RGB32);
    return pixels;
}

// What the window manager drew into its frame window: cairo and XRender
// leave a pixel they cover wholly with its fourth byte full. Rounded corners
// and the band outside the visible frame are left clear, for the screen's.
QImage drawnByTheWindowManager(QImage frame)
{
    for (int y = 0; y < frame.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            if (qAlpha(line[x]) != 255)
                line[x] = 0;
    }
    return frame;
}

QRect screenArea(xcb_connection_t *connection)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
}

// weston's Xwayland window manager draws a translucent shadow around the
// frame in its frame window, 32 bits deep, and reports no frame (weston 10)
// or one with the shadow in it (14): the frame is what it drew wholly there,
// as far as the screen reaches.
QRect drawnFrame(xcb_window_t top, const QRect &topArea, const QRect &client, const QRect &screen)
{
    const QRect shown = topArea & screen;
    const QImage pixels = windowPixels(top, shown.translated(-topArea.topLeft()));
    QRect drawn = client.translated(-shown.topLeft());
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            if (qAlpha(line[x]) == 255)
                drawn |= QRect(x, y, 1, 1);
    }
    return drawn.translated(shown.topLeft());
}

} // namespace

// The frame is the one the window manager reports, or else the window's
// ancestor that is a child of the root (the window itself where no window
// manager reparents it); where that ancestor has an alpha channel, no more
// than what it drew wholly.
std::optional<X11Frame> X11Frame::of(const QWidget &window)
{
    xcb_connection_t *connection = Xcb::connection();
    if (!connection || !window.windowHandle())
        return std::nullopt;
    X11Frame frame;
    frame.m_window = xcb_window_t(window.winId());
    const std::optional<Xcb::TopLevel> topLevel = Xcb::topLevel(connection, frame.m_window);
    if (!topLevel)
        return std::nullopt;
    frame.m_root = topLevel->root;
    frame.m_top = topLevel->top;
    const auto top = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, frame.m_top), nullptr));
    const auto size = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, frame.m_window), nullptr));
    const auto at = owned(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, frame.m_window, frame.m_root, 0, 0), nullptr));
    if (!top || !size || !at)
        return std::nullopt;
    frame.m_client = QRect(at->dst_x, at->dst_y, size->width, size->height);
    const int border = top->border_width;
    frame.m_topArea = QRect(top->x + border, top->y + border, top->width, top->height);
    frame.m_frame = reportedFrame(connection, frame.m_window, frame.m_client)
                        .value_or(frame.m_topArea.adjusted(-border, -border, border, border));
    if (top->depth == 32 && frame.m_top != frame.m_window)
        frame.m_frame &= drawnFrame(frame.m_top, frame.m_topArea, frame.m_client, screenArea(connection));
    return frame;
}

// The screen's image is a compositing window manager's last frame, which lags
// behind the windows on a busy machine, and Xwayland gives none at all. The
// frame window holds what the window manager drew there as soon as it drew
// it, and the window its own pixels as soon as it drew them.
QImage X11Frame::pixels(const QRect &source, const std::function<QImage()> &offScreen) const
{
    xcb_connection_t *connection = Xcb::connection();
    const QRect area = source.translated(m_frame.topLeft());
    const QRect shown = area & screenArea(connection);
    QImage image(area.size(), QImage::Format_RGB32);
    if (shown == area)
        image.fill(Qt::black);
    else
        image = offScreen();
    if (shown.isEmpty())
        return image;
    const QImage onScreen = windowPixels(m_root, shown);
    const QRect framed = shown & m_topArea;
    const QImage frame = decorationInFrameWindow(connection, m_root)
        ? windowPixels(m_top, framed.translated(-m_topArea.topLeft()))
        : QImage();
    if (onScreen.isNull() && frame.isNull())
        return {};
    const QRect own = shown & m_client;
    QPainter painter(&image);
    painter.drawImage(shown.topLeft() - area.topLeft(), opaque(onScreen));
    painter.drawImage(framed.topLeft() - area.topLeft(),
                      onScreen.isNull() ? opaque(frame) : drawnByTheWindowManager(frame));
    painter.drawImage(own.topLeft() - area.topLeft(),
                      opaque(windowPixels(m_window, own.translated(-m_client.topLeft()))));
    return image;
}
