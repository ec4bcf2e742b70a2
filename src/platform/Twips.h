#pragma once

#include <QPointF>

// Positions and sizes are kept in twips; the widgets live in logical pixels.
// Qt's logical pixel is 1/96 inch on every screen, so the ratio is fixed.
namespace Twips {

constexpr float perPixel = 15.0f;

constexpr double toPixels(double twips) { return twips / perPixel; }
constexpr float fromPixels(double pixels) { return float(pixels * perPixel); }

inline QPointF toPixels(float x, float y) { return {toPixels(x), toPixels(y)}; }

} // namespace Twips
