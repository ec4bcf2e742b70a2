#include "Canvas.h"

#include "platform/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Past this radius (pixels) the rasteriser's fixed-point coordinates would overflow.
constexpr double hugeRadius = 1 << 16;

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? Canvas::Left : 0) | (buttons & Qt::RightButton ? Canvas::Right : 0)
        | (buttons & Qt::MiddleButton ? Canvas::Middle : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? Canvas::ShiftKey : 0)
        | (modifiers & Qt::ControlModifier ? Canvas::CtrlKey : 0)
        | (modifiers & Qt::AltModifier ? Canvas::AltKey : 0);
}

QPointF twips(const QMouseEvent *event)
{
    const QPointF p = event->position();
    return {Twips::fromPixels(p.x()), Twips::fromPixels(p.y())};
}

double distanceToRect(QPointF p, const QRectF &r)
{
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

double farthestCorner(QPointF p, const QRectF &r)
{
    const double dx = std::max(std::abs(p.x() - r.left()), std::abs(p.x() - r.right()));
    const double dy = std::max(std::abs(p.y() - r.top()), std::abs(p.y() - r.bottom()));
    return std::hypot(dx, dy);
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

Canvas::Canvas(QWidget *parent) : QWidget(parent)
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
    QPen pen(m_foreColor, m_drawWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

void Canvas::touched(const QRect &pixels)
{
    update(pixels & rect());
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
    if (!(std::abs(p.x()) < hugeRadius && std::abs(p.y()) < hugeRadius))
        return;
    const QPointF centre(std::floor(p.x()) + shift, std::floor(p.y()) + shift);
    touched(fillDisc(centre, m_drawWidth / 2.0));
}

// Every pixel whose centre lies within the radius: the rasteriser's own round
// points come out square at small widths.
QRect Canvas::fillDisc(QPointF centre, double radius)
{
    const QRgb colour = m_foreColor.rgb();
    const double r2 = radius * radius;
    const int top = std::max(0, int(std::floor(centre.y() - radius)));
    const int bottom = std::min(m_image.height() - 1, int(std::ceil(centre.y() + radius)));
    for (int y = top; y <= bottom; ++y) {
        const double dy = y + 0.5 - centre.y();
        if (dy * dy > r2)
            continue;
        const double half = std::sqrt(r2 - dy * dy);
        const int left = std::max(0, int(std::ceil(centre.x() - half - 0.5)));
        const int right = std::min(m_image.width() - 1, int(std::floor(centre.x() + half - 0.5)));
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        std::fill(line + std::min(left, right + 1), line + right + 1, colour);
    }
    const QPoint topLeft(int(std::ceil(centre.x() - radius - 0.5)), int(std::ceil(centre.y() - radius - 0.5)));
    const QPoint bottomRight(int(std::floor(centre.x() + radius - 0.5)), int(std::floor(centre.y() + radius - 0.5)));
    return QRect(topLeft, bottomRight);
}

void Canvas::circle(float x, float y, float radius)
{
    if (radius == 0) {
        plotPoint(x, y);
        return;
    }
    grow();
    m_current = {x, y};
    const QPointF centre = Twips::toPixels(x, y);
    // A negative radius draws the circle of its size.
    const double r = std::abs(double(radius)) / Twips::perPixel;
    const QRectF area = QRectF(m_image.rect()).adjusted(-m_drawWidth, -m_drawWidth, m_drawWidth, m_drawWidth);
    if (r > farthestCorner(centre, area) || r < distanceToRect(centre, area))
        return;
    QPainter painter(&m_image);
    painter.setPen(pen());
    if (r < hugeRadius) {
        painter.drawEllipse(centre, r, r);
        stroked(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
    } else {
        drawHugeArc(painter, centre, r);
        stroked(area);
    }
}

// Only the part of the arc that crosses the image, as a polyline computed in
// double precision, so a far centre and a vast radius still draw correctly.
void Canvas::drawHugeArc(QPainter &painter, QPointF centre, double radius)
{
    const QRectF area = m_image.rect();
    const QPointF mid = area.center() - centre;
    const double base = std::atan2(mid.y(), mid.x());
    double low = 0, high = 0;
    for (const QPointF corner : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        const QPointF d = corner - centre;
        const double delta = std::remainder(std::atan2(d.y(), d.x()) - base, 2 * M_PI);
        low = std::min(low, delta);
        high = std::max(high, delta);
    }
    const int steps = int(std::clamp((high - low) * radius / 2.0, 2.0, 4096.0));
    QPolygonF arc;
    arc.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        const double a = base + low + (high - low) * i / steps;
        arc << centre + QPointF(radius * std::cos(a), radius * std::sin(a));
    }
    painter.drawPolyline(arc);
}

void Canvas::lineTo(float x, float y)
{
    grow();
    QPointF from = Twips::toPixels(float(m_current.x()), float(m_current.y()));
    QPointF to = Twips::toPixels(x, y);
    m_current = {x, y};
    const QRectF area = QRectF(m_image.rect()).adjusted(-m_drawWidth, -m_drawWidth, m_drawWidth, m_drawWidth);
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
    painter.drawImage(event->rect(), m_image, event->rect());
}

void Canvas::resizeEvent(QResizeEvent *)
{
    grow();
}

// A hidden widget gets its resize event only when shown; drawing may come first.
void Canvas::grow()
{
    if (m_image.width() >= width() && m_image.height() >= height())
        return;
    QImage grown(size().expandedTo(m_image.size()), QImage::Format_RGB32);
    grown.fill(m_backColor);
    QPainter(&grown).drawImage(0, 0, m_image);
    m_image = std::move(grown);
}

void Canvas::mousePressEvent(QMouseEvent *event)
{
    m_held |= buttonCode(event->button());
    const QPointF p = twips(event);
    emit mouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(p.x()), float(p.y()));
}

void Canvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = twips(event);
    const int shift = shiftCode(event->modifiers());
    // A release taken by a modal box would leave the pen down for good.
    const int lost = m_held & ~buttonCode(event->buttons());
    if (lost) {
        m_held &= ~lost;
        emit mouseUp(lost, shift, float(p.x()), float(p.y()));
    }
    emit mouseMove(buttonCode(event->buttons()), shift, float(p.x()), float(p.y()));
}

void Canvas::mouseReleaseEvent(QMouseEvent *event)
{
    m_held &= ~buttonCode(event->button());
    const QPointF p = twips(event);
    emit mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(p.x()), float(p.y()));
}
