#include "OuterSize.h"

#include "AppError.h"
#include "Twips.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QWidget>
#include <cmath>
#include <optional>
#include <xcb/xcb.h>

namespace OuterSize {

namespace {

const char requestName[] = "OuterSize::Request";

int pixels(float twips)
{
    const double px = std::nearbyint(Twips::toPixels(twips));
    if (!(px >= 1 && px <= QWIDGETSIZE_MAX))
        throw AppError(QStringLiteral("Valore della proprietà non valido: dimensione %1.").arg(double(twips)));
    return int(px);
}

QSize frameSize(const QWidget &window)
{
    return window.frameGeometry().size() - window.size();
}

// The outer size last asked of a window, kept on the window. The window
// manager adds its frame some milliseconds after the window is shown, and may
// change it later (openbox drops the resize handle once it learns the size is
// fixed); the size is then asked again, so that the outer size stays what was
// set.
class Request : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit Request(QWidget &window) : QObject(&window), m_window(window)
    {
        setObjectName(QLatin1String(requestName));
        window.installEventFilter(this);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    std::optional<float> width, height;

    void apply(bool heightToo, bool widthToo)
    {
        m_frame = frameSize(m_window);
        if (height && heightToo)
            m_window.setFixedHeight(std::max(1, pixels(*height) - m_frame.height()));
        if (width && widthToo)
            m_window.setFixedWidth(std::max(1, pixels(*width) - m_frame.width()));
        // Handlers read the client area right after setting the size.
        if (QLayout *layout = m_window.layout())
            layout->activate();
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        // An X11 window manager announces a new frame in a property of the
        // window, which Qt takes in without telling the window.
        if (type == "xcb_generic_event_t") {
            const auto *event = static_cast<const xcb_generic_event_t *>(message);
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY
                && reinterpret_cast<const xcb_property_notify_event_t *>(event)->window == m_window.internalWinId())
                checkFrameLater();
        }
        return false;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            checkFrameLater();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // Once the event that announced it has been handled; never from inside
    // an event, which must not resize.
    void checkFrameLater()
    {
        if (m_queued)
            return;
        m_queued = true;
        QMetaObject::invokeMethod(this, [this] {
            m_queued = false;
            if (frameSize(m_window) != m_frame)
                apply(true, true);
        }, Qt::QueuedConnection);
    }

    QWidget &m_window;
    QSize m_frame;
    bool m_queued = false;
};

Request *find(const QWidget &window)
{
    return dynamic_cast<Request *>(
        window.findChild<QObject *>(QLatin1String(requestName), Qt::FindDirectChildrenOnly));
}

Request &request(QWidget &window)
{
    Request *found = find(window);
    return found ? *found : *new Request(window);
}

float readBack(const std::optional<float> &set, int real)
{
    return set && pixels(*set) == real ? *set : Twips::fromPixels(real);
}

} // namespace

float width(const QWidget &window)
{
    const Request *r = find(window);
    return readBack(r ? r->width : std::nullopt, window.frameGeometry().width());
}

float height(const QWidget &window)
{
    const Request *r = find(window);
    return readBack(r ? r->height : std::nullopt, window.frameGeometry().height());
}

void setWidth(QWidget &window, float twips)
{
    pixels(twips);
    Request &r = request(window);
    r.width = twips;
    r.apply(false, true);
}

void setHeight(QWidget &window, float twips)
{
    pixels(twips);
    Request &r = request(window);
    r.height = twips;
    r.apply(true, false);
}

} // namespace OuterSize
