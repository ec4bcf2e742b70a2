#include "Rings.h"

#include <algorithm>
#include <cmath>

namespace Rings {

namespace {

// Fills the pixels of row y whose centres lie in [from, to], clipped to the
// image, and records the span.
void fillSpan(QImage &image, QRgb colour, int y, double from, double to, QList<QRect> &spans)
{
    const int left = int(std::clamp(std::ceil(from - 0.5), 0.0, double(image.width())));
    const int right = int(std::clamp(std::floor(to - 0.5), -1.0, double(image.width() - 1)));
    if (left > right)
        return;
    auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
    std::fill(line + left, line + right + 1, colour);
    spans.append(QRect(left, y, right - left + 1, 1));
}

} // namespace

void fill(QImage &image, QRgb colour, QPointF centre, double radius, double halfPen, QList<QRect> &spans)
{
    spans.clear();
    const double outer2 = (radius + halfPen) * (radius + halfPen);
    const double inner = std::max(0.0, radius - halfPen);
    const double inner2 = inner * inner;
    const double top = centre.y() - radius - halfPen, bottom = centre.y() + radius + halfPen;
    const int first = int(std::clamp(std::floor(top), 0.0, double(image.height())));
    const int last = int(std::clamp(std::ceil(bottom), -1.0, double(image.height() - 1)));
    for (int y = first; y <= last; ++y) {
        const double dy2 = (y + 0.5 - centre.y()) * (y + 0.5 - centre.y());
        if (dy2 > outer2)
            continue;
        const double out = std::sqrt(outer2 - dy2);
        if (dy2 >= inner2) {
            fillSpan(image, colour, y, centre.x() - out, centre.x() + out, spans);
            continue;
        }
        const double in = std::sqrt(inner2 - dy2);
        fillSpan(image, colour, y, centre.x() - out, std::nextafter(centre.x() - in, -HUGE_VAL), spans);
        fillSpan(image, colour, y, std::nextafter(centre.x() + in, HUGE_VAL), centre.x() + out, spans);
    }
}

} // namespace Rings
