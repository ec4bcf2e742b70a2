#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>

// Rings, and dots as rings of no radius, rasterised straight into an image:
// every pixel whose centre lies within half the pen of the circle. Only the
// image's rows are visited and each gives at most two spans, so a vast
// radius costs no more than a small one, and nothing is approximated.
namespace Rings {

// Positions in the image's device pixels. `spans` receives the runs of
// pixels filled, for the repaint; it is kept by the caller to spare an
// allocation per ring.
void fill(QImage &image, QRgb colour, QPointF centre, double radius, double halfPen, QList<QRect> &spans);

} // namespace Rings
