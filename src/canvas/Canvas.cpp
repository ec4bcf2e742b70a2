#include "Canvas.h"

#include "Rings.h"
#include "platform/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? Canvas::Left : 0) | (buttons & Qt::RightButton ? Canvas::Right : 0)
        | (buttons & Qt::MiddleButton ? Canvas::Middle : 0);
}

QPointF twips(const QMouseEvent *event)
{
    const QPointF p = event->position();
    return {Twips::fromPixels(p.x()), Twips::fromPixels(p.y())};
}

// Clips the segment a-b to r (Liang-Barsky); false when nothing of it lies inside.
bool clipSegment(QPointF &a, QPointF &b, const QRectF &r)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const QPointF start = a;
    a = start + QPointF(dx * t0, dy * t0);
    b = start + QPointF(dx * t1, dy * t1);
    return true;
}

} // namespace

Canvas::Canvas(QWidget *parent)
    : QWidget(parent), m_repaint([this](const QRegion &region) { update(region); })
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void Canvas::setDrawWidth(int pixels)
{
    m_drawWidth = std::max(1, pixels);
}

void Canvas::setBackColor(const QColor &color)
{
    grow();
    m_backColor = color;
    m_image.fill(color);
    update();
}

QPen Canvas::pen() const
{
    return QPen(m_foreColor, m_drawWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Device pixels of the image to the widget's logical pixels, rounded outwards.
QRect Canvas::toLogical(const QRect &device) const
{
    const qreal ratio = m_image.devicePixelRatio();
    if (ratio == 1)
        return device;
    return QRectF(device.x() / ratio, device.y() / ratio, device.width() / ratio, device.height() / ratio)
        .toAlignedRect();
}

void Canvas::touched(const QRect &pixels)
{
    m_repaint.touched(QRegion(pixels & rect()));
}

// What the rasteriser strokes reaches half the pen beyond the path, and a pixel more.
void Canvas::stroked(const QRectF &path)
{
    const int margin = m_drawWidth / 2 + 2;
    touched(path.toAlignedRect().adjusted(-margin, -margin, margin, margin));
}

void Canvas::plotPoint(float x, float y)
{
    grow();
    m_current = {x, y};
    const QPointF p = Twips::toPixels(x, y);
    // A dot of odd width is centred on its pixel, one of even width on the pixel's corner.
    const double shift = m_drawWidth % 2 ? 0.5 : 0.0;
    // On a high-density screen the same logical dot, in finer device pixels.
    const qreal ratio = m_image.devicePixelRatio();
    const QPointF centre((std::floor(p.x()) + shift) * ratio, (std::floor(p.y()) + shift) * ratio);
    // A dot is a ring of no radius: the rasteriser's own round points come out
    // square at small widths.
    Rings::fill(m_image, m_foreColor.rgb(), centre, 0, m_drawWidth / 2.0 * ratio, m_spans);
    repaintSpans();
}

void Canvas::circle(float x, float y, float radius)
{
    if (radius == 0) {
        plotPoint(x, y);
        return;
    }
    grow();
    m_current = {x, y};
    const QPointF p = Twips::toPixels(x, y);
    // A negative radius draws the circle of its size.
    const double r = std::abs(double(radius)) / Twips::perPixel;
    const qreal ratio = m_image.devicePixelRatio();
    Rings::fill(m_image, m_foreColor.rgb(), {(std::floor(p.x()) + 0.5) * ratio, (std::floor(p.y()) + 0.5) * ratio},
                r * ratio, m_drawWidth / 2.0 * ratio, m_spans);
    repaintSpans();
}

void Canvas::repaintSpans()
{
    QRect box;
    qint64 inked = 0;
    for (const QRect &span : std::as_const(m_spans)) {
        box |= span;
        inked += span.width();
    }
    // A small or thick ring nearly fills its box, and one rectangle repaints
    // fastest; a large thin ring repaints its spans alone.
    if (qint64(box.width()) * box.height() <= 2 * inked) {
        touched(toLogical(box));
        return;
    }
    QRegion region;
    if (m_image.devicePixelRatio() == 1) {
        region.setRects(m_spans.constData(), int(m_spans.size()));
    } else {
        // Device rows pair up on one logical row, where their spans overlap.
        for (const QRect &span : std::as_const(m_spans))
            region += toLogical(span);
    }
    m_repaint.touched(region);
}

void Canvas::lineTo(float x, float y)
{
    grow();
    QPointF from = Twips::toPixels(float(m_current.x()), float(m_current.y()));
    QPointF to = Twips::toPixels(x, y);
    m_current = {x, y};
    const QRectF area = QRectF(QPointF(), m_image.deviceIndependentSize()).adjusted(-m_drawWidth, -m_drawWidth, m_drawWidth, m_drawWidth);
    if (!clipSegment(from, to, area))
        return;
    QPainter painter(&m_image);
    painter.setPen(pen());
    painter.drawLine(from, to);
    stroked(QRectF(from, to).normalized());
}

void Canvas::clear()
{
    grow();
    m_current = {};
    m_image.fill(m_backColor);
    update();
}

void Canvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRectF r = event->rect();
    const qreal ratio = m_image.devicePixelRatio();
    painter.drawImage(r, m_image, QRectF(r.topLeft() * ratio, r.size() * ratio));
}

void Canvas::resizeEvent(QResizeEvent *)
{
    grow();
}

// A hidden widget gets its resize event only when shown; drawing may come first.
// The image holds device pixels, so drawing stays crisp on a high-density
// screen; moved to a screen of another density, the drawing is rescaled.
void Canvas::grow()
{
    const qreal ratio = devicePixelRatioF();
    const QSizeF held = m_image.deviceIndependentSize();
    if (ratio == m_image.devicePixelRatio() && held.width() >= width() && held.height() >= height())
        return;
    const QSizeF logical = QSizeF(size()).expandedTo(held);
    QImage grown((logical * ratio).toSize(), QImage::Format_RGB32);
    grown.setDevicePixelRatio(ratio);
    grown.fill(m_backColor);
    QPainter(&grown).drawImage(QPointF(), m_image);
    m_image = std::move(grown);
}

void Canvas::mousePressEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    if (!button)
        return;
    m_held |= button;
    const QPointF p = twips(event);
    emit mouseDown(button, float(p.x()), float(p.y()));
}

void Canvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = twips(event);
    // A release taken by a modal box would leave the pen down for good.
    const int lost = m_held & ~buttonCode(event->buttons());
    if (lost) {
        m_held &= ~lost;
        emit mouseUp(lost, float(p.x()), float(p.y()));
    }
    emit mouseMove(buttonCode(event->buttons()), float(p.x()), float(p.y()));
}

void Canvas::mouseReleaseEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    if (!button)
        return;
    m_held &= ~button;
    const QPointF p = twips(event);
    emit mouseUp(button, float(p.x()), float(p.y()));
}
