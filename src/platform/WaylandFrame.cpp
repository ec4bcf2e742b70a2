#include "WaylandFrame.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <utility>

namespace {

// Qt's frame on Wayland: a 30-pixel caption and 3-pixel borders, 18-pixel
// buttons 5 apart and 8 from the right.
const QMargins margins(3, 30, 3, 3);
constexpr int buttonSize = 18, buttonSpacing = 5, buttonsRight = 8, iconSize = 22;

} // namespace

void WaylandFrame::addTo(QWidget &window)
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        || qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION"))
        return;
    new WaylandFrame(window);
}

WaylandFrame::WaylandFrame(QWidget &window) : QWidget(&window), m_window(window)
{
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setContentsMargins(margins);
    setGeometry(window.rect());
    lower();
    window.installEventFilter(this);
}

bool WaylandFrame::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        setGeometry(m_window.rect());
        break;
    case QEvent::ActivationChange:
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        update();
        break;
    default:
        break;
    }
    return false;
}

QRect WaylandFrame::buttonRect(Button button) const
{
    const int fromRight = buttonsRight + (button == Close ? 0 : buttonSize + buttonSpacing);
    return QRect(width() - fromRight - buttonSize, (margins.top() - buttonSize) / 2, buttonSize, buttonSize);
}

WaylandFrame::Button WaylandFrame::buttonAt(const QPoint &point) const
{
    for (const Button button : {Minimise, Close})
        if (buttonRect(button).contains(point))
            return button;
    return NoButton;
}

void WaylandFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QColor ink = palette().color(m_window.isActiveWindow() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText);
    const QRect icon(margins.left() + buttonSpacing, 4, iconSize, iconSize);
    m_window.windowIcon().paint(&painter, icon);

    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(ink);
    QRect caption(0, 0, width(), margins.top());
    painter.setClipRect(caption.adjusted(icon.right() + buttonSpacing, 0,
                                         buttonRect(Minimise).left() - buttonSpacing - width(), 0));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, m_window.windowTitle());
    painter.setClipping(false);

    QPen pen(ink, 2);
    painter.setPen(pen);
    const QRectF minimise = QRectF(buttonRect(Minimise)).adjusted(5, 5, -5, -5);
    painter.drawLine(minimise.bottomLeft(), minimise.bottomRight());
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF close = buttonRect(Close);
    const qreal cross = close.height() / 2.3;
    const QRectF x(close.center() - QPointF(cross, cross) / 2, QSizeF(cross, cross));
    painter.drawLine(x.topLeft(), x.bottomRight());
    painter.drawLine(x.bottomLeft(), x.topRight());
}

// A press on the caption moves the window; a button acts when released on it.
void WaylandFrame::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = buttonAt(event->position().toPoint());
    if (m_pressed == NoButton && event->position().y() < margins.top() && m_window.windowHandle())
        m_window.windowHandle()->startSystemMove();
}

void WaylandFrame::mouseReleaseEvent(QMouseEvent *event)
{
    const Button pressed = std::exchange(m_pressed, NoButton);
    if (event->button() != Qt::LeftButton || pressed != buttonAt(event->position().toPoint()))
        return;
    if (pressed == Close)
        m_window.close();
    else if (pressed == Minimise)
        m_window.showMinimized();
}
