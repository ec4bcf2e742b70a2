#include "Ink.h"

#include <cmath>

namespace Ink {

QList<QPoint> pixels(const QImage &image, const QRect &area)
{
    QList<QPoint> found;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (isInk(image.pixel(x, y)))
                found.append(QPoint(x, y));
    return found;
}

QRect bounds(const QImage &image, const QRect &area)
{
    QRect box;
    for (const QPoint &p : pixels(image, area))
        box |= QRect(p, QSize(1, 1));
    return box;
}

std::optional<QPoint> near(const QImage &image, QPoint centre, double radius)
{
    const int r = int(std::ceil(radius));
    std::optional<QPoint> best;
    double bestDistance = radius;
    for (const QPoint &p : pixels(image, QRect(centre - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1)))) {
        const double d = std::hypot(p.x() - centre.x(), p.y() - centre.y());
        if (d <= bestDistance) {
            bestDistance = d;
            best = p;
        }
    }
    return best;
}

QList<QPoint> awayFrom(const QImage &image, const QRect &area, const QList<QPoint> &points,
                       double radius)
{
    QList<QPoint> stray;
    for (const QPoint &p : pixels(image, area)) {
        bool close = false;
        for (const QPoint &q : points)
            close = close || std::hypot(p.x() - q.x(), p.y() - q.y()) <= radius;
        if (!close)
            stray.append(p);
    }
    return stray;
}

} // namespace Ink
