#include "X11Position.h"

#include "Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPoint>
#include <QWidget>
#include <array>
#include <cstring>

namespace {

class Follower : public QObject, public QAbstractNativeEventFilter
{
public:
    Follower(QWidget &window, xcb_connection_t *connection)
        : QObject(&window), m_window(window), m_connection(connection)
    {
        qApp->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        const auto window = xcb_window_t(m_window.internalWinId());
        if (!window)
            return false;
        if ((event->response_type & 0x7f) == XCB_REPARENT_NOTIFY
            && reinterpret_cast<const xcb_reparent_notify_event_t *>(event)->window == window)
            followFrameOf(window);
        if ((event->response_type & 0x7f) == XCB_CONFIGURE_NOTIFY) {
            const auto *configured = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
            const QPoint at(configured->x, configured->y);
            if (configured->window == m_frame && at != m_frameAt) {
                m_frameAt = at;
                tell(window);
            }
        }
        return false;
    }

private:
    void followFrameOf(xcb_window_t window)
    {
        const std::optional<Xcb::TopLevel> top = Xcb::topLevel(m_connection, window);
        m_frame = top && top->top != window ? top->top : XCB_NONE;
        if (m_frame) {
            const quint32 mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            // The frame may be gone already: no error for that.
            std::free(xcb_request_check(
                m_connection, xcb_change_window_attributes_checked(m_connection, m_frame, XCB_CW_EVENT_MASK, &mask)));
        }
        // It may have moved before it was followed.
        tell(window);
    }

    void tell(xcb_window_t window)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const auto at = Xcb::owned(xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, window, root, 0, 0), nullptr));
        const auto size = Xcb::owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
        if (!at || !size)
            return;
        xcb_configure_notify_event_t told{};
        told.response_type = XCB_CONFIGURE_NOTIFY;
        told.event = told.window = window;
        told.x = at->dst_x;
        told.y = at->dst_y;
        told.width = size->width;
        told.height = size->height;
        std::array<char, 32> sent{}; // every event is sent as 32 bytes
        std::memcpy(sent.data(), &told, sizeof told);
        xcb_send_event(m_connection, false, window, XCB_EVENT_MASK_STRUCTURE_NOTIFY, sent.data());
        xcb_flush(m_connection);
    }

    QWidget &m_window;
    xcb_connection_t *m_connection;
    xcb_window_t m_frame = XCB_NONE;
    QPoint m_frameAt;
};

} // namespace

namespace X11Position {

void follow(QWidget &window)
{
    if (xcb_connection_t *connection = Xcb::connection())
        new Follower(window, connection);
}

} // namespace X11Position
