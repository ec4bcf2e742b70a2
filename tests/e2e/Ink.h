#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

// Reading marks off screenshots: on a white background anything not pure
// white is ink.
namespace Ink {

inline bool isInk(QRgb pixel)
{
    return (pixel & 0xffffff) != 0xffffff;
}

// Ink pixels inside area (clipped to the image).
QList<QPoint> pixels(const QImage &image, const QRect &area);
// Smallest rectangle holding all ink in area; empty when there is none.
QRect bounds(const QImage &image, const QRect &area);
// The ink pixel nearest to centre no farther than radius away.
std::optional<QPoint> near(const QImage &image, QPoint centre, double radius);
// Ink pixels farther than radius from every one of the given points.
QList<QPoint> awayFrom(const QImage &image, const QRect &area, const QList<QPoint> &points,
                       double radius);

} // namespace Ink
